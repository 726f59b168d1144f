#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include "core/settings/settings.h"
#include "exif/exifdata.h"
#include "exif/exifthumb.h"
#include "platform/fileattributes.h"
#include "tests/support/camerajpeg.h"
#include "tests/support/recordingprompter.h"
#include "ui/convert/frmjpg2exif.h"

namespace
{

QByteArray plainJpeg()
{
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(QColor(30, 120, 200));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return data;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool isExif(const QString &path)
{
    ExifData exif;
    exif.SetExif(path);
    return exif.IsExif();
}

class ConversionDialog : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        writeSettingInt16(settingsStore(), QStringLiteral("J2Eback"), 0);
        writeSettingInt16(settingsStore(), QStringLiteral("J2Evalue"), 0);
        ASSERT_TRUE(m_dir.isValid());
        m_folder = m_dir.path() + QLatin1Char('/');
    }

    QString picture(const QString &name, const QByteArray &data)
    {
        QFile file(m_folder + name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
        return file.fileName();
    }

    template <typename T> static T *control(frmJpg2Exif &dialog, const char *name)
    {
        T *widget = dialog.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // Opens the dialog as the main window would, then clicks OK.
    std::optional<int> runDialog(frmJpg2Exif &dialog, const QStringList &names)
    {
        dialog.setPictures(m_folder, names);
        dialog.show();
        control<QPushButton>(dialog, "comOKbutton")->click();
        return dialog.converted();
    }

    QStringList folderFiles() const
    {
        return QDir(m_dir.path()).entryList(QDir::Files, QDir::Name);
    }

    QTemporaryDir m_dir;
    QString m_folder;
    RecordingPrompter m_prompts;
};

} // namespace

TEST_F(ConversionDialog, ShowsItsTextsAndStoredChoices)
{
    writeSettingInt16(settingsStore(), QStringLiteral("J2Eback"), 1);
    writeSettingInt16(settingsStore(), QStringLiteral("J2Evalue"), 2);
    frmJpg2Exif dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Exif変換"));
    EXPECT_EQ(control<QLabel>(dialog, "Label1_0")->text(),
              QStringLiteral("ﾌｫﾙﾀﾞ内の非ExifﾌｧｲﾙをExifﾌｧｲﾙに変換します｡"));
    EXPECT_EQ(control<QLabel>(dialog, "Label1_3")->text(),
              QStringLiteral("ﾌｧｲﾙｻｲｽﾞが数Kﾊﾞｲﾄ大きくなります｡"));
    EXPECT_EQ(control<QRadioButton>(dialog, "OptVal_2")->text(), QStringLiteral("低画質(&L)"));
    EXPECT_TRUE(control<QRadioButton>(dialog, "OptVal_2")->isChecked());
    EXPECT_TRUE(control<QCheckBox>(dialog, "Check1")->isChecked());
    EXPECT_TRUE(control<QProgressBar>(dialog, "ProgressBar1")->isHidden());
    EXPECT_EQ(frmJpg2Exif::statusText(3), QStringLiteral("3 ﾌｧｲﾙを変換しました。"));
}

TEST_F(ConversionDialog, AFolderOfExifFilesStaysAsItIs)
{
    const QByteArray camera = cameraJpeg();
    picture(QStringLiteral("a.jpg"), camera);
    picture(QStringLiteral("b.JPG"), camera);
    frmJpg2Exif dialog;
    QList<int> finished;
    QObject::connect(&dialog, &frmJpg2Exif::conversionFinished,
                     [&](int converted) { finished.append(converted); });
    EXPECT_EQ(runDialog(dialog, {QStringLiteral("a.jpg"), QStringLiteral("b.JPG")}), 0);
    EXPECT_EQ(finished, QList<int>{0});
    EXPECT_EQ(frmJpg2Exif::statusText(0), QStringLiteral("0 ﾌｧｲﾙを変換しました。"));
    EXPECT_EQ(readFile(m_folder + QStringLiteral("a.jpg")), camera);
    EXPECT_EQ(readFile(m_folder + QStringLiteral("b.JPG")), camera);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(control<QLabel>(dialog, "Label2")->text(), QStringLiteral("2 / 2"));
    EXPECT_FALSE(control<QProgressBar>(dialog, "ProgressBar1")->isHidden());
    EXPECT_EQ(control<QProgressBar>(dialog, "ProgressBar1")->value(), 2);
}

TEST_F(ConversionDialog, OneFileShowsNoProgressBar)
{
    const QString a = picture(QStringLiteral("a.jpg"), plainJpeg());
    frmJpg2Exif dialog;
    EXPECT_EQ(runDialog(dialog, {QStringLiteral("a.jpg")}), 1);
    EXPECT_TRUE(isExif(a));
    EXPECT_EQ(control<QLabel>(dialog, "Label2")->text(), QStringLiteral("1 / 1"));
    EXPECT_TRUE(control<QProgressBar>(dialog, "ProgressBar1")->isHidden());
    EXPECT_EQ(folderFiles(), QStringList{QStringLiteral("a.jpg")});
}

TEST_F(ConversionDialog, AReadOnlyHiddenFileKeepsItsAttributes)
{
    const QString a = picture(QStringLiteral("a.jpg"), plainJpeg());
    ASSERT_TRUE(setAttributes(a, FileAttribute::ReadOnly | FileAttribute::Hidden).ok());
    frmJpg2Exif dialog;
    EXPECT_EQ(runDialog(dialog, {QStringLiteral("a.jpg")}), 1);
    EXPECT_TRUE(isExif(a));
    int attributes = 0;
    ASSERT_TRUE(getAttributes(a, attributes).ok());
    EXPECT_EQ(attributes & (FileAttribute::ReadOnly | FileAttribute::Hidden),
              FileAttribute::ReadOnly | FileAttribute::Hidden);
}

TEST_F(ConversionDialog, ATakenBackupNameStopsTheRunWithAMessage)
{
    const QByteArray plain = plainJpeg();
    const QString a = picture(QStringLiteral("IMG_0001.jpg"), plain);
    picture(QStringLiteral("IMG_0001.bak"), "earlier");
    ASSERT_TRUE(setAttributes(a, FileAttribute::ReadOnly).ok());
    writeSettingInt16(settingsStore(), QStringLiteral("J2Eback"), 1);
    m_prompts.queueAnswer(PromptAnswer::Ok);
    frmJpg2Exif dialog;
    EXPECT_EQ(runDialog(dialog, {QStringLiteral("IMG_0001.jpg")}), 0);

    ASSERT_EQ(m_prompts.requests().size(), 1);
    const RecordingPrompter::Request &box = m_prompts.requests()[0];
    EXPECT_EQ(box.icon, PromptIcon::Critical);
    EXPECT_EQ(box.title, QStringLiteral("書き込みｴﾗｰ"));
    EXPECT_EQ(box.text, QStringLiteral("同名のﾌｧｲﾙが存在します。変換を中断します。"));
    EXPECT_EQ(box.buttons, PromptButtons::Ok);
    EXPECT_EQ(readFile(a), plain);
    int attributes = 0;
    ASSERT_TRUE(getAttributes(a, attributes).ok());
    EXPECT_EQ(attributes & FileAttribute::ReadOnly, FileAttribute::ReadOnly);
    EXPECT_EQ(folderFiles(),
              (QStringList{QStringLiteral("IMG_0001.bak"), QStringLiteral("IMG_0001.jpg")}));
}

TEST_F(ConversionDialog, WithoutBackupOnlyTheConvertedFilesRemain)
{
    picture(QStringLiteral("a.jpg"), plainJpeg());
    picture(QStringLiteral("b.jpg"), plainJpeg());
    frmJpg2Exif dialog;
    control<QCheckBox>(dialog, "Check1")->setChecked(false);
    EXPECT_EQ(runDialog(dialog, {QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}), 2);
    EXPECT_EQ(folderFiles(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}));
    EXPECT_TRUE(isExif(m_folder + QStringLiteral("a.jpg")));
    EXPECT_TRUE(isExif(m_folder + QStringLiteral("b.jpg")));
}

