#include "ui/frminfo.h"

#include "core/errorlog.h"
#include "core/twips.h"

#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>

namespace
{

constexpr double kMinimumSideTwips = 2000;
constexpr double kInitialWidthTwips = 9000;
constexpr double kInitialHeightTwips = 3600;
constexpr double kListToButtonGapTwips = 10;
constexpr double kButtonMarginTwips = 5;

} // namespace

FrmInfo::FrmInfo(QWidget *owner)
    : QWidget(owner, Qt::Window), m_lstInfo(new QListWidget(this)),
      m_cmdHide(new QPushButton(QStringLiteral("表示しない"), this))
{
    setObjectName(QStringLiteral("FrmInfo"));
    setWindowTitle(QStringLiteral("ワーニング"));
    m_lstInfo->setObjectName(QStringLiteral("LST_info"));
    m_lstInfo->setSortingEnabled(false);
    m_cmdHide->setObjectName(QStringLiteral("CMD_Hide"));
    m_cmdHide->resize(m_cmdHide->sizeHint());
    connect(m_cmdHide, &QPushButton::clicked, this, &QWidget::hide);

    setMinimumSize(twips(kMinimumSideTwips), twips(kMinimumSideTwips));
    resize(twips(kInitialWidthTwips), twips(kInitialHeightTwips));
    layoutControls();
}

FrmInfo::~FrmInfo()
{
    if (m_isErrorLog)
        setErrorLogSink({});
}

void FrmInfo::installAsErrorLog()
{
    m_isErrorLog = true;
    setErrorLogSink([this](const QString &line) {
        appendLine(line);
        Q_EMIT errorLogged();
    });
}

void FrmInfo::appendLine(const QString &line)
{
    m_lstInfo->addItem(line);
    m_lstInfo->scrollToBottom();
}

void FrmInfo::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

// The list fills the window above the button; the button sits in the bottom right corner.
void FrmInfo::layoutControls()
{
    const QSize inner = size();
    const QSize button = m_cmdHide->size();
    m_lstInfo->setGeometry(0, 0, inner.width(),
                           inner.height() - button.height() - twips(kListToButtonGapTwips));
    m_cmdHide->move(inner.width() - button.width() - twips(kButtonMarginTwips),
                    inner.height() - button.height() - twips(kButtonMarginTwips));
}

int FrmInfo::twips(double value) const
{
    return twipsToPixels(value, logicalDpiX());
}
