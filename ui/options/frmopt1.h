#pragma once

#include <QDialog>
#include <QList>

#include "core/settings/settings.h"
#include "ui/options/colorswatch.h"
#include "ui/options/transitionpreview.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;
class QTabWidget;
struct TransitionFlags;

// The options dialog: the program's settings on eight pages. It works on what it loaded
// when it opened; OK copies every control back into appSettings(), Cancel leaves the
// settings exactly as they were. It opens on the page TabOrder names.
class frmOPT1 : public QDialog
{
    Q_OBJECT

  public:
    explicit frmOPT1(QWidget *parent = nullptr);

    // Fills every control from appSettings(), on the page TabOrder names.
    void Form_Load();

    QTabWidget *tabs() const { return SSTab1; }

    // What the preview button plays: the sample pictures at the dialog's size, and the chosen
    // effect at the speed the slider shows.
    TransitionPreview previewOfControls() const;

  public Q_SLOTS:
    void reject() override;

  private Q_SLOTS:
    void OPTok_Click();
    void OPThelp_Click();
    void Btn_SlidePreView_Click();

  private:
    // Pages (frmopt1pages.cpp, frmopt1slidepage.cpp)
    QWidget *buildDisplayPage();
    QWidget *buildThumbnailPage();
    QWidget *buildViewerPage();
    QWidget *buildFontPage();
    QWidget *buildSlidePage();
    QWidget *buildInitDirPage();
    QWidget *buildConversionPage();
    QWidget *buildRotationPage();
    QGroupBox *frame(const char *name, const QString &caption, QWidget *parent);
    QList<QRadioButton *> optionGroup(const char *name, const QStringList &captions,
                                      QWidget *parent);
    QPushButton *button(const char *name, const QString &caption, QWidget *parent);

    // Loading and the rules met while editing (frmopt1.cpp)
    void loadChoices();
    void loadLooks();
    void loadSlideEffect();
    void checkProgramPaths();
    void CmbEffectMain_Click(int effect);
    void OPTslideInterval_Change();
    void OPTExProgButton_Click(int row);
    void OPTInitDirButtun_Click();
    void chooseFont(FontSetting &font, const QList<QLabel *> &samples);
    void chooseColor(const QList<ColorSwatch *> &swatches, ColorSwatch::Part part);

    // Commit (frmopt1commit.cpp)
    void commitTo(AppSettings &settings);
    void commitViewer(ExProgramSettings &exProgram);
    void commitSlides(SlideSettings &slide) const;

    // What the font choosers hold until OK.
    FontSetting m_dataFont;
    FontSetting m_thumbFont;
    // The flags of the preview that plays now, if one does.
    TransitionFlags *m_previewFlags = nullptr;

    QTabWidget *SSTab1 = nullptr;
    QCheckBox *OPTcheck0 = nullptr;
    QCheckBox *OPTcheck2 = nullptr;
    QCheckBox *CHK_Hottrack = nullptr;
    QList<QRadioButton *> OPTvisibleMode;
    QList<QRadioButton *> OPTthumbSize;
    QCheckBox *CHK_ThumbCache = nullptr;
    QList<QLineEdit *> OPTText1;
    QList<QPushButton *> OPTExProgButton;
    QList<QRadioButton *> EXOpt;
    QCheckBox *OPTcheck4 = nullptr;
    QCheckBox *CHK_AutoOrient = nullptr;
    ColorSwatch *labelExif = nullptr;
    ColorSwatch *labelNotExif = nullptr;
    ColorSwatch *labelDataFont = nullptr;
    QLineEdit *OPTslideInterval = nullptr;
    QScrollBar *OPTSlideUpDown = nullptr;
    QCheckBox *OPTslideAll = nullptr;
    ColorSwatch *LblSlideColor = nullptr;
    QList<QRadioButton *> OPTslideOrder;
    QComboBox *CmbEffectMain = nullptr;
    QComboBox *CmbEffectSub = nullptr;
    QSlider *SldSlide = nullptr;
    QLabel *LblSlideVal = nullptr;
    QPushButton *Btn_SlidePreView = nullptr;
    QList<QRadioButton *> OptInitDir;
    QLineEdit *OPTInitDirText = nullptr;
    QList<QRadioButton *> OptJpg2Exif;
    QCheckBox *CHK_OriginalBackUp = nullptr;
    QLineEdit *TXT_OriginalBackUP = nullptr;
    QList<QRadioButton *> Opt_ThumbVal;
    ColorSwatch *Lbl_ThumbBackColor = nullptr;
};
