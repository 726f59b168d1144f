#include "ui/options/frmopt1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>

namespace
{

// Below 20 steps some transition effects divide by zero; above 200 a preview drags on.
constexpr int kSlowestSpeed = 20;
constexpr int kFastestSpeed = 200;

} // namespace

QWidget *frmOPT1::buildSlidePage()
{
    auto *page = new QWidget(this);
    QGroupBox *frame7 = frame("Frame7", QStringLiteral("その他"), page);
    frame7->setToolTip(QStringLiteral("ｽﾗｲﾄﾞｼｮｳの切替間隔｡"));
    OPTslideInterval = new QLineEdit(frame7);
    OPTslideInterval->setObjectName(QStringLiteral("OPTslideInterval"));
    OPTslideInterval->setMaximumWidth(48);
    // The up-down control: two arrows stepping the box by 1 within 1 to 60. A vertical scroll
    // bar's upper arrow lowers its value, so it counts the seconds negated and ▲ adds one.
    OPTSlideUpDown = new QScrollBar(Qt::Vertical, frame7);
    OPTSlideUpDown->setObjectName(QStringLiteral("OPTSlideUpDown"));
    OPTSlideUpDown->setRange(-60, -1);
    OPTSlideUpDown->setFixedHeight(OPTslideInterval->sizeHint().height());
    auto *label6 = new QLabel(QStringLiteral("間隔（秒）"), frame7);
    label6->setObjectName(QStringLiteral("Label6"));
    OPTslideAll = new QCheckBox(QStringLiteral("ﾌｫﾙﾀﾞ内の全画像を表示する(&A)"), frame7);
    OPTslideAll->setObjectName(QStringLiteral("OPTslideAll"));
    QPushButton *slideColor = button("BtnSlideColor", QStringLiteral("背景色(&B)"), frame7);
    LblSlideColor = new ColorSwatch(QString(), frame7);
    LblSlideColor->setObjectName(QStringLiteral("LblSlideColor"));
    LblSlideColor->setMinimumWidth(48);
    auto *others = new QGridLayout(frame7);
    others->addWidget(OPTslideInterval, 0, 0);
    others->addWidget(OPTSlideUpDown, 0, 1);
    others->addWidget(label6, 0, 2);
    others->addWidget(OPTslideAll, 1, 0, 1, 4);
    others->addWidget(slideColor, 2, 0, 1, 3);
    others->addWidget(LblSlideColor, 2, 3);
    connect(OPTslideInterval, &QLineEdit::textChanged, this, &frmOPT1::OPTslideInterval_Change);
    connect(OPTSlideUpDown, &QScrollBar::valueChanged, this,
            [this](int value) { OPTslideInterval->setText(QString::number(-value)); });
    connect(slideColor, &QPushButton::clicked, this,
            [this] { chooseColor({LblSlideColor}, ColorSwatch::Part::Background); });

    QGroupBox *frame8 = frame("Frame8", QStringLiteral("表示順序"), page);
    frame8->setToolTip(QStringLiteral("表示順序を指定｡"));
    OPTslideOrder = optionGroup(
        "OPTslideOrder",
        {QStringLiteral("昇順(&U)"), QStringLiteral("降順(&D)"), QStringLiteral("ﾗﾝﾀﾞﾑ(&R)")},
        frame8);
    auto *orders = new QVBoxLayout(frame8);
    for (QRadioButton *order : OPTslideOrder)
        orders->addWidget(order);

    QGroupBox *frame12 = frame("Frame12", QStringLiteral("ｽﾗｲﾄﾞ効果の設定"), page);
    CmbEffectMain = new QComboBox(frame12);
    CmbEffectMain->setObjectName(QStringLiteral("CmbEffectMain"));
    CmbEffectSub = new QComboBox(frame12);
    CmbEffectSub->setObjectName(QStringLiteral("CmbEffectSub"));
    auto *label5 = new QLabel(QStringLiteral("精度(&I)"), frame12);
    label5->setObjectName(QStringLiteral("Label5"));
    SldSlide = new QSlider(Qt::Horizontal, frame12);
    SldSlide->setObjectName(QStringLiteral("SldSlide"));
    SldSlide->setRange(kSlowestSpeed, kFastestSpeed);
    SldSlide->setSingleStep(1);
    SldSlide->setPageStep(10);
    label5->setBuddy(SldSlide);
    LblSlideVal = new QLabel(frame12);
    LblSlideVal->setObjectName(QStringLiteral("LblSlideVal"));
    LblSlideVal->setMinimumWidth(
        LblSlideVal->fontMetrics().horizontalAdvance(QStringLiteral("000")));
    Btn_SlidePreView = button("Btn_SlidePreView", QStringLiteral("ﾌﾟﾚﾋﾞｭｰ"), frame12);
    auto *effects = new QGridLayout(frame12);
    effects->addWidget(CmbEffectMain, 0, 0, 1, 2);
    effects->addWidget(CmbEffectSub, 0, 2, 1, 2);
    effects->addWidget(label5, 1, 0);
    effects->addWidget(SldSlide, 1, 1, 1, 2);
    effects->addWidget(LblSlideVal, 1, 3);
    effects->addWidget(Btn_SlidePreView, 2, 3);
    connect(CmbEffectMain, &QComboBox::activated, this, &frmOPT1::CmbEffectMain_Click);
    connect(SldSlide, &QSlider::valueChanged, this,
            [this](int value) { LblSlideVal->setText(QString::number(value)); });
    connect(Btn_SlidePreView, &QPushButton::clicked, this, &frmOPT1::Btn_SlidePreView_Click);

    auto *layout = new QGridLayout(page);
    layout->addWidget(frame7, 0, 0);
    layout->addWidget(frame8, 0, 1);
    layout->addWidget(frame12, 1, 0, 1, 2);
    layout->setRowStretch(2, 1);
    return page;
}