TEST_F(ConversionDialog, LowQualityAndBackupAreUsedAndRemembered)
{
    const QString a = picture(QStringLiteral("a.jpg"), plainJpeg());
    {
        frmJpg2Exif dialog;
        control<QRadioButton>(dialog, "OptVal_2")->setChecked(true);
        control<QCheckBox>(dialog, "Check1")->setChecked(true);
        EXPECT_EQ(runDialog(dialog, {QStringLiteral("a.jpg")}), 1);
    }
    EXPECT_EQ(folderFiles(), (QStringList{QStringLiteral("a.bak"), QStringLiteral("a.jpg")}));
    // libjpeg's luminance table at quality 70 starts with 16 * 60 / 100 = 10 (3 at 90).
    ExifThumb thumb;
    QByteArray bytes;
    ASSERT_NE(thumb.GetThumb(a, bytes), 0);
    const qsizetype dqt = bytes.indexOf("\xFF\xDB");
    ASSERT_GT(dqt, 0);
    EXPECT_EQ(int(uchar(bytes[dqt + 5])), 10);

    frmJpg2Exif again;
    EXPECT_TRUE(control<QRadioButton>(again, "OptVal_2")->isChecked());
    EXPECT_TRUE(control<QCheckBox>(again, "Check1")->isChecked());
}

