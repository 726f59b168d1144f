#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <QFileInfo>

#include "core/scan/folderscan.h"
#include "core/scan/scantexts.h"
#include "core/scan/thumbnaildecoder.h"
#include "core/scan/thumbnaillistmodel.h"
#include "tests/support/scanfolder.h"

namespace
{

ProducedThumbnail listed(bool fromExif)
{
    ProducedThumbnail produced;
    produced.outcome = ProducedThumbnail::Outcome::Listed;
    produced.fromExif = fromExif;
    produced.jpeg = QByteArray("jpeg");
    produced.tag = fromExif ? QString() : QStringLiteral("0006400048");
    return produced;
}

ProducedThumbnail bad()
{
    ProducedThumbnail produced;
    produced.outcome = ProducedThumbnail::Outcome::BadPicture;
    produced.error = ErrorRecord{481, QStringLiteral("Tabilo"), QStringLiteral("damaged")};
    return produced;
}

// Records what the scan tells its window.
struct ScanRecorder {
    QStringList events;
    QStringList logged;
    int questions = 0;
    bool answerYes = false;
    int escapeAtIndex = -1;
    bool escapePressed = false;
    std::function<void()> convert;

    FolderScanCallbacks callbacks()
    {
        FolderScanCallbacks c;
        c.started = [this](const QString &, int total, int count) {
            events << QStringLiteral("started %1 %2").arg(total).arg(count);
        };
        c.progress = [this](int index) {
            if (index == escapeAtIndex)
                escapePressed = true;
        };
        c.processEventsAndShouldStop = [this](int listed) {
            events << QStringLiteral("events %1").arg(listed);
            return escapePressed;
        };
        c.askConversion = [this] {
            ++questions;
            if (answerYes && convert)
                convert();
            return answerYes;
        };
        c.logError = [this](const QString &place, const ErrorRecord &error) {
            logged << place + QStringLiteral("|") + QString::number(error.number);
        };
        return c;
    }
};

class FolderScanLoop : public ::testing::TestWithParam<int>
{
  protected:
    FolderScanResult scan(const ThumbnailProduction &produce, bool offerConversion = true)
    {
        FolderScanSettings settings;
        settings.workers = GetParam();
        settings.offerConversion = offerConversion;
        FolderScan scan(model, produce, recorder.callbacks());
        return scan.run(folder.path(), settings, {});
    }

    void addFiles(int count)
    {
        for (int i = 0; i < count; ++i)
            folder.write(QStringLiteral("f%1.jpg").arg(i, 3, 10, QLatin1Char('0')), "x");
    }

    static QString nameOf(const QString &path) { return QFileInfo(path).fileName(); }

    ScanFolder folder;
    ThumbnailListModel model{{}};
    ScanRecorder recorder;
};

TEST_P(FolderScanLoop, EmptyFolderListsNothing)
{
    model.append(QStringLiteral("old.jpg"), true, {}, "x");
    const FolderScanResult result = scan([](const QString &) { return listed(true); });
    EXPECT_TRUE(result.folderRead);
    EXPECT_EQ(result.total, 0);
    EXPECT_EQ(result.listed, 0);
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(recorder.events, QStringList({"started 0 0"}));
}

TEST_P(FolderScanLoop, TwoAndThreeFiles)
{
    addFiles(2);
    EXPECT_EQ(scan([](const QString &) { return listed(true); }).listed, 2);
    addFiles(3);
    const FolderScanResult result = scan([](const QString &) { return listed(true); });
    EXPECT_EQ(result.listed, 3);
    EXPECT_EQ(model.name(2), QStringLiteral("f002.jpg"));
    EXPECT_EQ(recorder.events, QStringList({"started 2 2", "events 1", "started 3 3", "events 1"}));
    EXPECT_EQ(scanProgressMaximum(2), std::nullopt);
    EXPECT_EQ(scanProgressMaximum(3), 2);
    EXPECT_EQ(scanProgressMaximum(0), std::nullopt);
}

TEST_P(FolderScanLoop, EventsRunAtEveryTenthFileAfterItsItem)
{
    addFiles(23);
    const FolderScanResult result = scan([](const QString &) { return listed(true); });
    EXPECT_EQ(result.listed, 23);
    EXPECT_EQ(recorder.events,
              QStringList({"started 23 23", "events 1", "events 11", "events 21"}));
}

TEST_P(FolderScanLoop, EscapeAtIndexThreeIsSeenAtTenAndListsEleven)
{
    addFiles(25);
    recorder.escapeAtIndex = 3;
    const FolderScanResult result = scan([](const QString &) { return listed(true); });
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.listed, 11);
    EXPECT_EQ(model.rowCount(), 11);
    EXPECT_EQ(model.name(10), QStringLiteral("f010.jpg"));
}

