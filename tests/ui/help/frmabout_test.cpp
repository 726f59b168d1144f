#include "ui/help/frmabout.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "tests/support/qtprinters.h"
#include "tests/support/recordingprompter.h"
#include "ui/help/sysinfo.h"

namespace
{
QString labelText(const frmAbout &box, const char *name)
{
    const auto *label = box.findChild<QLabel *>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing %1>").arg(QLatin1String(name));
}

// Runs the test with PATH set to one folder only, and puts it back afterwards.
class PathOverride
{
  public:
    explicit PathOverride(const QString &folder) : m_saved(qgetenv("PATH"))
    {
        qputenv("PATH", QFile::encodeName(folder));
    }
    ~PathOverride() { qputenv("PATH", m_saved); }
    PathOverride(const PathOverride &) = delete;
    PathOverride &operator=(const PathOverride &) = delete;

  private:
    QByteArray m_saved;
};

void writeTool(const QString &path, const QString &marker)
{
    QFile script(path);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\n: > '" + marker.toUtf8() + "'\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
} // namespace

TEST(FrmAbout, ShowsTitleVersionAndFixedTexts)
{
    frmAbout box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Tabiloのﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(labelText(box, "lblTitle"), QStringLiteral("Tabilo"));
    EXPECT_EQ(labelText(box, "lblVersion"), QStringLiteral("Version 5.7.20"));
    EXPECT_EQ(labelText(box, "lblDescription"),
              QStringLiteral("Exifﾌｫｰﾏｯﾄ ﾃﾞｼﾞﾀﾙｶﾒﾗ画像 一覧表示ﾌﾟﾛｸﾞﾗﾑ"));
    EXPECT_EQ(labelText(box, "lblDisclaimer"), QStringLiteral("本ﾌﾟﾛｸﾞﾗﾑはﾌﾘｰｿﾌﾄです。"));
    EXPECT_FALSE(labelText(box, "Label1").isEmpty());
    const auto *icon = box.findChild<QLabel *>(QStringLiteral("picIcon"));
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());
    EXPECT_EQ(box.findChild<QPushButton *>(QStringLiteral("cmdOK"))->text(), QStringLiteral("OK"));
    EXPECT_EQ(box.findChild<QPushButton *>(QStringLiteral("cmdSysInfo"))->text(),
              QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
}

TEST(FrmAbout, OkClosesTheBox)
{
    frmAbout box;
    box.show();
    QTest::mouseClick(box.findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST(StartSysInfo, WithoutAToolTheUserIsToldOnceAndTheBoxStaysOpen)
{
    QTemporaryDir empty;
    PathOverride path(empty.path());
    RecordingPrompter prompts;
    prompts.queueAnswer(PromptAnswer::Ok);
    frmAbout box;
    box.show();
    QTest::mouseClick(box.findChild<QPushButton *>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
    ASSERT_EQ(prompts.requests().size(), 1);
    EXPECT_EQ(prompts.requests()[0].text, QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"));
    EXPECT_EQ(prompts.requests()[0].buttons, PromptButtons::Ok);
    EXPECT_TRUE(box.isVisible());
}

TEST(StartSysInfo, StartsTheFirstInstalledToolInOrder)
{
    QTemporaryDir tools;
    PathOverride path(tools.path());
    const QString marker = tools.filePath(QStringLiteral("started"));
    // Both installed: the earlier one in the list wins.
    writeTool(tools.filePath(QStringLiteral("plasma-systemmonitor")),
              marker + QStringLiteral("-plasma"));
    writeTool(tools.filePath(QStringLiteral("gnome-system-monitor")), marker);
    EXPECT_EQ(findSystemInformationTool(), tools.filePath(QStringLiteral("gnome-system-monitor")));

    RecordingPrompter prompts;
    EXPECT_TRUE(StartSysInfo());
    EXPECT_TRUE(prompts.requests().isEmpty());
    QDeadlineTimer deadline(10000);
    while (!QFile::exists(marker) && !deadline.hasExpired())
        QTest::qWait(20);
    EXPECT_TRUE(QFile::exists(marker));
    EXPECT_FALSE(QFile::exists(marker + QStringLiteral("-plasma")));
}