TEST_F(ConversionDialog, CancelConvertsAndStoresNothing)
{
    const QByteArray plain = plainJpeg();
    const QString a = picture(QStringLiteral("a.jpg"), plain);
    frmJpg2Exif dialog;
    dialog.setPictures(m_folder, {QStringLiteral("a.jpg")});
    dialog.show();
    control<QRadioButton>(dialog, "OptVal_1")->setChecked(true);
    control<QPushButton>(dialog, "comCancelButton")->click();
    EXPECT_FALSE(dialog.converted().has_value());
    EXPECT_EQ(readFile(a), plain);
    EXPECT_EQ(readSettingInt16(settingsStore(), QStringLiteral("J2Evalue"), -1), 0);
}

// "中断" clicked twice (or Enter pressed twice) while a file converts: the second click finds
// the run still finishing that file and neither restarts it nor changes its count.
TEST_F(ConversionDialog, ASecondStopClickDoesNotRestartTheRun)
{
    const QByteArray plain = plainJpeg();
    const QStringList names{QStringLiteral("a.jpg"), QStringLiteral("b.jpg"),
                            QStringLiteral("c.jpg")};
    for (const QString &name : names)
        picture(name, plain);
    frmJpg2Exif dialog;
    QList<int> finished;
    QObject::connect(&dialog, &frmJpg2Exif::conversionFinished,
                     [&](int converted) { finished.append(converted); });
    auto *ok = control<QPushButton>(dialog, "comOKbutton");
    // Both clicks wait in the event queue until the first file is done.
    QTimer::singleShot(0, &dialog, [ok] {
        ok->click();
        ok->click();
    });
    EXPECT_EQ(runDialog(dialog, names), 1);

    EXPECT_EQ(finished, QList<int>{1});
    EXPECT_TRUE(isExif(m_folder + QStringLiteral("a.jpg")));
    EXPECT_EQ(readFile(m_folder + QStringLiteral("b.jpg")), plain);
    EXPECT_EQ(readFile(m_folder + QStringLiteral("c.jpg")), plain);
    EXPECT_EQ(control<QLabel>(dialog, "Label2")->text(), QStringLiteral("1 / 3"));
    EXPECT_FALSE(dialog.isVisible());
}
