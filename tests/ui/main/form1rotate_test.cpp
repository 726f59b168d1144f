#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include "core/scan/thumbnaillistmodel.h"
#include "core/settings/settings.h"
#include "exif/jpgsize.h"
#include "tests/support/recordingprompter.h"
#include "tests/support/scanfolder.h"
#include "ui/main/form1.h"

namespace
{

// Runs `act` on the next modal dialog once it is shown.
void actOnNextModalDialog(const std::function<void(QWidget *)> &act)
{
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [act, poll] {
        if (QWidget *dialog = QApplication::activeModalWidget())
            act(dialog);
        else
            QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
}

// The rotate command of the menu, the pop-up and the toolbar opens the
// rotation dialog on the selected entry of the shown folder; after a turn the
// entry is ghosted and the panel shows the turned picture.
TEST(Form1Rotate, EveryRotateCommandTurnsTheSelectedPicture)
{
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir storeFolder;
    appSettings() = AppSettings{};
    QSettings store(storeFolder.filePath(QStringLiteral("Tabilo.conf")), QSettings::IniFormat);
    Form1 form(store);
    appSettings().general.Jpg2Exif = 1;
    RecordingPrompter prompts;

    const QList<QPair<const char *, std::function<void()>>> commands = {
        {"menu", [&] { form.command(QStringLiteral("mnuEditRotate"))->trigger(); }},
        {"pop-up", [&] { form.command(QStringLiteral("popRotate"))->trigger(); }},
        {"toolbar", [&] { form.toolButton(QStringLiteral("Rotate"))->trigger(); }},
    };
    for (const auto &[what, run] : commands) {
        SCOPED_TRACE(what);
        ScanFolder folder;
        folder.addCamera(QStringLiteral("a.jpg"));
        folder.addCamera(QStringLiteral("b.jpg"));
        prompts.queueOpenFile(folder.file(QStringLiteral("any.jpg")));
        form.command(QStringLiteral("mnuFileOpen"))->trigger();
        ThumbnailListModel &model = *form.thumbnailModel();
        ASSERT_EQ(model.rowCount(), 2);
        form.listView()->setCurrentIndex(model.index(1));
        form.ListView1_ItemClick();
        EXPECT_TRUE(form.toolButton(QStringLiteral("Rotate"))->isEnabled());
        EXPECT_TRUE(form.command(QStringLiteral("mnuEditRotate"))->isEnabled());

        QString caption;
        actOnNextModalDialog([&caption](QWidget *dialog) {
            caption = dialog->windowTitle();
            dialog->findChild<QRadioButton *>(QStringLiteral("OptRot_3"))->click();
            dialog->findChild<QPushButton *>(QStringLiteral("Cmd_OK"))->click();
        });
        run();
        EXPECT_EQ(caption, QStringLiteral("画像の回転 - b.jpg"));
        const JpegSize size = GetJpegSize(folder.file(QStringLiteral("b.jpg")));
        EXPECT_EQ(QSize(size.width, size.height), QSize(480, 640));
        EXPECT_TRUE(model.isGhosted(1));
        EXPECT_FALSE(model.isGhosted(0));
        EXPECT_EQ(form.labelA(2)->text(), QStringLiteral("幅   : 480"));
    }
    prompts.expectAllAnswered();
    form.close();
}

} // namespace
