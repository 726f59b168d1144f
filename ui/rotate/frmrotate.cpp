#include "ui/rotate/frmrotate.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/help/help.h"
#include "ui/rotate/rotatepreviews.h"

namespace
{

constexpr int kHelpContext = 3000;
constexpr int kOptionsPage = 7; // "画像の回転"
constexpr int kStepsPerPicture = 10;

// Grid cells of the previews by rotation code: the picture turns around the grid.
constexpr int kPreviewRow[4] = {0, 1, 0, 1};
constexpr int kPreviewColumn[4] = {0, 1, 1, 0};

} // namespace

frmRotate::frmRotate(const RotateTarget &target, QWidget *parent, BridgeLoader loadBridge)
    : QDialog(parent), m_target(target)
{
    setObjectName(QStringLiteral("frmRotate"));
    setModal(true);
    buildControls();
    openDialog(loadBridge);
}

void frmRotate::buildControls()
{
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildPreviewGrid());

    LblInfo = new QLabel(this);
    LblInfo->setObjectName(QStringLiteral("LblInfo"));
    LblInfo->setWordWrap(true);
    LblInfo->setMinimumHeight(LblInfo->fontMetrics().lineSpacing() * 3);
    layout->addWidget(LblInfo);

    Prb = new QProgressBar(this);
    Prb->setObjectName(QStringLiteral("Prb"));
    Prb->setRange(0, kStepsPerPicture);
    Prb->setValue(0);
    Prb->setTextVisible(false);
    layout->addWidget(Prb);

    auto *files = new QHBoxLayout;
    PrbFiles = new QProgressBar(this);
    PrbFiles->setObjectName(QStringLiteral("PrbFiles"));
    PrbFiles->setRange(0, 1);
    PrbFiles->setValue(0);
    PrbFiles->setTextVisible(false);
    LblFileNumber = new QLabel(QStringLiteral("0 / 0 ﾌｧｲﾙ"), this);
    LblFileNumber->setObjectName(QStringLiteral("LblFileNumber"));
    LblFileNumber->hide();
    files->addWidget(PrbFiles, 1);
    files->addWidget(LblFileNumber);
    layout->addLayout(files);

    auto *buttons = new QHBoxLayout;
    Cmd_OK = new QPushButton(QStringLiteral("実行"), this);
    Cmd_Cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    Cmd_Setting = new QPushButton(QStringLiteral("設定"), this);
    Cmd_Help = new QPushButton(QStringLiteral("ヘルプ"), this);
    const QList<QPair<QPushButton *, QString>> named = {
        {Cmd_OK, QStringLiteral("Cmd_OK")},
        {Cmd_Cancel, QStringLiteral("Cmd_Cancel")},
        {Cmd_Setting, QStringLiteral("Cmd_Setting")},
        {Cmd_Help, QStringLiteral("Cmd_Help")}};
    for (const auto &[button, name] : named) {
        button->setObjectName(name);
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    Cmd_OK->setDefault(true);
    layout->addLayout(buttons);

    connect(Cmd_OK, &QPushButton::clicked, this, &frmRotate::Cmd_OK_Click);
    connect(Cmd_Cancel, &QPushButton::clicked, this, &frmRotate::Cmd_Cancel_Click);
    connect(Cmd_Help, &QPushButton::clicked, this, &frmRotate::Cmd_Help_Click);
    connect(Cmd_Setting, &QPushButton::clicked, this, &frmRotate::Cmd_Setting_Click);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget *frmRotate::buildPreviewGrid()
{
    auto *grid = new QWidget(this);
    auto *cells = new QGridLayout(grid);
    const QString captions[4] = {QStringLiteral("回転なし(&N)"), QStringLiteral("右回転(&R)"),
                                 QStringLiteral("反転(&V)"), QStringLiteral("左回転(&L)")};
    for (int code = 0; code < 4; ++code) {
        ImgThm[code] = new QLabel(grid);
        ImgThm[code]->setObjectName(QStringLiteral("ImgThm_%1").arg(code));
        ImgThm[code]->setAlignment(Qt::AlignCenter);
        ImgThm[code]->installEventFilter(this);
        Shape1[code] = new QFrame(ImgThm[code]);
        Shape1[code]->setObjectName(QStringLiteral("Shape1_%1").arg(code));
        Shape1[code]->setAttribute(Qt::WA_TransparentForMouseEvents);
        Shape1[code]->setStyleSheet(QStringLiteral("border: 2px solid rgb(255, 0, 0);"));
        OptRot[code] = new QRadioButton(captions[code], grid);
        OptRot[code]->setObjectName(QStringLiteral("OptRot_%1").arg(code));
        connect(OptRot[code], &QRadioButton::toggled, this, [this, code](bool checked) {
            if (checked)
                chooseDirection(code);
        });
        auto *cell = new QVBoxLayout;
        cell->addWidget(ImgThm[code], 0, Qt::AlignCenter);
        cell->addWidget(OptRot[code], 0, Qt::AlignCenter);
        cells->addLayout(cell, kPreviewRow[code], kPreviewColumn[code]);
    }
    return grid;
}

void frmRotate::arrangePreviews()
{
    for (int code = 0; code < 4; ++code) {
        ImgThm[code]->setFixedSize(kPreviewSide, kPreviewSide);
        Shape1[code]->setGeometry(ImgThm[code]->rect());
        Shape1[code]->hide();
    }
    OptRot[0]->setChecked(true);
    chooseDirection(0);
}

void frmRotate::chooseDirection(int code)
{
    for (int i = 0; i < 4; ++i)
        Shape1[i]->setVisible(i == code);
}

int frmRotate::chosenCode() const
{
    for (int code = 0; code < 4; ++code) {
        if (OptRot[code]->isChecked())
            return code;
    }
    return 0;
}

bool frmRotate::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int code = 0; code < 4; ++code) {
            if (watched == ImgThm[code] && OptRot[code]->isEnabled())
                OptRot[code]->setChecked(true);
        }
    }
    return QDialog::eventFilter(watched, event);
}

// The pointer is the normal one again at once, even while the batch finishes its picture.
void frmRotate::Cmd_Cancel_Click()
{
    if (m_inBatch) {
        QApplication::changeOverrideCursor(Qt::ArrowCursor);
        m_abort = true; // the batch stops before its next picture, then closes the dialog
    } else {
        QDialog::reject();
    }
}

void frmRotate::reject()
{
    Cmd_Cancel_Click();
}

void frmRotate::closeEvent(QCloseEvent *event)
{
    if (m_inBatch) {
        Cmd_Cancel_Click();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmRotate::Cmd_Help_Click()
{
    showHelpContext(kHelpContext);
    showHelpContents();
}

// The thumbnail quality and colour this dialog took when it opened stay as they are for it.
void frmRotate::Cmd_Setting_Click()
{
    Q_EMIT optionsRequested(kOptionsPage);
}
