#include "ui/options/frmopt1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/options/optionrules.h"
#include "core/settings/colorref.h"
#include "core/slideshow/transitiontables.h"
#include "platform/prompter.h"
#include "ui/help/help.h"
#include "ui/japanesefonts.h"
#include "ui/slideshow/transitionplayer.h"

namespace
{

constexpr int kHelpContextBase = 1000;

// Chooses button `index` of a group; with an index outside the group none is chosen, so
// OK keeps the stored value.
void chooseOption(const QList<QRadioButton *> &group, int index)
{
    for (int i = 0; i < group.size(); ++i) {
        group[i]->setAutoExclusive(false);
        group[i]->setChecked(i == index);
        group[i]->setAutoExclusive(true);
    }
}

QFont fontOf(const FontSetting &font)
{
    return fontFromSetting(font.name, font.size, font.bold, font.italic);
}

} // namespace

frmOPT1::frmOPT1(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOPT1"));
    setWindowTitle(QStringLiteral("ｵﾌﾟｼｮﾝ"));
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->tabBar()->setUsesScrollButtons(false); // every page's tab in sight
    SSTab1->addTab(buildDisplayPage(), QStringLiteral("表示"));
    SSTab1->addTab(buildThumbnailPage(), QStringLiteral("ｻﾑﾈｲﾙ"));
    SSTab1->addTab(buildViewerPage(), QStringLiteral("外部ﾋﾞｭｰｱｰ"));
    SSTab1->addTab(buildFontPage(), QStringLiteral("ﾌｫﾝﾄとｶﾗｰ"));
    SSTab1->addTab(buildSlidePage(), QStringLiteral("ｽﾗｲﾄﾞｼｮｳ"));
    SSTab1->addTab(buildInitDirPage(), QStringLiteral("初期ﾌｫﾙﾀﾞ"));
    SSTab1->addTab(buildConversionPage(), QStringLiteral("Exif変換"));
    SSTab1->addTab(buildRotationPage(), QStringLiteral("画像の回転"));

    QPushButton *ok = button("OPTok", QStringLiteral("OK"), this);
    ok->setDefault(true);
    QPushButton *cancel = button("OPTcancel", QStringLiteral("ｷｬﾝｾﾙ"), this);
    QPushButton *help = button("OPThelp", QStringLiteral("ﾍﾙﾌﾟ"), this);
    connect(ok, &QPushButton::clicked, this, &frmOPT1::OPTok_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, &frmOPT1::OPThelp_Click);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addLayout(buttons);
}

void frmOPT1::Form_Load()
{
    SSTab1->setCurrentIndex(appSettings().general.TabOrder);
    loadChoices();
    checkProgramPaths();
    loadLooks();
    loadSlideEffect();
}

void frmOPT1::loadChoices()
{
    const AppSettings &settings = appSettings();
    const GeneralSettings &general = settings.general;
    const ExProgramSettings &exProgram = settings.exProgram;
    const SlideSettings &slide = settings.slide;
    OPTcheck0->setChecked(general.gNoVisible == 1);
    OPTcheck2->setChecked(general.gAutoSizeFit == 1);
    CHK_Hottrack->setChecked(general.Hottrack == 1);
    CHK_AutoOrient->setChecked(general.AutoOrient == 1);
    CHK_ThumbCache->setChecked(general.ThumbCache == 1);
    OPTcheck4->setChecked(exProgram.ExProDirect == 1);
    OPTslideAll->setChecked(slide.SlideAll == 1);
    CHK_OriginalBackUp->setChecked(general.RotBackUp == 1);
    chooseOption(OPTvisibleMode, general.gVisibleMode);
    chooseOption(OPTthumbSize, general.gThumbSize);
    chooseOption(EXOpt, exProgram.ExProSW);
    chooseOption(OPTslideOrder, slide.SlideOrder);
    chooseOption(OptInitDir, general.InitDirSW);
    chooseOption(OptJpg2Exif, general.Jpg2Exif);
    chooseOption(Opt_ThumbVal, general.RotThumbVal);
    for (int row = 0; row < 3; ++row)
        OPTText1[row]->setText(exProgram.ExProgram[size_t(row)]);
    OPTInitDirText->setText(general.InitDir);
    TXT_OriginalBackUP->setText(general.RotBackUpFolder);
    OPTslideInterval->setText(QString::number(slide.SlideInterval));
}

void frmOPT1::loadLooks()
{
    const AppSettings &settings = appSettings();
    const ThumbListLook &look = settings.thumbLook;
    m_dataFont = settings.dataFont;
    m_thumbFont = FontSetting{look.name, look.size, look.bold, look.italic};
    labelDataFont->setFont(fontOf(m_dataFont));
    for (ColorSwatch *sample : {labelExif, labelNotExif}) {
        sample->setFont(fontOf(m_thumbFont));
        sample->setColorRef(ColorSwatch::Part::Background, look.ThumbColor);
    }
    labelExif->setColorRef(ColorSwatch::Part::Text, look.ExifColor);
    labelNotExif->setColorRef(ColorSwatch::Part::Text, look.NotExifColor);
    LblSlideColor->setColorRef(ColorSwatch::Part::Background, settings.slide.SlideBackColor);
    Lbl_ThumbBackColor->setColorRef(ColorSwatch::Part::Background,
                                    settings.general.RotThumbBackColor);
}

