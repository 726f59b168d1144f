#pragma once

#include <functional>
#include <optional>

#include <QImage>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "core/slideshow/slideprefetch.h"
#include "core/slideshow/slidesequence.h"
#include "core/slideshow/slidetitle.h"
#include "ui/slideshow/transitionplayer.h"

class QAction;
class QMenu;

// The slide show: the pictures of the shown folder one after another, fitted to the window on
// the background colour, advancing on a timer through the chosen transition. Keys, the middle
// button, the wheel and a pop-up menu steer it. Each show is a window of its own, deleted when
// closed; the next picture is prepared in the background while the present one shows.
class frmSlideShow : public QWidget
{
    Q_OBJECT

  public:
    struct Source {
        QString folder;   // ends in "/"
        SlideSource mode; // SlideAll 1: the folder, otherwise the main list's entries
        // The folder's picture names (read anew at every step) or the main list's entries.
        std::function<QStringList()> names;
        QString currentName; // the main list's current entry, where the show starts
    };

    explicit frmSlideShow(Source source, QWidget *parent = nullptr);
    ~frmSlideShow() override;

    // Starts the show: maximised, or full screen as SlideFullScreen says, and the timer on.
    // The first picture is drawn when the window takes its size.
    void Form_Load();

    // What the options item of the pop-up menu runs (the options dialog on its slide show
    // page). Without one the item stays disabled.
    void setOptionsCommand(std::function<void()> openOptions);

    // The timer's step: the next picture, unless a step is already running.
    void Timer1_Timer();
    // A key by its character code: 27 Esc, 32 Space, 37 Left, 39 Right; others do nothing.
    void Form_KeyDown(int key);

    bool isRunning() const { return m_running; }
    const QTimer &timer1() const { return m_timer1; }
    const TransitionFlags &flags() const { return m_flags; }
    TransitionPlayer &player() { return m_player; }
    QMenu *popSld() const { return m_popSld; }
    const SlideSequence &sequence() const { return m_sequence; }
    // The path of the picture on the screen, empty before the first.
    QString shownPath() const { return m_shownPath; }

  protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

  private:
    void createPopSld();
    void popSld_Show(const QPoint &globalPosition);
    void popSldOption_Click();
    void popSldFullScreen_Click(bool checked);
    void Form_Resize();

    QString slidePath(int index) const;
    QStringList currentNames();
    void step(int direction);
    void showSlide(const QString &path, const SlideEffect &effect);
    void applySlide(const PreparedSlide &slide, const QString &path);
    void prefetchNext();
    void showTitle();
    void showTitleBar(bool show);
    void togglePause();
    void restartCountdown();
    QColor backColor() const;

    Source m_source;
    QStringList m_names;
    SlideSequence m_sequence;
    TransitionPlayer m_player;
    TransitionFlags m_flags;
    SlidePrefetch m_prefetch;
    QImage m_picResize; // the next screen, composed at the window's size
    QString m_shownPath;
    std::optional<SlideTitle> m_title;
    QTimer m_timer1;
    bool m_running = false;
    bool m_busy = false;
    int m_wheelRest = 0;
    int m_transitionDepth = 0;
    bool m_deleteWhenIdle = false;
    std::function<void()> m_openOptions;
    QMenu *m_popSld = nullptr;
};
