#include "ui/options/frmopt1.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>

#include "core/options/optionrules.h"

namespace
{

std::optional<int> chosenOption(const QList<QRadioButton *> &group)
{
    for (int i = 0; i < group.size(); ++i) {
        if (group[i]->isChecked())
            return i;
    }
    return std::nullopt;
}

// A group with no button chosen (the stored value was outside it) keeps the stored value.
template <typename T> void takeOption(T &setting, const QList<QRadioButton *> &group)
{
    if (const std::optional<int> index = chosenOption(group))
        setting = T(*index);
}

template <typename T> void takeCheck(T &setting, const QCheckBox *box)
{
    setting = box->isChecked() ? 1 : 0;
}

} // namespace

// Everything the dialog shows goes into the settings in one step, so Cancel and a closed
// window leave them exactly as they were.
void frmOPT1::OPTok_Click()
{
    AppSettings settings = appSettings();
    commitTo(settings);
    appSettings() = settings;
    accept();
}

void frmOPT1::commitTo(AppSettings &settings)
{
    GeneralSettings &general = settings.general;
    takeCheck(general.gNoVisible, OPTcheck0);
    takeCheck(general.gAutoSizeFit, OPTcheck2);
    takeCheck(general.Hottrack, CHK_Hottrack);
    takeCheck(general.AutoOrient, CHK_AutoOrient);
    takeOption(general.gVisibleMode, OPTvisibleMode);
    commitViewer(settings.exProgram);

    settings.dataFont = m_dataFont;
    ThumbListLook &look = settings.thumbLook;
    look.name = m_thumbFont.name;
    look.size = m_thumbFont.size;
    look.bold = m_thumbFont.bold;
    look.italic = m_thumbFont.italic;
    look.ThumbColor = labelExif->colorRef(ColorSwatch::Part::Background);
    look.ExifColor = labelExif->colorRef(ColorSwatch::Part::Text);
    look.NotExifColor = labelNotExif->colorRef(ColorSwatch::Part::Text);

    takeOption(general.gThumbSize, OPTthumbSize);
    takeCheck(general.ThumbCache, CHK_ThumbCache);
    commitSlides(settings.slide);

    takeOption(general.InitDirSW, OptInitDir);
    general.InitDir = OPTInitDirText->text();
    takeOption(general.Jpg2Exif, OptJpg2Exif);
    general.TabOrder = qint16(SSTab1->currentIndex());

    if (TXT_OriginalBackUP->text().isEmpty())
        TXT_OriginalBackUP->setText(QStringLiteral("Original"));
    takeCheck(general.RotBackUp, CHK_OriginalBackUp);
    general.RotBackUpFolder = TXT_OriginalBackUP->text();
    takeOption(general.RotThumbVal, Opt_ThumbVal);
    general.RotThumbBackColor = Lbl_ThumbBackColor->colorRef(ColorSwatch::Part::Background);
}

void frmOPT1::commitViewer(ExProgramSettings &exProgram)
{
    for (int row = 0; row < 3; ++row)
        exProgram.ExProgram[size_t(row)] = OPTText1[row]->text();
    exProgram.gDefExPro = std::any_of(exProgram.ExProgram.begin(), exProgram.ExProgram.end(),
                                      [](const QString &path) { return !path.isEmpty(); });
    const DefaultProgramChoice choice =
        defaultProgramChoice(exProgram.ExProgram, chosenOption(EXOpt));
    if (!choice.keepDirect)
        OPTcheck4->setChecked(false);
    if (choice.row) {
        EXOpt[*choice.row]->setChecked(true);
        exProgram.ExProSW = qint16(*choice.row);
    }
    takeCheck(exProgram.ExProDirect, OPTcheck4);
}

void frmOPT1::commitSlides(SlideSettings &slide) const
{
    takeOption(slide.SlideOrder, OPTslideOrder);
    slide.SlideInterval = slideIntervalFromText(OPTslideInterval->text()).value_or(1);
    takeCheck(slide.SlideAll, OPTslideAll);
    slide.mainEffectName = CmbEffectMain->currentText();
    slide.variantName = CmbEffectSub->currentText();
    slide.SlideEffectMain = CmbEffectMain->currentIndex();
    slide.SlideEffectSub = CmbEffectSub->currentIndex();
    slide.SlideEffectBias = SldSlide->value();
    slide.SlideBackColor = LblSlideColor->colorRef(ColorSwatch::Part::Background);
}
