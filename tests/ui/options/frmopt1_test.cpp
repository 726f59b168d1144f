#include "ui/options/frmopt1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "core/scan/thumbnaillistmodel.h"
#include "core/slideshow/transitiontables.h"
#include "tests/support/camerajpeg.h"
#include "tests/support/recordingprompter.h"
#include "tests/support/tiffbuilder.h"
#include "tests/support/writefixtures.h"
#include "ui/main/form1.h"
#include "ui/main/statuspanel.h"

namespace
{

class OptionsDialog : public testing::Test
{
  protected:
    void SetUp() override
    {
        initTransitionTables();
        m_saved = appSettings();
    }
    void TearDown() override { appSettings() = m_saved; }

    frmOPT1 &open()
    {
        m_dialog = std::make_unique<frmOPT1>();
        m_dialog->Form_Load();
        return *m_dialog;
    }
    template <typename T> T *child(const QString &name) const
    {
        T *found = m_dialog->findChild<T *>(name);
        EXPECT_NE(found, nullptr) << qPrintable(name);
        return found;
    }
    QLineEdit *path(int row) const
    {
        return child<QLineEdit>(QStringLiteral("OPTText1_%1").arg(row));
    }
    void click(const char *name) const { child<QPushButton>(QString::fromLatin1(name))->click(); }

    AppSettings m_saved;
    RecordingPrompter m_prompts;
    std::unique_ptr<frmOPT1> m_dialog;
};

// Whatever page each caller asks for is the page the dialog shows.
TEST_F(OptionsDialog, OpensOnThePageTheCallerAsks)
{
    QTemporaryDir folder;
    QSettings store(folder.filePath(QStringLiteral("Tabilo.conf")), QSettings::IniFormat);
    Form1 form(store);
    const auto shownPage = [](const std::function<void()> &openIt) {
        int page = -1;
        QTimer::singleShot(0, [&page] {
            auto *dialog = qobject_cast<frmOPT1 *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            page = dialog->tabs()->currentIndex();
            dialog->reject();
        });
        openIt();
        return page;
    };
    appSettings().general.TabOrder = 5;
    EXPECT_EQ(shownPage([&] { Q_EMIT form.statusPanel(6)->clicked(6); }), 2);
    EXPECT_EQ(shownPage([&] { form.openOptions(4); }), 4);
    EXPECT_EQ(shownPage([&] { form.openOptions(7); }), 7);
}

TEST_F(OptionsDialog, ClearingEveryProgramPathLeavesTheStoredChoice)
{
    appSettings().exProgram = ExProgramSettings{{"/usr/bin/gimp", "", "/usr/bin/eog"}, 1, 2, true};
    open();
    for (int row : {0, 2})
        path(row)->clear();
    for (int row = 0; row < 3; ++row)
        EXPECT_FALSE(child<QRadioButton>(QStringLiteral("EXOpt_%1").arg(row))->isEnabled());
    EXPECT_FALSE(child<QCheckBox>(QStringLiteral("OPTcheck4"))->isEnabled());
    EXPECT_TRUE(appSettings().exProgram.gDefExPro) << "changed before OK";
    click("OPTok");
    EXPECT_EQ(appSettings().exProgram, (ExProgramSettings{{"", "", ""}, 0, 2, false}));
}

TEST_F(OptionsDialog, DefaultProgramMovesToTheFirstFilledRow)
{
    appSettings().exProgram = ExProgramSettings{{"/usr/bin/gimp", "", "/usr/bin/eog"}, 1, 2, true};
    open();
    path(2)->clear();
    click("OPTok");
    EXPECT_EQ(appSettings().exProgram, (ExProgramSettings{{"/usr/bin/gimp", "", ""}, 0, 0, true}));
}

// The box keeps 1 to 60; the up-down's upper arrow adds a second, its lower arrow takes one.
TEST_F(OptionsDialog, IntervalBoxKeepsOneToSixty)
{
    open();
    auto *interval = child<QLineEdit>(QStringLiteral("OPTslideInterval"));
    const QList<QPair<QString, QString>> typed = {
        {"0", "1"}, {"61", "1"}, {"ab", "1"}, {"60", "60"}};
    for (const auto &[text, kept] : typed) {
        interval->setText(text);
        EXPECT_EQ(interval->text(), kept) << qPrintable(text);
    }

    m_dialog->tabs()->setCurrentIndex(4);
    m_dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_dialog.get()));
    auto *upDown = child<QScrollBar>(QStringLiteral("OPTSlideUpDown"));
    const auto clickArrow = [upDown](QStyle::SubControl arrow) {
        QStyleOptionSlider option;
        option.initFrom(upDown);
        option.orientation = Qt::Vertical;
        option.minimum = upDown->minimum();
        option.maximum = upDown->maximum();
        option.sliderPosition = option.sliderValue = upDown->value();
        const QRect area =
            upDown->style()->subControlRect(QStyle::CC_ScrollBar, &option, arrow, upDown);
        QTest::mouseClick(upDown, Qt::LeftButton, {}, area.center());
    };
    interval->setText(QStringLiteral("10"));
    clickArrow(QStyle::SC_ScrollBarSubLine); // the upper arrow, ▲
    EXPECT_EQ(interval->text(), QStringLiteral("11"));
    clickArrow(QStyle::SC_ScrollBarAddLine); // ▼
    clickArrow(QStyle::SC_ScrollBarAddLine);
    EXPECT_EQ(interval->text(), QStringLiteral("9"));
}

