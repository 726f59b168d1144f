#include "ui/slideshow/frmslideshow.h"

#include <QAction>
#include <QActionGroup>
#include <QKeyEvent>
#include <QMenu>

#include "core/settings/settings.h"

namespace
{

constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kLeft = 37;
constexpr int kRight = 39;
constexpr int kWheelStep = 120; // a wheel's notch, in eighths of a degree

// The show's own keys by their character codes; every other key is 0, whatever its Qt code
// (the apostrophe's is 39, the Right arrow's code).
int keyCode(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        return kEscape;
    case Qt::Key_Space:
        return kSpace;
    case Qt::Key_Left:
        return kLeft;
    case Qt::Key_Right:
        return kRight;
    default:
        return 0;
    }
}

QAction *addItem(QMenu *menu, const QString &name, const QString &caption)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(name);
    return item;
}

} // namespace

// Every key first asks a running transition to finish; Esc and a pausing Space leave that
// request standing, so the transition ends at once with the whole picture.
void frmSlideShow::Form_KeyDown(int key)
{
    m_flags.key = qint16(key);
    switch (key) {
    case kEscape:
        close();
        break;
    case kSpace:
        togglePause();
        break;
    case kRight:
    case kLeft:
        step(key == kRight ? +1 : -1);
        restartCountdown();
        m_flags.key = 0;
        break;
    default:
        m_flags.key = 0;
        break;
    }
}

void frmSlideShow::togglePause()
{
    m_running = !m_running;
    if (m_running)
        m_flags.key = 0;
    restartCountdown();
    showTitle();
}

void frmSlideShow::keyPressEvent(QKeyEvent *event)
{
    Form_KeyDown(keyCode(event));
}

void frmSlideShow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::MiddleButton)
        Form_KeyDown(kSpace);
}

void frmSlideShow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton)
        popSld_Show(event->globalPosition().toPoint());
}

// A turn towards the user is the next picture, a turn away the previous one. Small deltas
// (touchpads, smooth wheels) add up to a notch before they step.
void frmSlideShow::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return;
    m_wheelRest += delta;
    while (std::abs(m_wheelRest) >= kWheelStep) {
        const bool towardsUser = m_wheelRest < 0;
        m_wheelRest += towardsUser ? kWheelStep : -kWheelStep;
        Form_KeyDown(towardsUser ? kRight : kLeft);
    }
}

void frmSlideShow::createPopSld()
{
    m_popSld = new QMenu(QStringLiteral("ﾎﾟｯﾌﾟｽﾗｲﾄﾞｼｮｳ"), this);
    m_popSld->setObjectName(QStringLiteral("popSld"));
    connect(addItem(m_popSld, QStringLiteral("popSldNext"), QStringLiteral("次へ(&N)")),
            &QAction::triggered, this, [this] { Form_KeyDown(kRight); });
    connect(addItem(m_popSld, QStringLiteral("popSldBefore"), QStringLiteral("前へ(&B)")),
            &QAction::triggered, this, [this] { Form_KeyDown(kLeft); });
    QAction *pause =
        addItem(m_popSld, QStringLiteral("popSldStop"), QStringLiteral("一時停止(&S)"));
    pause->setCheckable(true);
    connect(pause, &QAction::triggered, this, [this] { Form_KeyDown(kSpace); });
    m_popSld->addSeparator()->setObjectName(QStringLiteral("popSldBar1"));
    QAction *options =
        addItem(m_popSld, QStringLiteral("popSldOption"), QStringLiteral("ｽﾗｲﾄﾞｼｮｳの設定(&O)"));
    options->setEnabled(false);
    connect(options, &QAction::triggered, this, &frmSlideShow::popSldOption_Click);
    m_popSld->addSeparator()->setObjectName(QStringLiteral("popSldBar2"));
    auto *orders = new QActionGroup(this);
    const QStringList captions = {QStringLiteral("昇順(&U)"), QStringLiteral("降順(&D)"),
                                  QStringLiteral("ﾗﾝﾀﾞﾑ(&R)")};
    for (int i = 0; i < captions.size(); ++i) {
        QAction *order = addItem(m_popSld, QStringLiteral("popSldOrder%1").arg(i), captions[i]);
        order->setCheckable(true);
        orders->addAction(order);
        connect(order, &QAction::triggered, this,
                [i] { appSettings().slide.SlideOrder = qint16(i); });
    }
    m_popSld->addSeparator()->setObjectName(QStringLiteral("popSldBar3"));
    QAction *fullScreen =
        addItem(m_popSld, QStringLiteral("popSldFullScreen"), QStringLiteral("ﾌﾙｽｸﾘｰﾝ表示(&F)"));
    fullScreen->setCheckable(true);
    connect(fullScreen, &QAction::triggered, this, &frmSlideShow::popSldFullScreen_Click);
    m_popSld->addSeparator()->setObjectName(QStringLiteral("popSldBar4"));
    connect(addItem(m_popSld, QStringLiteral("popSldEnd"), QStringLiteral("ｽﾗｲﾄﾞｼｮｳの終了(&E)")),
            &QAction::triggered, this, [this] { Form_KeyDown(kEscape); });
    connect(m_popSld, &QMenu::aboutToHide, this, &frmSlideShow::restartCountdown);
}

// The countdown waits while the menu is open; its marks show the present settings.
void frmSlideShow::popSld_Show(const QPoint &globalPosition)
{
    m_timer1.stop();
    const SlideSettings &slide = appSettings().slide;
    for (int i = 0; i < 3; ++i) {
        findChild<QAction *>(QStringLiteral("popSldOrder%1").arg(i))
            ->setChecked(slide.SlideOrder == i);
    }
    findChild<QAction *>(QStringLiteral("popSldStop"))->setChecked(!m_running);
    findChild<QAction *>(QStringLiteral("popSldFullScreen"))->setChecked(slide.SlideFullScreen);
    m_popSld->popup(globalPosition);
}

// The options dialog opens on its slide show page; what it changed applies from here on, and
// a transition under way finishes at once. The closing pop-up restarted the countdown; the show
// waits until the dialog has closed.
void frmSlideShow::popSldOption_Click()
{
    if (!m_openOptions)
        return;
    m_timer1.stop();
    appSettings().general.TabOrder = 4;
    m_openOptions();
    restartCountdown();
    QPalette look = palette();
    look.setColor(QPalette::Window, backColor());
    setPalette(look);
    m_flags.key = 1;
}

void frmSlideShow::popSldFullScreen_Click(bool checked)
{
    appSettings().slide.SlideFullScreen = checked;
    showTitleBar(!checked);
}
