#include "ui/help/frmabout.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/help/sysinfo.h"
#include "ui/japanesefonts.h"

namespace
{
constexpr int iconSize = 48;
} // namespace

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Tabiloのﾊﾞｰｼﾞｮﾝ情報"));

    auto *picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(QIcon(QStringLiteral(":/icons/tabilo.svg")).pixmap(iconSize, iconSize));
    picIcon->setAlignment(Qt::AlignTop);

    auto *texts = new QVBoxLayout;
    QLabel *lblTitle = addLabel("lblTitle", QStringLiteral("Tabilo"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    texts->addWidget(lblTitle);
    texts->addWidget(addLabel("lblVersion", versionText()));
    texts->addWidget(
        addLabel("lblDescription", QStringLiteral("Exifﾌｫｰﾏｯﾄ ﾃﾞｼﾞﾀﾙｶﾒﾗ画像 一覧表示ﾌﾟﾛｸﾞﾗﾑ")));
    texts->addSpacing(12);
    QLabel *label1 = addLabel(
        "Label1",
        QStringLiteral("本ﾌﾟﾛｸﾞﾗﾑの使用により生じた損害について、作者は責任を負いません。"));
    label1->setFont(fontFromSetting(QStringLiteral("ＭＳ Ｐゴシック"), label1->font().pointSizeF(),
                                    false, false));
    texts->addWidget(label1);
    texts->addWidget(addLabel("lblDisclaimer", QStringLiteral("本ﾌﾟﾛｸﾞﾗﾑはﾌﾘｰｿﾌﾄです。")));
    texts->addStretch();

    auto *cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    auto *cmdSysInfo = new QPushButton(QStringLiteral("ｼｽﾃﾑ情報(&S)..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(picIcon);
    layout->addLayout(texts, 1);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString frmAbout::versionText()
{
    // The project's version: major, minor and revision as plain numbers.
    return QStringLiteral("Version ") + QStringLiteral(TABILO_VERSION);
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

QLabel *frmAbout::addLabel(const char *name, const QString &text)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}
