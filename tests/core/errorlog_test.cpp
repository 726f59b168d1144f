#include <gtest/gtest.h>

#include <QStringList>

#include "core/errorlog.h"
#include "tests/support/qtprinters.h"

TEST(ErrorLog, LineHasBlankBeforeNonNegativeNumbers)
{
    EXPECT_EQ(
        errorLogLine(QStringLiteral("read datafile"),
                     {53, QStringLiteral("Tabilo"), QStringLiteral("ファイルが見つかりません。")}),
        QStringLiteral(" 53 : read datafile : Tabilo でｴﾗｰ発生。ファイルが見つかりません。"));
    EXPECT_EQ(
        errorLogLine(QStringLiteral("display_th"), {0, QStringLiteral("x"), QStringLiteral("y")}),
        QStringLiteral(" 0 : display_th : x でｴﾗｰ発生。y"));
    EXPECT_EQ(
        errorLogLine(QStringLiteral("BAD PIC "), {-1, QStringLiteral("Exif"), QStringLiteral("z")}),
        QStringLiteral("-1 : BAD PIC  : Exif でｴﾗｰ発生。z"));
    EXPECT_EQ(errorLogLine(QStringLiteral("p"), {-2147483647 - 1, QString(), QString()}),
              QStringLiteral("-2147483648 : p :  でｴﾗｰ発生。"));
}

TEST(ErrorLog, EmptyDescriptionEndsAtTheFixedText)
{
    const QString line =
        errorLogLine(QStringLiteral("UNLOAD"), {75, QStringLiteral("slide"), QString()});
    EXPECT_EQ(line, QStringLiteral(" 75 : UNLOAD : slide でｴﾗｰ発生。"));
}

TEST(ErrorLog, LogErrorHandsLinesToTheInstalledSinkInOrder)
{
    QStringList lines;
    setErrorLogSink([&](const QString &line) { lines << line; });
    LogError(QStringLiteral("a"), {1, QStringLiteral("s"), QStringLiteral("first")});
    LogError(QStringLiteral("b"), {2, QStringLiteral("s"), QStringLiteral("second")});
    setErrorLogSink(nullptr);
    LogError(QStringLiteral("c"), {3, QStringLiteral("s"), QStringLiteral("to stderr")});

    EXPECT_EQ(lines, QStringList({QStringLiteral(" 1 : a : s でｴﾗｰ発生。first"),
                                  QStringLiteral(" 2 : b : s でｴﾗｰ発生。second")}));
}
