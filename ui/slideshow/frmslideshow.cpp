#include "ui/slideshow/frmslideshow.h"

#include <QCloseEvent>
#include <QRandomGenerator>
#include <QScreen>

#include "core/errorlog.h"
#include "core/paths.h"
#include "core/settings/colorref.h"
#include "core/settings/settings.h"

namespace
{

constexpr int kInvalidPictureError = 481;

SlideSequence startingSequence(const frmSlideShow::Source &source, const QStringList &names)
{
    const int start = slideStartIndex(source.mode, names, source.currentName);
    return SlideSequence(source.mode, int(names.size()), start,
                         [] { return QRandomGenerator::global()->generateDouble(); });
}

// Read at each slide: the options the show opens may change it.
bool autoOrient()
{
    return appSettings().general.AutoOrient == 1;
}

int intervalMilliseconds()
{
    SlideSettings slide = appSettings().slide;
    clampSlideSettings(slide);
    return slide.SlideInterval * 1000;
}

} // namespace

frmSlideShow::frmSlideShow(Source source, QWidget *parent)
    : QWidget(parent, Qt::Window), m_source(std::move(source)), m_names(m_source.names()),
      m_sequence(startingSequence(m_source, m_names)), m_player(this)
{
    setObjectName(QStringLiteral("frmSlideShow"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    connect(&m_timer1, &QTimer::timeout, this, &frmSlideShow::Timer1_Timer);
    createPopSld();
}

frmSlideShow::~frmSlideShow() = default;

void frmSlideShow::Form_Load()
{
    QPalette look = palette();
    look.setColor(QPalette::Window, backColor());
    setPalette(look);
    setAutoFillBackground(true);
    m_flags = {};
    m_running = true;
    showTitleBar(!appSettings().slide.SlideFullScreen);
    restartCountdown();
}

void frmSlideShow::setOptionsCommand(std::function<void()> openOptions)
{
    m_openOptions = std::move(openOptions);
    findChild<QAction *>(QStringLiteral("popSldOption"))->setEnabled(bool(m_openOptions));
}

void frmSlideShow::Timer1_Timer()
{
    if (m_busy)
        return;
    m_busy = true;
    step(+1);
    m_busy = false;
}

// One picture on (+1) or back (-1) in the present order. The folder is read anew first.
void frmSlideShow::step(int direction)
{
    const QStringList names = currentNames();
    if (names.isEmpty())
        return;
    const int order = appSettings().slide.SlideOrder;
    const int index = direction > 0 ? m_sequence.next(order) : m_sequence.previous(order);
    showSlide(slidePath(index), slideEffectFromSettings(appSettings().slide));
}

QStringList frmSlideShow::currentNames()
{
    if (m_source.mode == SlideSource::Folder) {
        QStringList names = m_source.names();
        if (names != m_names)
            m_sequence.followFolder(m_names, names, appSettings().slide.SlideOrder);
        m_names = std::move(names);
    }
    return m_names;
}

QString frmSlideShow::slidePath(int index) const
{
    const QString name = slideName(m_source.mode, m_names, index);
    return name.isEmpty() ? QString() : m_source.folder + name;
}

// The window keeps the last picture it could load; a vanished file is skipped by running the
// timer's step, which does nothing while a timed step is already under way.
void frmSlideShow::showSlide(const QString &path, const SlideEffect &effect)
{
    if (path.isEmpty() || isMinimized() || size().isEmpty())
        return; // drawn when the window is restored
    const PreparedSlide slide = m_prefetch.take(path, size(), backColor(), autoOrient());
    if (slide.outcome == PreparedSlide::Outcome::Vanished) {
        Timer1_Timer();
        return;
    }
    applySlide(slide, path);
    ++m_transitionDepth;
    const bool finished = m_player.runTransition(effect, m_picResize, m_flags);
    --m_transitionDepth;
    if (m_deleteWhenIdle) {
        if (m_transitionDepth == 0)
            deleteLater();
        return;
    }
    if (finished)
        prefetchNext();
}

void frmSlideShow::applySlide(const PreparedSlide &slide, const QString &path)
{
    if (slide.outcome == PreparedSlide::Outcome::Failed) {
        LogError(QStringLiteral("loadSlidePic ") + path,
                 {kInvalidPictureError, QStringLiteral("Tabilo"), slide.error});
    } else {
        m_picResize = slide.picture;
        m_title = SlideTitle{0, 0, 0, QString(), slide.natural, slide.percent, false};
    }
    if (m_picResize.size() != size()) { // nothing shown yet, or shown at another size
        m_picResize = QImage(size(), QImage::Format_RGB32);
        m_picResize.fill(backColor());
    }
    m_shownPath = path;
    showTitle();
}

void frmSlideShow::prefetchNext()
{
    if (m_sequence.isEmpty())
        return;
    const QString next = slidePath(m_sequence.peekNext(appSettings().slide.SlideOrder));
    if (!next.isEmpty())
        m_prefetch.start(next, size(), backColor(), autoOrient());
}

// Numbered by the position in the order (from 1 in both modes); the size and scale are those
// of the picture on the screen. Full screen has no title bar to show it in.
void frmSlideShow::showTitle()
{
    if (!m_title || appSettings().slide.SlideFullScreen)
        return;
    SlideTitle title = *m_title;
    title.number = m_sequence.position() - m_sequence.lowest() + 1;
    title.order = appSettings().slide.SlideOrder;
    title.total = m_sequence.count();
    title.fileName = fileNameOf(m_shownPath);
    title.paused = !m_running;
    setWindowTitle(slideTitleText(title));
}

// The current picture again at the new size, without a transition; the countdown restarts
// and a paused show stays paused.
void frmSlideShow::resizeEvent(QResizeEvent *)
{
    if (isMinimized())
        return;
    Form_Resize();
}

// A window restored at the size it had draws what it skipped while minimised.
void frmSlideShow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || isMinimized())
        return;
    if (static_cast<QWindowStateChangeEvent *>(event)->oldState() & Qt::WindowMinimized)
        Form_Resize();
}

void frmSlideShow::Form_Resize()
{
    m_timer1.stop();
    currentNames();
    SlideEffect none = slideEffectFromSettings(appSettings().slide);
    none.number = 0;
    showSlide(slidePath(m_sequence.current()), none);
    restartCountdown();
}

// Full screen covers the whole screen without a title bar; otherwise the window is maximised.
// The geometry is set as well, for desktops whose window manager does not maximise.
void frmSlideShow::showTitleBar(bool show)
{
    const QScreen *display = screen();
    if (show) {
        setGeometry(display->availableGeometry());
        showMaximized();
    } else {
        setGeometry(display->geometry());
        showFullScreen();
    }
    showTitle();
}

void frmSlideShow::restartCountdown()
{
    if (m_running && !m_deleteWhenIdle)
        m_timer1.start(intervalMilliseconds());
    else
        m_timer1.stop();
}

QColor frmSlideShow::backColor() const
{
    return colorFromColorRef(appSettings().slide.SlideBackColor, palette());
}

// A transition under way returns at once; the window goes when the last one has.
void frmSlideShow::closeEvent(QCloseEvent *event)
{
    m_timer1.stop();
    m_running = false;
    m_flags.stop = -1;
    event->accept();
    if (m_deleteWhenIdle)
        return;
    m_deleteWhenIdle = true;
    if (m_transitionDepth == 0)
        deleteLater();
}