TEST_F(OptionsDialog, TransparencyListsTheFinerVariantFirst)
{
    open();
    auto *effects = child<QComboBox>(QStringLiteral("CmbEffectMain"));
    auto *variants = child<QComboBox>(QStringLiteral("CmbEffectSub"));
    ASSERT_EQ(effects->count(), 13);
    effects->setCurrentIndex(5);
    Q_EMIT effects->activated(5);
    EXPECT_EQ(effects->currentText(), QStringLiteral("ﾄﾗﾝｽﾍﾟｱ"));
    QStringList shown;
    for (int i = 0; i < variants->count(); ++i)
        shown.append(variants->itemText(i));
    EXPECT_EQ(shown, (QStringList{"より精細", "普通", "より粗い"}));
    EXPECT_EQ(variants->currentText(), QStringLiteral("より精細"));
}

// Values off the defaults, a system colour among them, and option values the groups hold.
TEST_F(OptionsDialog, OkWithoutChangesChangesNothing)
{
    AppSettings &settings = appSettings();
    settings.general.gVisibleMode = 2;
    settings.general.InitDirSW = 0;
    settings.general.RotThumbVal = 2;
    settings.general.ThumbCache = 0;
    settings.general.RotThumbBackColor = 0x123456;
    settings.general.TabOrder = 3;
    settings.general.AutoOrient = 0;
    settings.exProgram = ExProgramSettings{{"", "/usr/bin/eog", ""}, 1, 1, true};
    settings.thumbLook.ThumbColor = qint32(0x80000014u);
    settings.thumbLook.size = 12;
    settings.slide.SlideEffectMain = 5;
    settings.slide.mainEffectName = QStringLiteral("ﾄﾗﾝｽﾍﾟｱ");
    settings.slide.SlideEffectSub = 2;
    settings.slide.variantName = QStringLiteral("より粗い");
    settings.slide.SlideEffectBias = 150;
    settings.slide.SlideInterval = 12;
    const AppSettings before = settings;
    open();
    click("OPTok");
    EXPECT_TRUE(appSettings() == before);
}

// The viewer page's check box, under its exact caption, switches upright showing off.
TEST_F(OptionsDialog, UprightCheckBoxStoresAutoOrient)
{
    frmOPT1 &dialog = open();
    auto *box = child<QCheckBox>(QStringLiteral("CHK_AutoOrient"));
    EXPECT_EQ(box->text(), QStringLiteral("Exif の回転情報に従って表示する"));
    EXPECT_TRUE(dialog.tabs()->widget(2)->isAncestorOf(box));
    EXPECT_TRUE(box->isChecked());
    box->setChecked(false);
    click("OPTok");
    EXPECT_EQ(appSettings().general.AutoOrient, 0);
}