TEST_P(FolderScanLoop, ItemsFollowFileOrderWhateverTheWorkersTiming)
{
    addFiles(40);
    const FolderScanResult result = scan([](const QString &path) {
        // Early files take longest, so later ones finish first on other threads.
        const int index = nameOf(path).mid(1, 3).toInt();
        std::this_thread::sleep_for(std::chrono::microseconds((40 - index) * 50));
        ProducedThumbnail produced = listed(index % 2 == 0);
        produced.jpeg = path.toUtf8();
        return produced;
    });
    ASSERT_EQ(result.listed, 40);
    for (int row = 0; row < 40; ++row) {
        const QString name = QStringLiteral("f%1.jpg").arg(row, 3, 10, QLatin1Char('0'));
        EXPECT_EQ(model.name(row), name);
        EXPECT_EQ(model.isFromExif(row), row % 2 == 0);
        EXPECT_EQ(model.tag(row), row % 2 == 0 ? QString() : QStringLiteral("0006400048"));
    }
}

TEST_P(FolderScanLoop, DamagedPictureIsLoggedAndSkippedWithoutGap)
{
    addFiles(5);
    const FolderScanResult result = scan([](const QString &path) {
        return nameOf(path) == QStringLiteral("f002.jpg") ? bad() : listed(true);
    });
    EXPECT_EQ(recorder.logged, QStringList({"BAD PIC |481"}));
    EXPECT_EQ(result.listed, 4);
    EXPECT_EQ(model.name(1), QStringLiteral("f001.jpg"));
    EXPECT_EQ(model.name(2), QStringLiteral("f003.jpg"));
}

TEST_P(FolderScanLoop, OtherFailuresAreLoggedAsDisplayTh)
{
    addFiles(2);
    const FolderScanResult result = scan([](const QString &path) {
        if (nameOf(path) == QStringLiteral("f000.jpg")) {
            ProducedThumbnail failed;
            failed.error = ErrorRecord{75, QStringLiteral("Tabilo"), QStringLiteral("denied")};
            return failed;
        }
        return listed(true);
    });
    EXPECT_EQ(recorder.logged, QStringList({"display_th|75"}));
    EXPECT_EQ(result.listed, 1);
}

TEST_P(FolderScanLoop, ConversionIsOfferedOnceAtTheFirstFileWithoutThumbnail)
{
    addFiles(6);
    const FolderScanResult result =
        scan([](const QString &path) { return listed(nameOf(path) < QStringLiteral("f002.jpg")); });
    EXPECT_EQ(recorder.questions, 1);
    EXPECT_EQ(result.listed, 6);
    EXPECT_FALSE(model.isFromExif(2));
    EXPECT_FALSE(model.isFromExif(5));

    // The next scan asks again.
    scan([](const QString &) { return listed(false); });
    EXPECT_EQ(recorder.questions, 2);
}

TEST_P(FolderScanLoop, ConversionIsNeverOfferedWhenTurnedOff)
{
    addFiles(3);
    scan([](const QString &) { return listed(false); }, false);
    EXPECT_EQ(recorder.questions, 0);
}

TEST_P(FolderScanLoop, DamagedFileWithoutThumbnailStillBringsTheQuestion)
{
    addFiles(2);
    scan([](const QString &path) {
        return nameOf(path) == QStringLiteral("f000.jpg") ? bad() : listed(true);
    });
    EXPECT_EQ(recorder.questions, 1);
}

TEST_P(FolderScanLoop, AfterYesLaterFilesAreReadAsTheyNowAre)
{
    addFiles(30);
    std::atomic<bool> converted = false;
    recorder.answerYes = true;
    recorder.convert = [&] { converted = true; };
    const FolderScanResult result = scan([&](const QString &) { return listed(converted); });
    EXPECT_EQ(recorder.questions, 1);
    ASSERT_EQ(result.listed, 30);
    EXPECT_FALSE(model.isFromExif(0)); // the file the question came at stays drawn
    for (int row = 1; row < 30; ++row)
        EXPECT_TRUE(model.isFromExif(row)) << row;
}

