#include "ui/options/frmopt1.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace
{

QCheckBox *checkBox(const char *name, const QString &caption, QWidget *parent)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QWidget *pageOf(QWidget *parent, const QList<QWidget *> &parts)
{
    auto *page = new QWidget(parent);
    auto *layout = new QVBoxLayout(page);
    for (QWidget *part : parts) {
        part->setParent(page);
        layout->addWidget(part);
    }
    layout->addStretch(1);
    return page;
}

void stack(QGroupBox *box, const QList<QWidget *> &parts)
{
    auto *layout = new QVBoxLayout(box);
    for (QWidget *part : parts)
        layout->addWidget(part);
}

QList<QWidget *> widgets(const QList<QRadioButton *> &buttons)
{
    return {buttons.begin(), buttons.end()};
}

} // namespace

QGroupBox *frmOPT1::frame(const char *name, const QString &caption, QWidget *parent)
{
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

// Each button is named "NAME_i", i its index in the group, which is the stored value.
QList<QRadioButton *> frmOPT1::optionGroup(const char *name, const QStringList &captions,
                                           QWidget *parent)
{
    QList<QRadioButton *> group;
    for (int i = 0; i < captions.size(); ++i) {
        auto *option = new QRadioButton(captions[i], parent);
        option->setObjectName(QStringLiteral("%1_%2").arg(QString::fromLatin1(name)).arg(i));
        group.append(option);
    }
    return group;
}

QPushButton *frmOPT1::button(const char *name, const QString &caption, QWidget *parent)
{
    auto *pushButton = new QPushButton(caption, parent);
    pushButton->setObjectName(QString::fromLatin1(name));
    pushButton->setAutoDefault(false);
    return pushButton;
}

QWidget *frmOPT1::buildDisplayPage()
{
    QGroupBox *frame1 = frame("Frame1", QStringLiteral("画像の表示"), this);
    OPTcheck2 = checkBox("OPTcheck2", QStringLiteral("画像ｻｲｽﾞを自動調整(&A)"), frame1);
    OPTcheck2->setToolTip(QStringLiteral("実画像が画面に入りきらない時、自動的に縮小表示します。"));
    OPTcheck0 =
        checkBox("OPTcheck0", QStringLiteral("ﾌｧｲﾙ 読み込み中に画像を表示しない(&N)"), frame1);
    OPTcheck0->setToolTip(QStringLiteral("ONにするとｻﾑﾈｲﾙ画像の読み込みが速くなります｡"));
    stack(frame1, {OPTcheck2, OPTcheck0});

    QGroupBox *frame3 = frame("Frame3", QStringLiteral("表示する画像"), this);
    OPTvisibleMode =
        optionGroup("OPTvisibleMode",
                    {QStringLiteral("全ての画像(&L)"), QStringLiteral("公開画像のみ(&V)"),
                     QStringLiteral("非公開画像のみ(&H)")},
                    frame3);
    const QStringList modeTips = {QStringLiteral("公開画像と非公開画像を両方表示します。"),
                                  QStringLiteral("公開画像のみ表示します｡"),
                                  QStringLiteral("非公開画像のみ表示します｡")};
    for (int i = 0; i < 3; ++i)
        OPTvisibleMode[i]->setToolTip(modeTips[i]);
    stack(frame3, widgets(OPTvisibleMode));

    QGroupBox *frame14 = frame("Frame14", QStringLiteral("画像の選択"), this);
    CHK_Hottrack =
        checkBox("CHK_Hottrack", QStringLiteral("ﾏｳｽ移動による選択を有効にする(&T)"), frame14);
    CHK_Hottrack->setToolTip(QStringLiteral("画像の上でﾎﾟｲﾝﾀを静止するだけで画像が選択できます"));
    stack(frame14, {CHK_Hottrack});
    return pageOf(this, {frame1, frame3, frame14});
}

QWidget *frmOPT1::buildThumbnailPage()
{
    QGroupBox *frame2 = frame("Frame2", QStringLiteral("ｻﾑﾈｲﾙの大きさ"), this);
    OPTthumbSize = optionGroup(
        "OPTthumbSize",
        {QStringLiteral("大きめ(&B)"), QStringLiteral("標準(&M)"), QStringLiteral("小さめ(&S)")},
        frame2);
    const QStringList sizeTips = {
        QStringLiteral("ｻﾑﾈｲﾙを少し大きめに表示します｡"),
        QStringLiteral("ｻﾑﾈｲﾙを標準（Exifﾌｧｲﾙに記録されている大きさ）で表示します。"),
        QStringLiteral("ｻﾑﾈｲﾙを少し小さめに表示します｡")};
    for (int i = 0; i < 3; ++i)
        OPTthumbSize[i]->setToolTip(sizeTips[i]);
    stack(frame2, widgets(OPTthumbSize));

    QGroupBox *frameCache = frame("FrameThumbCache", QStringLiteral("ｷｬｯｼｭ"), this);
    CHK_ThumbCache = checkBox("CHK_ThumbCache", QStringLiteral("ｻﾑﾈｲﾙをｷｬｯｼｭする"), frameCache);
    CHK_ThumbCache->setToolTip(
        QStringLiteral("Exifｻﾑﾈｲﾙのない画像のｻﾑﾈｲﾙを保存し、次回から素早く表示します｡"));
    stack(frameCache, {CHK_ThumbCache});
    return pageOf(this, {frame2, frameCache});
}

QWidget *frmOPT1::buildViewerPage()
{
    QGroupBox *frame4 = frame("Frame4", QStringLiteral("外部ﾋﾞｭｰｱｰの設定"), this);
    frame4->setToolTip(QStringLiteral("PhotoShop等のﾌﾟﾛｸﾞﾗﾑ(.exeﾌｧｲﾙ)を指定します｡"));
    auto *rows = new QGridLayout(frame4);
    EXOpt = optionGroup("EXOpt", {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")},
                        frame4);
    for (int row = 0; row < 3; ++row) {
        auto *path = new QLineEdit(frame4);
        path->setObjectName(QStringLiteral("OPTText1_%1").arg(row));
        QPushButton *browse = button("OPTExProgButton", QStringLiteral("..."), frame4);
        browse->setObjectName(QStringLiteral("OPTExProgButton_%1").arg(row));
        OPTText1.append(path);
        OPTExProgButton.append(browse);
        rows->addWidget(EXOpt[row], row, 0);
        rows->addWidget(path, row, 1);
        rows->addWidget(browse, row, 2);
        connect(path, &QLineEdit::textChanged, this, &frmOPT1::checkProgramPaths);
        connect(browse, &QPushButton::clicked, this, [this, row] { OPTExProgButton_Click(row); });
    }
    OPTcheck4 = checkBox(
        "OPTcheck4", QStringLiteral("ｻﾑﾈｲﾙのﾀﾞﾌﾞﾙｸﾘｯｸですぐに外部ﾋﾞｭｰｱｰを起動する(&Q)"), frame4);
    OPTcheck4->setToolTip(
        QStringLiteral("ONにするとｻﾑﾈｲﾙをﾀﾞﾌﾞﾙｸﾘｯｸすると即外部ﾋﾞｭｰｱｰを起動します｡"));
    rows->addWidget(OPTcheck4, 3, 0, 1, 3);
    CHK_AutoOrient =
        checkBox("CHK_AutoOrient", QStringLiteral("Exif の回転情報に従って表示する"), this);
    return pageOf(this, {frame4, CHK_AutoOrient});
}

QWidget *frmOPT1::buildFontPage()
{
    QGroupBox *frame6 = frame("Frame6", QStringLiteral("ｻﾑﾈｲﾙｳｲﾝﾄﾞｳ"), this);
    QPushButton *font2 = button("OPTfont2", QStringLiteral("ﾌｫﾝﾄ(&T)"), frame6);
    font2->setToolTip(QStringLiteral("ｻﾑﾈｲﾙの下に表示しているﾌｧｲﾙ名のﾌｫﾝﾄ"));
    QPushButton *color1 = button("OPTcolor1", QStringLiteral("ﾊﾞｯｸｶﾗｰ(&C)"), frame6);
    color1->setToolTip(QStringLiteral("ｻﾑﾈｲﾙのﾊﾞｯｸｶﾗｰ"));
    QGroupBox *frame11 = frame("Frame11", QStringLiteral("ﾌｫﾝﾄｶﾗｰ"), frame6);
    QPushButton *colorExif = button("OPTcolorExif", QStringLiteral("Exifﾌｧｲﾙ"), frame11);
    QPushButton *colorNotExif = button("OPTcolorNotExif", QStringLiteral("非Exifﾌｧｲﾙ"), frame11);
    auto *fontColors = new QHBoxLayout(frame11);
    fontColors->addWidget(colorExif);
    fontColors->addWidget(colorNotExif);
    labelExif = new ColorSwatch(QStringLiteral("ABCD abcd 1234"), frame6);
    labelExif->setObjectName(QStringLiteral("labelExif"));
    labelNotExif = new ColorSwatch(QStringLiteral("ABCD abcd 1234"), frame6);
    labelNotExif->setObjectName(QStringLiteral("labelNotExif"));
    auto *thumbLayout = new QGridLayout(frame6);
    thumbLayout->addWidget(font2, 0, 0);
    thumbLayout->addWidget(color1, 1, 0);
    thumbLayout->addWidget(frame11, 0, 1, 2, 1);
    thumbLayout->addWidget(labelExif, 2, 0, 1, 2);
    thumbLayout->addWidget(labelNotExif, 3, 0, 1, 2);

    QGroupBox *frame5 = frame("Frame5", QStringLiteral("ﾃﾞｰﾀｳｲﾝﾄﾞｳ"), this);
    frame5->setToolTip(QStringLiteral("Exifﾃﾞｰﾀを表示しているﾌｫﾝﾄを指定できます｡"));
    QPushButton *font1 = button("OPTfont1", QStringLiteral("ﾌｫﾝﾄ(&H)"), frame5);
    labelDataFont = new ColorSwatch(QStringLiteral("ABCD abcd 1234"), frame5);
    labelDataFont->setObjectName(QStringLiteral("labelDataFont"));
    labelDataFont->setAutoFillBackground(false);
    stack(frame5, {font1, labelDataFont});

    const QList<ColorSwatch *> both = {labelExif, labelNotExif};
    connect(font2, &QPushButton::clicked, this, [this] {
        chooseFont(m_thumbFont, {labelExif, labelNotExif});
    });
    connect(font1, &QPushButton::clicked, this,
            [this] { chooseFont(m_dataFont, {labelDataFont}); });
    connect(color1, &QPushButton::clicked, this,
            [this, both] { chooseColor(both, ColorSwatch::Part::Background); });
    connect(colorExif, &QPushButton::clicked, this,
            [this] { chooseColor({labelExif}, ColorSwatch::Part::Text); });
    connect(colorNotExif, &QPushButton::clicked, this,
            [this] { chooseColor({labelNotExif}, ColorSwatch::Part::Text); });
    return pageOf(this, {frame6, frame5});
}

QWidget *frmOPT1::buildInitDirPage()
{
    QGroupBox *frame10 = frame("Frame10", QStringLiteral("初期ﾌｫﾙﾀﾞの設定"), this);
    OptInitDir = optionGroup("OptInitDir",
                             {QStringLiteral("次のﾌｫﾙﾀﾞを初期ﾌｫﾙﾀﾞとする(&U)"),
                              QStringLiteral("最後にｱｸｾｽしたﾌｫﾙﾀﾞを初期ﾌｫﾙﾀﾞとする(&L)")},
                             frame10);
    OPTInitDirText = new QLineEdit(frame10);
    OPTInitDirText->setObjectName(QStringLiteral("OPTInitDirText"));
    QPushButton *browse = button("OPTInitDirButtun", QStringLiteral("..."), frame10);
    connect(browse, &QPushButton::clicked, this, &frmOPT1::OPTInitDirButtun_Click);
    auto *layout = new QGridLayout(frame10);
    layout->addWidget(OptInitDir[0], 0, 0, 1, 2);
    layout->addWidget(OPTInitDirText, 1, 0);
    layout->addWidget(browse, 1, 1);
    layout->addWidget(OptInitDir[1], 2, 0, 1, 2);
    return pageOf(this, {frame10});
}

QWidget *frmOPT1::buildConversionPage()
{
    QGroupBox *frame15 =
        frame("Frame15", QStringLiteral("ﾌｫﾙﾀﾞ内に非Exifﾌｧｲﾙがあった場合の動作"), this);
    OptJpg2Exif = optionGroup(
        "OptJpg2Exif",
        {QStringLiteral("変換確認ﾒｯｾｰｼﾞを表示する(&D)"), QStringLiteral("変換しない(&N)")},
        frame15);
    stack(frame15, widgets(OptJpg2Exif));
    return pageOf(this, {frame15});
}

QWidget *frmOPT1::buildRotationPage()
{
    QGroupBox *frame9 = frame("Frame9", QStringLiteral("ｵﾘｼﾞﾅﾙ画像の処理"), this);
    CHK_OriginalBackUp = checkBox("CHK_OriginalBackUp",
                                  QStringLiteral("ｵﾘｼﾞﾅﾙ画像をﾊﾞｯｸｱｯﾌﾟする（強く推奨）"), frame9);
    auto *label2 = new QLabel(QStringLiteral("Tabiloは下記ﾌｫﾙﾀﾞを自動的に作成します。"), frame9);
    label2->setObjectName(QStringLiteral("Label2"));
    auto *label1 = new QLabel(QStringLiteral("ﾌｫﾙﾀﾞ名："), frame9);
    label1->setObjectName(QStringLiteral("Label1"));
    TXT_OriginalBackUP = new QLineEdit(frame9);
    TXT_OriginalBackUP->setObjectName(QStringLiteral("TXT_OriginalBackUP"));
    auto *folderRow = new QWidget(frame9);
    auto *folderLayout = new QHBoxLayout(folderRow);
    folderLayout->setContentsMargins(0, 0, 0, 0);
    folderLayout->addWidget(label1);
    folderLayout->addWidget(TXT_OriginalBackUP, 1);
    stack(frame9, {CHK_OriginalBackUp, label2, folderRow});

    QGroupBox *frame13 = frame("Frame13", QStringLiteral("ｻﾑﾈｲﾙの画質"), this);
    Opt_ThumbVal = optionGroup(
        "Opt_ThumbVal",
        {QStringLiteral("高画質(&H)"), QStringLiteral("標準(&N)"), QStringLiteral("低画質(&L)")},
        frame13);
    QPushButton *backColor =
        button("Cmd_ThumbBackColor", QStringLiteral("ｻﾑﾈｲﾙのﾊﾞｯｸｶﾗｰ(&T)"), frame13);
    Lbl_ThumbBackColor = new ColorSwatch(QString(), frame13);
    Lbl_ThumbBackColor->setObjectName(QStringLiteral("Lbl_ThumbBackColor"));
    Lbl_ThumbBackColor->setMinimumWidth(48);
    connect(backColor, &QPushButton::clicked, this,
            [this] { chooseColor({Lbl_ThumbBackColor}, ColorSwatch::Part::Background); });
    auto *colorRow = new QWidget(frame13);
    auto *colorLayout = new QHBoxLayout(colorRow);
    colorLayout->setContentsMargins(0, 0, 0, 0);
    colorLayout->addWidget(backColor);
    colorLayout->addWidget(Lbl_ThumbBackColor);
    colorLayout->addStretch(1);
    QList<QWidget *> parts = widgets(Opt_ThumbVal);
    parts.append(colorRow);
    stack(frame13, parts);
    return pageOf(this, {frame9, frame13});
}