// The list was drawn upright or not when its folder was read: turning the setting off reads
// the folder again, and a 640 x 480 shot held upright (orientation 6) then lies as stored.
TEST_F(OptionsDialog, ChangingUprightShowingReadsTheListAgain)
{
    QTemporaryDir folder;
    QSettings store(folder.filePath(QStringLiteral("Tabilo.conf")), QSettings::IniFormat);
    CameraShot shot;
    shot.orientation = 6;
    writeTestFile(folder, QStringLiteral("p.jpg"), cameraJpeg(shot));
    Form1 form(store);
    form.openStartPath(folder.path());
    const ThumbnailListModel &list = *form.thumbnailModel();
    ASSERT_EQ(list.rowCount(), 1);
    // In the 160 x 120 list picture the shot stands 90 x 120 at left 35.
    EXPECT_EQ(writefixtures::patternCorners(list.picture(0), QRect(35, 0, 90, 120)),
              QStringLiteral("cadb"));
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<frmOPT1 *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QCheckBox *>(QStringLiteral("CHK_AutoOrient"))->setChecked(false);
        dialog->findChild<QPushButton *>(QStringLiteral("OPTok"))->click();
    });
    form.mnuOption_Click();
    ASSERT_EQ(list.rowCount(), 1);
    EXPECT_EQ(writefixtures::patternCorners(list.picture(0)), QStringLiteral("abcd"));
}

// The start-folder choice and program paths wait for OK like everything else.
TEST_F(OptionsDialog, CancelChangesNothing)
{
    const AppSettings before = appSettings();
    open();
    child<QRadioButton>(QStringLiteral("OptInitDir_0"))->click();
    path(0)->setText(QStringLiteral("/usr/bin/gimp"));
    m_prompts.queueColor(QColor(Qt::red));
    click("OPTcolorExif");
    click("OPTcancel");
    EXPECT_TRUE(appSettings() == before);
    m_prompts.expectAllAnswered();
}

// The sample the user saw is what OK keeps, even after a later chooser was cancelled.
TEST_F(OptionsDialog, ColoursAreCommittedFromTheSamples)
{
    open();
    m_prompts.queueColor(QColor(0x10, 0x20, 0x30));
    m_prompts.queueColor(std::nullopt);
    click("OPTcolorExif");
    click("OPTcolorExif");
    click("OPTok");
    EXPECT_EQ(appSettings().thumbLook.ExifColor, 0x302010);
}

// The preview plays on the dialog itself and gives the pages back when it ends.
TEST_F(OptionsDialog, PreviewPlaysAtTheSliderSpeed)
{
    frmOPT1 &dialog = open();
    child<QSlider>(QStringLiteral("SldSlide"))->setValue(200);
    const TransitionPreview preview = dialog.previewOfControls();
    EXPECT_EQ(preview.speed, 200);
    EXPECT_EQ(preview.from.size(), dialog.size());
    EXPECT_EQ(preview.to.size(), dialog.size());

    child<QComboBox>(QStringLiteral("CmbEffectMain"))->setCurrentIndex(0);
    child<QPushButton>(QStringLiteral("Btn_SlidePreView"))->click();
    EXPECT_FALSE(dialog.tabs()->isHidden());
}

// Esc while the preview plays ends the preview only: the dialog stays open with its edits,
// and a second Esc cancels it.
TEST_F(OptionsDialog, EscapeEndsThePreviewFirst)
{
    frmOPT1 &dialog = open();
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto *interval = child<QLineEdit>(QStringLiteral("OPTslideInterval"));
    interval->setText(QStringLiteral("42"));
    child<QSlider>(QStringLiteral("SldSlide"))->setValue(20);
    auto *effects = child<QComboBox>(QStringLiteral("CmbEffectMain"));
    effects->setCurrentIndex(1);
    Q_EMIT effects->activated(1);
    QTimer::singleShot(0, &dialog, [&dialog] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    child<QPushButton>(QStringLiteral("Btn_SlidePreView"))->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(interval->text(), QStringLiteral("42"));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