void frmOPT1::loadSlideEffect()
{
    const SlideSettings &slide = appSettings().slide;
    CmbEffectMain->clear();
    CmbEffectMain->addItems(transitionEffectNames());
    CmbEffectMain->setCurrentIndex(slide.SlideEffectMain);
    CmbEffectMain_Click(CmbEffectMain->currentIndex());
    CmbEffectSub->setCurrentIndex(slide.SlideEffectSub);
    SldSlide->setValue(slide.SlideEffectBias);
    LblSlideVal->setText(QString::number(SldSlide->value()));
}

// A row without a path cannot be the default program, and with no path at all there is
// nothing a double click could start.
void frmOPT1::checkProgramPaths()
{
    bool anyProgram = false;
    for (int row = 0; row < OPTText1.size(); ++row) {
        const bool filled = !OPTText1[row]->text().isEmpty();
        anyProgram = anyProgram || filled;
        EXOpt[row]->setEnabled(filled);
    }
    OPTcheck4->setEnabled(anyProgram);
}

void frmOPT1::CmbEffectMain_Click(int effect)
{
    CmbEffectSub->clear();
    CmbEffectSub->addItems(transitionVariantNames(effect));
    CmbEffectSub->setCurrentIndex(0);
}

void frmOPT1::OPTslideInterval_Change()
{
    const std::optional<int> seconds = slideIntervalFromText(OPTslideInterval->text());
    if (!seconds) {
        OPTslideInterval->setText(QStringLiteral("1"));
        return;
    }
    const QSignalBlocker quiet(OPTSlideUpDown);
    OPTSlideUpDown->setValue(-*seconds);
}

void frmOPT1::OPTExProgButton_Click(int row)
{
    const QString program = prompter().chooseOpenFile(
        QStringLiteral("開く"), QStringLiteral("全てのﾌｧｲﾙ (*)"), QStringLiteral("/usr/bin"));
    if (!program.isEmpty())
        OPTText1[row]->setText(program);
}

void frmOPT1::OPTInitDirButtun_Click()
{
    const QString folder = prompter().chooseFolder(
        QStringLiteral("希望のフォルダを選択して下さい。"), QStringLiteral("/"));
    if (!folder.isEmpty())
        OPTInitDirText->setText(folder);
}

void frmOPT1::chooseFont(FontSetting &font, const QList<QLabel *> &samples)
{
    const std::optional<QFont> chosen = prompter().chooseFont(fontOf(font));
    if (!chosen)
        return;
    font = FontSetting{chosen->family(), chosen->pointSizeF(), chosen->bold(), chosen->italic()};
    for (QLabel *sample : samples)
        sample->setFont(fontOf(font));
}

// Every chooser starts from the colour its sample shows, so what OK commits is what the
// user saw last.
void frmOPT1::chooseColor(const QList<ColorSwatch *> &swatches, ColorSwatch::Part part)
{
    const std::optional<QColor> chosen = prompter().chooseColor(swatches.first()->shownColor(part));
    if (!chosen)
        return;
    for (ColorSwatch *swatch : swatches)
        swatch->setColorRef(part, colorRefFromColor(*chosen));
}

void frmOPT1::OPThelp_Click()
{
    showHelpContext(kHelpContextBase + SSTab1->currentIndex());
    showHelpContents();
}

// Esc while the preview plays ends the preview; the dialog and its edits stay.
void frmOPT1::reject()
{
    if (m_previewFlags)
        m_previewFlags->key = 1;
    else
        QDialog::reject();
}

TransitionPreview frmOPT1::previewOfControls() const
{
    TransitionPreview preview;
    preview.from = previewSamplePicture(size(), false);
    preview.to = previewSamplePicture(size(), true);
    preview.effect = CmbEffectMain->currentIndex();
    preview.effectName = CmbEffectMain->currentText();
    preview.variant = CmbEffectSub->currentIndex();
    preview.variantName = CmbEffectSub->currentText();
    preview.speed = SldSlide->value();
    return preview;
}

// The player paints the transition over the whole dialog; the pages and buttons are hidden
// meanwhile so that nothing is clicked under it.
void frmOPT1::Btn_SlidePreView_Click()
{
    const TransitionPreview preview = previewOfControls();
    const QList<QWidget *> covered = {SSTab1, findChild<QWidget *>(QStringLiteral("OPTok")),
                                      findChild<QWidget *>(QStringLiteral("OPTcancel")),
                                      findChild<QWidget *>(QStringLiteral("OPThelp"))};
    for (QWidget *part : covered)
        part->hide();
    {
        TransitionPlayer player(this);
        player.showImage(preview.from);
        TransitionFlags flags;
        m_previewFlags = &flags;
        player.runTransition({preview.effectName, preview.effect, preview.variantName,
                              preview.variant, preview.speed},
                             preview.to, flags);
        m_previewFlags = nullptr;
    }
    update(); // the dialog paints itself again where the player painted
    for (QWidget *part : covered)
        part->show();
}
