#include "ui/slideshow/transitionplayer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPaintEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>

#include "core/errorlog.h"
#include "core/slideshow/transitionpainter.h"
#include "core/slideshow/transitionplan.h"

namespace
{

constexpr double kFallbackRefreshRate = 60;
constexpr int kInvalidCallError = 5;

double randomUnit()
{
    return QRandomGenerator::global()->generateDouble();
}

} // namespace

TransitionPlayer::TransitionPlayer(QWidget *screen)
    : QObject(screen), m_screen(screen), m_frameWait([this] { waitForNextFrame(); })
{
    screen->installEventFilter(this);
}

bool TransitionPlayer::runTransition(const SlideEffect &effect, const QImage &picture,
                                     TransitionFlags &flags)
{
    if (!m_screen)
        return false;
    startFromScreen();
    bool unknownEffect = false;
    const TransitionPlan plan =
        planTransition(effect, m_screenImage.size(), picture.size(), randomUnit, &unknownEffect);
    if (unknownEffect) {
        LogError(QStringLiteral("ないぞ"), {kInvalidCallError, QStringLiteral("Tabilo"),
                                            QStringLiteral("effect %1").arg(effect.number)});
    }
    m_lastFrame.start();
    QRect changed;
    for (const TransitionStep &step : plan.steps) {
        QCoreApplication::processEvents();
        if (flags.stop == -1 || !m_screen)
            return false;
        if (flags.key != 0) {
            flags.key = 0;
            break;
        }
        changed |= paintTransitionStep(m_screenImage, picture, step);
        if (step.refresh) {
            refresh(changed);
            changed = QRect();
            m_frameWait();
        }
    }
    finishTransition(m_screenImage, picture);
    refresh(m_screenImage.rect());
    return true;
}

void TransitionPlayer::showImage(const QImage &image)
{
    m_screenImage = image.convertToFormat(QImage::Format_RGB32);
    refresh(m_screenImage.rect());
}

// A screen the player has not drawn at its present size starts from its background colour.
// (Grabbing what it shows would send it the resize it may be handling right now.)
void TransitionPlayer::startFromScreen()
{
    const QSize size = m_screen->size();
    if (m_screenImage.size() == size)
        return;
    m_screenImage = QImage(size, QImage::Format_RGB32);
    m_screenImage.fill(m_screen->palette().color(m_screen->backgroundRole()));
}

void TransitionPlayer::refresh(const QRect &area)
{
    if (m_screen && !area.isEmpty())
        m_screen->repaint(area);
}

// Events run while the rest of the frame passes, so keys reach the show between steps.
void TransitionPlayer::waitForNextFrame()
{
    const QScreen *display = m_screen ? m_screen->screen() : nullptr;
    const double rate =
        display && display->refreshRate() > 1 ? display->refreshRate() : kFallbackRefreshRate;
    const qint64 frameNanoseconds = qint64(1e9 / rate);
    const qint64 left = frameNanoseconds - m_lastFrame.nsecsElapsed();
    if (left > 1000000) {
        QEventLoop loop;
        QTimer::singleShot(int(left / 1000000), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
    m_lastFrame.start();
}

bool TransitionPlayer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_screen || event->type() != QEvent::Paint || m_screenImage.isNull())
        return false;
    const QRect area = static_cast<QPaintEvent *>(event)->rect();
    QPainter painter(m_screen);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(area.topLeft(), m_screenImage, area);
    return true;
}