TEST_P(FolderScanLoop, NoFurtherFileIsReadWhileTheQuestionIsOpen)
{
    addFiles(60);
    std::atomic<int> produced = 0;
    int whenAsked = 0;
    int whenAnswered = 0;
    recorder.convert = [&] {
        whenAsked = produced;
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        whenAnswered = produced;
    };
    recorder.answerYes = true;
    const FolderScanResult result = scan([&](const QString &path) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        ++produced;
        return listed(nameOf(path) != QStringLiteral("f005.jpg"));
    });
    EXPECT_EQ(result.listed, 60);
    EXPECT_LE(whenAnswered - whenAsked, GetParam()); // only the files already being read
}

TEST_P(FolderScanLoop, OutOfMemoryEndsTheScanWithWhatWasListed)
{
    addFiles(4);
    const FolderScanResult result = scan([](const QString &path) {
        if (nameOf(path) == QStringLiteral("f002.jpg"))
            throw std::bad_alloc();
        return listed(true);
    });
    EXPECT_TRUE(result.outOfMemory);
    EXPECT_EQ(result.listed, 2);
    EXPECT_EQ(ScanTexts::outOfMemory(result.listed),
              QStringLiteral("メモリが不足しています。2ファイルまで読み込みました。"));
}

TEST_P(FolderScanLoop, MissingFolderKeepsTheListAndLogs)
{
    model.append(QStringLiteral("kept.jpg"), true, {}, "x");
    FolderScan scanner(
        model, [](const QString &) { return listed(true); }, recorder.callbacks());
    FolderScanSettings settings;
    settings.workers = GetParam();
    const FolderScanResult result = scanner.run(folder.file(QStringLiteral("gone/")), settings, {});
    EXPECT_FALSE(result.folderRead);
    EXPECT_EQ(result.listed, 0);
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(recorder.logged, QStringList({"display_th|53"}));
}

TEST(ThumbnailDecoder, IndexOutsideTheFilesIsAFailureNotAWait)
{
    ThumbnailDecoder decoder(
        {QStringLiteral("a.jpg")}, [](const QString &) { return listed(true); }, 2);
    EXPECT_EQ(decoder.take(5).outcome, ProducedThumbnail::Outcome::Failed);
    EXPECT_EQ(decoder.take(0).outcome, ProducedThumbnail::Outcome::Listed);
}

// Sixteen: as many files read at once as a scan does by default.
INSTANTIATE_TEST_SUITE_P(Workers, FolderScanLoop, ::testing::Values(0, 2, 16),
                         [](const auto &info) {
                             return info.param == 0 ? std::string("OneThread")
                                                    : "Workers" + std::to_string(info.param);
                         });

TEST(ThumbnailImageSize, FollowsTheSizeSetting)
{
    const QSize previous(77, 55);
    EXPECT_EQ(thumbnailImageSize(0, previous), QSize(200, 150));
    EXPECT_EQ(thumbnailImageSize(1, previous), QSize(160, 120));
    EXPECT_EQ(thumbnailImageSize(2, previous), QSize(120, 90));
    EXPECT_EQ(thumbnailImageSize(3, previous), previous);
    EXPECT_EQ(thumbnailImageSize(-1, previous), previous);
}

TEST(ScanTexts, StatusAndQuestionTexts)
{
    EXPECT_EQ(ScanTexts::progress(0, 0), QStringLiteral("0 / 0 ﾌｧｲﾙ"));
    EXPECT_EQ(ScanTexts::progress(7, 10), QStringLiteral("7 / 10 ﾌｧｲﾙ"));
    EXPECT_EQ(ScanTexts::howToStop(), QStringLiteral("[ESC]ｷｰで中断できます。"));
    EXPECT_EQ(ScanTexts::finished(12, false), QStringLiteral(" 12 ﾌｧｲﾙを読み込みました。"));
    EXPECT_EQ(ScanTexts::finished(11, true), QStringLiteral(" ﾌｧｲﾙの読み込みを中断しました。"));
    EXPECT_EQ(ScanTexts::caption(QStringLiteral("/photos")), QStringLiteral("Tabilo - /photos"));
    EXPECT_EQ(ScanTexts::conversionTitle(), QStringLiteral("JPG→Exif変換"));
    EXPECT_EQ(ScanTexts::conversionQuestion(),
              QStringLiteral("ﾌｫﾙﾀﾞ内に非Exifﾌｧｲﾙがあります｡\r\rExifﾌｧｲﾙに変換すると次回からの"
                             "読み込みが格段に速くなります｡\r\r後で手動で変換することも可能です｡"
                             "\r\r今、変換しますか？"));
}

} // namespace
