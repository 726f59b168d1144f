#include "exif/exiffields.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{

using namespace ExifFields;

const QString kUndefined = QStringLiteral("未定義");

struct FormatRow {
    double value;
    int decimals;
    const char *text;
};

class FormatFixedTest : public ::testing::TestWithParam<FormatRow>
{
};

TEST_P(FormatFixedTest, RoundsHalfAwayFromZeroOnTheDecimalValue)
{
    EXPECT_EQ(formatFixed(GetParam().value, GetParam().decimals), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Exif, FormatFixedTest,
                         ::testing::Values(FormatRow{1.0, 1, "1.0"}, FormatRow{2.5, 1, "2.5"},
                                           FormatRow{15.0, 1, "15.0"}, FormatRow{2.25, 1, "2.3"},
                                           FormatRow{0.05, 1, "0.1"},
                                           FormatRow{0.15, 1, "0.2"}, // double below 0.15
                                           FormatRow{2.675, 2, "2.68"}, FormatRow{1.005, 2, "1.01"},
                                           FormatRow{0.04, 1, "0.0"}, FormatRow{0.0, 1, "0.0"},
                                           FormatRow{1e-20, 1, "0.0"},
                                           FormatRow{999.95, 1, "1000.0"}, FormatRow{0.5, 0, "1"},
                                           FormatRow{1.5, 0, "2"}, FormatRow{2.5, 0, "3"},
                                           FormatRow{119.99999, 0, "120"}, FormatRow{60.0, 0, "60"},
                                           FormatRow{-2.5, 0, "-3"}, FormatRow{-0.04, 1, "-0.0"},
                                           FormatRow{123456789012.0, 0, "123456789012"},
                                           FormatRow{1.0 / 3.0 * 3.0, 1, "1.0"}));

struct ShutterRow {
    ShutterKind kind;
    qint32 numerator;
    qint32 denominator;
    const char *text;
};

class ShutterSpeedTest : public ::testing::TestWithParam<ShutterRow>
{
};

TEST_P(ShutterSpeedTest, Text)
{
    const ShutterRow &row = GetParam();
    EXPECT_EQ(shutterSpeedText(row.kind, row.numerator, row.denominator),
              QString::fromUtf8(row.text));
}

INSTANTIATE_TEST_SUITE_P(
    Exif, ShutterSpeedTest,
    ::testing::Values(
        ShutterRow{ShutterKind::Apex, 6906891, 1000000, "1/120"},
        ShutterRow{ShutterKind::Apex, 553859, 65536, "1/350"},
        ShutterRow{ShutterKind::Apex, 5, 1, "1/32"}, ShutterRow{ShutterKind::Apex, 0, 1, "1.0"},
        ShutterRow{ShutterKind::Apex, -1, 1, "2.0"},
        ShutterRow{ShutterKind::Seconds, 1, 60, "1/60"},
        ShutterRow{ShutterKind::Seconds, 4, 300, "1/75"},
        ShutterRow{ShutterKind::Seconds, 2, 1, "2.0"},
        ShutterRow{ShutterKind::Seconds, 10, 4, "2.5"},
        ShutterRow{ShutterKind::Seconds, 15, 1, "15.0"},
        ShutterRow{ShutterKind::Seconds, 1, 1, "1.0"},
        ShutterRow{ShutterKind::Seconds, -1, 60, "1/-60"},
        ShutterRow{ShutterKind::Seconds, 1, 0, "未定義"},
        ShutterRow{ShutterKind::None, 0, 0, "未定義"},
        ShutterRow{ShutterKind::Seconds, 0, 10, "未定義"},
        ShutterRow{ShutterKind::Apex, std::numeric_limits<qint32>::min(), 1, "未定義"},
        ShutterRow{ShutterKind::Apex, std::numeric_limits<qint32>::max(), 1, "未定義"}));

struct BiasRow {
    qint32 numerator;
    qint32 denominator;
    const char *text;
};

class ExposureBiasTest : public ::testing::TestWithParam<BiasRow>
{
};

TEST_P(ExposureBiasTest, UsesTheSectionOfTheSign)
{
    const BiasRow &row = GetParam();
    EXPECT_EQ(exposureBiasText(row.numerator, row.denominator), QString::fromUtf8(row.text));
}

INSTANTIATE_TEST_SUITE_P(Exif, ExposureBiasTest,
                         ::testing::Values(BiasRow{2, 3, "+0.7 "}, BiasRow{-1, 3, " -0.3 "},
                                           BiasRow{-2, 3, " -0.7 "}, BiasRow{0, 3, " 0"},
                                           BiasRow{0, 1, " 0"}, BiasRow{1, 2, "+0.5 "},
                                           BiasRow{-3, 2, " -1.5 "}, BiasRow{5, 100, "+0.1 "},
                                           BiasRow{4, 100, "+0.0 "}, BiasRow{-4, 100, " -0.0 "},
                                           BiasRow{1, 0, "未定義"}, BiasRow{0, 0, "未定義"}));

struct TextRow {
    qint32 value;
    const char *text;
};

class MeteringModeTest : public ::testing::TestWithParam<TextRow>
{
};
TEST_P(MeteringModeTest, Text)
{
    EXPECT_EQ(meteringModeText(static_cast<qint16>(GetParam().value)),
              QString::fromUtf8(GetParam().text));
}
INSTANTIATE_TEST_SUITE_P(Exif, MeteringModeTest,
                         ::testing::Values(TextRow{0, "不明"}, TextRow{1, "平均"},
                                           TextRow{2, "中央重点"}, TextRow{3, "ｽﾎﾟｯﾄ"},
                                           TextRow{4, "ﾏﾙﾁｽﾎﾟｯﾄ"}, TextRow{5, "分割測光"},
                                           TextRow{6, "部分測光"}, TextRow{7, ""}, TextRow{255, ""},
                                           TextRow{-1, ""}));

class ExposureProgramTest : public ::testing::TestWithParam<TextRow>
{
};
TEST_P(ExposureProgramTest, Text)
{
    EXPECT_EQ(exposureProgramText(static_cast<qint16>(GetParam().value)),
              QString::fromUtf8(GetParam().text));
}
INSTANTIATE_TEST_SUITE_P(Exif, ExposureProgramTest,
                         ::testing::Values(TextRow{0, "未定義"}, TextRow{1, "ﾏﾆｭｱﾙ"},
                                           TextRow{2, "ﾉｰﾏﾙﾌﾟﾛｸﾞﾗﾑ"}, TextRow{3, "露出優先"},
                                           TextRow{4, "ｼｬｯﾀｰ優先"}, TextRow{5, "CREATIVEﾌﾟﾛｸﾞﾗﾑ"},
                                           TextRow{6, "ACTIONﾌﾟﾛｸﾞﾗﾑ"}, TextRow{7, "ﾎﾟｰﾄﾚｲﾄﾓｰﾄﾞ"},
                                           TextRow{8, "ﾗﾝﾄﾞｽｹｰﾌﾟﾓｰﾄﾞ"}, TextRow{9, ""}));

class PictureModeTest : public ::testing::TestWithParam<TextRow>
{
};
TEST_P(PictureModeTest, Text)
{
    EXPECT_EQ(pictureModeText(GetParam().value), QString::fromUtf8(GetParam().text));
}
INSTANTIATE_TEST_SUITE_P(Exif, PictureModeTest,
                         ::testing::Values(TextRow{1, "BASIC"}, TextRow{2, "NORMAL"},
                                           TextRow{4, "FINE"}, TextRow{3, "未定義"},
                                           TextRow{0, "未定義"}, TextRow{15, "未定義"}));

TEST(ExifFieldsTest, FlashText)
{
    EXPECT_EQ(flashText(std::nullopt), kUndefined);
    EXPECT_EQ(flashText(0u), "OFF");
    EXPECT_EQ(flashText(1u), "ON ");
    for (quint32 cameraMode : {16u, 24u, 25u, 0x10001u})
        EXPECT_EQ(flashText(cameraMode), kUndefined) << cameraMode;
}

struct DateRow {
    QByteArray raw;
    const char *text;
};

class DateTextTest : public ::testing::TestWithParam<DateRow>
{
};
TEST_P(DateTextTest, CutsFixedPositions)
{
    const QString text = dateText(GetParam().raw);
    EXPECT_EQ(text, QString::fromLatin1(GetParam().text));
    EXPECT_EQ(text.size(), 19);
}
INSTANTIATE_TEST_SUITE_P(
    Exif, DateTextTest,
    ::testing::Values(DateRow{QByteArray("2003:07:15 18:42:05\0", 20), "2003/07/15 18:42:05"},
                      DateRow{QByteArray("2003-07-15T18.42.05"), "2003/07/15 18:42:05"},
                      DateRow{QByteArray(), "    /  /     :  :  "},
                      DateRow{QByteArray("2003:07:15"), "2003/07/15   :  :  "},
                      DateRow{QByteArray("2003:7"), "2003/7 /     :  :  "},
                      DateRow{QByteArray("2003:07:15 18:42:05 extra"), "2003/07/15 18:42:05"}));

TEST(ExifFieldsTest, VersionText)
{
    using Version = std::array<char, 4>;
    EXPECT_EQ(versionText(Version{'0', '2', '2', '0'}), "2.2");
    EXPECT_EQ(versionText(Version{'0', '2', '1', '0'}), "2.1");
    EXPECT_EQ(versionText(Version{'0', '1', '0', '0'}), "1.0");
    EXPECT_EQ(versionText(Version{'x', '\xE9', '\0', 'y'}), QString(QChar(0xE9)) + u'.' + QChar(0));
    EXPECT_EQ(versionText(std::nullopt), QString(QChar(0)));
}

TEST(ExifFieldsTest, Ratio)
{
    EXPECT_DOUBLE_EQ(ratio(59, 10), 5.9);
    EXPECT_DOUBLE_EQ(ratio(-7, 2), -3.5);
    EXPECT_EQ(ratio(1, 0), 0.0);
}

} // namespace
