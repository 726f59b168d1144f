#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "core/cameratable.h"
#include "tests/support/qtprinters.h"

namespace
{

CameraTable tableOf(const QString &text)
{
    CameraTable table;
    table.parse(text);
    return table;
}

// The worked example: a 3x zoom, wide end 5.4 mm = 35 mm, picture taken at 10.8 mm.
TEST(CameraTableLookup, ZoomRecord)
{
    const CameraTable table = tableOf(QStringLiteral("\"Cam\",3,5.4,35\n"));
    const FocalLengthDisplay display = table.lookup(QStringLiteral("Cam"), 10.8);
    EXPECT_EQ(display.focalLengthLine, QStringLiteral("f  = 70mm (35mm換算)"));
    EXPECT_EQ(display.zoomLine, QStringLiteral("×2.0"));
    EXPECT_TRUE(display.sliderVisible);
    EXPECT_EQ(display.sliderMinimum, 5);
    EXPECT_EQ(display.sliderMaximum, 15);
    EXPECT_EQ(display.sliderValue, 10);
}

TEST(CameraTableLookup, SliderRoundsHalvesToEven)
{
    // Zoom 2.5 gives a maximum of 12.5, and 10 mm on a 4 mm wide end a value of 12.5.
    const CameraTable table = tableOf(QStringLiteral("Cam,2.5,4,28"));
    const FocalLengthDisplay display = table.lookup(QStringLiteral("Cam"), 10);
    EXPECT_EQ(display.sliderMaximum, 12);
    EXPECT_EQ(display.sliderValue, 12);
    EXPECT_EQ(display.zoomLine, QStringLiteral("×2.5"));
    EXPECT_EQ(display.focalLengthLine, QStringLiteral("f  = 70mm (35mm換算)"));
}

TEST(CameraTableLookup, UnknownModelShowsTheExifFocalLength)
{
    const CameraTable table = tableOf(QStringLiteral("Cam,3,5.4,35"));
    for (const QString &model : {QStringLiteral("Other"), QStringLiteral("cam")}) {
        const FocalLengthDisplay display = table.lookup(model, 10.8);
        EXPECT_EQ(display.focalLengthLine, QStringLiteral("f  = 10.8 mm"));
        EXPECT_TRUE(display.zoomLine.isEmpty());
        EXPECT_FALSE(display.sliderVisible);
    }
    EXPECT_EQ(CameraTable().lookup(QStringLiteral("Cam"), 10.8125).focalLengthLine,
              QStringLiteral("f  = 10.8125 mm"));
}

TEST(CameraTableLookup, FixedLensShowsTheTableEquivalent)
{
    const CameraTable table = tableOf(QStringLiteral("GR,1,5.9,28\nX,0.5,23,35.5\n"));
    const FocalLengthDisplay display = table.lookup(QStringLiteral("GR"), 6.2);
    EXPECT_EQ(display.focalLengthLine, QStringLiteral("f  = 28mm (35mm換算)"));
    EXPECT_TRUE(display.zoomLine.isEmpty());
    EXPECT_FALSE(display.sliderVisible);
    EXPECT_EQ(table.lookup(QStringLiteral("X"), 23).focalLengthLine,
              QStringLiteral("f  = 35.5mm (35mm換算)"));
}

TEST(CameraTableLookup, DuplicateNames)
{
    // A later zoom record replaces a fixed-lens one; the first zoom record wins over later ones.
    const CameraTable table =
        tableOf(QStringLiteral("Cam,1,5,30\nCam,2,5,30\nCam,4,5,60\nCam,1,5,99\n"));
    const FocalLengthDisplay display = table.lookup(QStringLiteral("Cam"), 10);
    EXPECT_EQ(display.focalLengthLine, QStringLiteral("f  = 60mm (35mm換算)"));
    EXPECT_EQ(display.sliderMaximum, 10);

    const CameraTable fixedTwice = tableOf(QStringLiteral("F,1,5,30\nF,1,5,31\n"));
    EXPECT_EQ(fixedTwice.lookup(QStringLiteral("F"), 5).focalLengthLine,
              QStringLiteral("f  = 31mm (35mm換算)"));
}

TEST(CameraTableLookup, ExifSideIsTrimmedOfBlanksAndPaddingZeros)
{
    const CameraTable table = tableOf(QStringLiteral("\"Canon DIGITAL IXUS\",2,5.4,35"));
    const QString padded = QStringLiteral(" Canon DIGITAL IXUS ") + QChar(0) + QChar(0);
    EXPECT_TRUE(table.lookup(padded, 10.8).sliderVisible);
}

TEST(CameraTableLookup, QuotedTrailingBlankNeverMatches)
{
    const CameraTable table = tableOf(QStringLiteral("\"Cam \",3,5.4,35"));
    EXPECT_EQ(table.models().first().name, QStringLiteral("Cam "));
    EXPECT_FALSE(table.lookup(QStringLiteral("Cam "), 10.8).sliderVisible);
    EXPECT_FALSE(table.lookup(QStringLiteral("Cam"), 10.8).sliderVisible);
}

TEST(CameraTableLookup, PicturesOutsideTheZoomRangeDoNotFail)
{
    const CameraTable table =
        tableOf(QStringLiteral("Cam,3,5.4,35\nZero,3,0,35\nHuge,1e30,5,35\n"));
    const FocalLengthDisplay wide = table.lookup(QStringLiteral("Cam"), 2.7);
    EXPECT_EQ(wide.zoomLine, QStringLiteral("×0.5"));
    EXPECT_EQ(wide.sliderValue, 5);
    const FocalLengthDisplay tele = table.lookup(QStringLiteral("Cam"), 54);
    EXPECT_EQ(tele.sliderValue, 15);
    EXPECT_EQ(tele.zoomLine, QStringLiteral("×10.0"));

    // No focal length in the picture, or no wide end in the table: the plain line.
    EXPECT_EQ(table.lookup(QStringLiteral("Cam"), 0).focalLengthLine, QStringLiteral("f  = 0 mm"));
    EXPECT_FALSE(table.lookup(QStringLiteral("Cam"), 0).sliderVisible);
    EXPECT_EQ(table.lookup(QStringLiteral("Zero"), 7).focalLengthLine, QStringLiteral("f  = 7 mm"));

    // A zoom ratio beyond any lens's still gives a slider that holds the picture's position.
    const FocalLengthDisplay huge = table.lookup(QStringLiteral("Huge"), 10);
    EXPECT_EQ(huge.sliderMaximum, 1000000);
    EXPECT_EQ(huge.sliderValue, 10);
}

TEST(CameraTableParse, FieldRules)
{
    EXPECT_EQ(tableOf(QString()).count(), 0);
    EXPECT_EQ(tableOf(QStringLiteral("\n\n  \n")).count(), 0);

    const CameraTable commented = tableOf(QStringLiteral("'models of 2003\nCam,3,5.4,35\n"));
    ASSERT_EQ(commented.count(), 1);
    EXPECT_EQ(commented.models().first().name, QStringLiteral("Cam"));

    // Quotes keep commas; blanks before a field are skipped; CRLF line ends.
    const CameraTable quoted =
        tableOf(QStringLiteral("\"C960Z,D460Z\",  3, 5.5 ,36\r\n  Next , 2,4,30\r\n"));
    ASSERT_EQ(quoted.count(), 2);
    EXPECT_EQ(quoted.models()[0].name, QStringLiteral("C960Z,D460Z"));
    EXPECT_FLOAT_EQ(quoted.models()[0].zoomRatio, 3.0f);
    EXPECT_FLOAT_EQ(quoted.models()[0].wideFocalLength, 5.5f);
    EXPECT_FLOAT_EQ(quoted.models()[0].wideEquivalent, 36.0f);
    EXPECT_EQ(quoted.models()[1].name, QStringLiteral("Next"));

    // Line ends and commas are interchangeable.
    const CameraTable spread = tableOf(QStringLiteral("Cam\n3\n5.4,35\nB,2,3,4"));
    ASSERT_EQ(spread.count(), 2);
    EXPECT_FLOAT_EQ(spread.models()[0].wideEquivalent, 35.0f);
}

// Each record as "name|zoom|wide|equivalent", to compare whole tables at once.
QStringList recordsOf(const QString &text)
{
    const CameraTable table = tableOf(text);
    QStringList records;
    for (const CameraModel &m : table.models())
        records << QStringLiteral("%1|%2|%3|%4")
                       .arg(m.name)
                       .arg(m.zoomRatio)
                       .arg(m.wideFocalLength)
                       .arg(m.wideEquivalent);
    return records;
}

TEST(CameraTableParse, EmptyFieldsKeepTheLaterRecordsInPlace)
{
    const QString next = QStringLiteral("Next|2|4|30");
    const struct {
        const char *text;
        QStringList records;
    } cases[] = {
        {"Cam,3,5.4,\nNext,2,4,30\n", {QStringLiteral("Cam|3|5.4|0"), next}},
        {"Cam,3,5.4,\r\nNext,2,4,30\r\n", {QStringLiteral("Cam|3|5.4|0"), next}},
        {"Cam,3,5.4,  \nNext,2,4,30", {QStringLiteral("Cam|3|5.4|0"), next}},
        {"Cam,3,5.4,\"\"\nNext,2,4,30", {QStringLiteral("Cam|3|5.4|0"), next}},
        {"Cam,,,\nNext,2,4,30", {QStringLiteral("Cam|0|0|0"), next}},
        {",3,5.4,35\nNext,2,4,30", {QStringLiteral("|3|5.4|35"), next}},
        {"Cam,3,5.4,35\n\n  \r\nNext,2,4,30", {QStringLiteral("Cam|3|5.4|35"), next}},
        {"Next,2,4,30\nCam,3,5.4,", {next, QStringLiteral("Cam|3|5.4|0")}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(recordsOf(QString::fromUtf8(c.text)), c.records) << c.text;
}

TEST(CameraTableParse, MalformedContentNeverStopsLoading)
{
    const CameraTable table = tableOf(QStringLiteral("A,x3,5.4,35\nB,2,1,5,6\nC,4"));
    ASSERT_EQ(table.count(), 3);
    EXPECT_FLOAT_EQ(table.models()[0].zoomRatio, 0.0f); // not a number
    EXPECT_FLOAT_EQ(table.models()[0].wideFocalLength, 5.4f);
    // The fifth field of B starts the next record: "6" named C,4 with no numbers after it.
    EXPECT_EQ(table.models()[1].name, QStringLiteral("B"));
    EXPECT_EQ(table.models()[2].name, QStringLiteral("6"));
    EXPECT_FLOAT_EQ(table.models()[2].zoomRatio, 0.0f); // "C" does not convert
    EXPECT_FLOAT_EQ(table.models()[2].wideFocalLength, 4.0f);
    EXPECT_FLOAT_EQ(table.models()[2].wideEquivalent, 0.0f); // short last record
}

TEST(CameraTableLoad, MissingAndUnopenableFilesAreToldApart)
{
    QTemporaryDir folder;
    CameraTable table;
    table.parse(QStringLiteral("Old,3,5,35"));
    EXPECT_EQ(table.load(folder.filePath(QStringLiteral("Tabilo.dat"))),
              CameraTable::LoadResult::FileMissing);
    EXPECT_EQ(table.errorNumber(), 53);
    EXPECT_EQ(table.count(), 0);

    EXPECT_EQ(table.load(folder.path()), CameraTable::LoadResult::OpenFailed);
    EXPECT_EQ(table.errorNumber(), 75);
    EXPECT_FALSE(table.errorString().isEmpty());

    QFile file(folder.filePath(QStringLiteral("Tabilo.dat")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("'表の見出し\n\"Cam\",3,5.4,35\n");
    file.close();
    EXPECT_EQ(table.load(file.fileName()), CameraTable::LoadResult::Loaded);
    EXPECT_EQ(table.errorNumber(), 0);
    EXPECT_EQ(table.count(), 1);
}

// The table shipped beside the program covers the sample cameras and holds sane numbers.
TEST(ShippedCameraTable, CoversTheSampleCameras)
{
    CameraTable table;
    ASSERT_EQ(table.load(QStringLiteral(TABILO_CAMERA_TABLE)), CameraTable::LoadResult::Loaded);
    EXPECT_GE(table.count(), 40);
    for (const CameraModel &model : table.models()) {
        EXPECT_GT(model.wideEquivalent, 0.0f) << model.name.toStdString();
        EXPECT_GT(model.wideFocalLength, 0.0f) << model.name.toStdString();
        EXPECT_GE(model.zoomRatio, 1.0f) << model.name.toStdString();
    }
    // Model texts and focal lengths as exiftool reads them from the sample files.
    const struct {
        QString model;
        double focalLength;
        const char *line;
    } samples[] = {
        {QStringLiteral("Canon DIGITAL IXUS") + QChar(0), 10.8125, "f  = 70mm (35mm換算)"},
        {QStringLiteral("COOLPIX P6000"), 24, "f  = 112mm (35mm換算)"},
        {QStringLiteral("FinePix40i"), 8.7, "f  = 36mm (35mm換算)"},
        {QStringLiteral("E950"), 7, "f  = 38mm (35mm換算)"},
        {QStringLiteral("C960Z,D460Z"), 5.5, "f  = 36mm (35mm換算)"},
        {QStringLiteral("KODAK DC240 ZOOM DIGITAL CAMERA"), 6, "f  = 39mm (35mm換算)"},
    };
    for (const auto &sample : samples) {
        EXPECT_EQ(table.lookup(sample.model, sample.focalLength).focalLengthLine,
                  QString::fromUtf8(sample.line))
            << sample.model.toStdString();
    }
}

} // namespace
