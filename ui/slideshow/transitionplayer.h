#pragma once

#include <functional>

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "core/slideshow/transitiontables.h"

// The two flags a running transition polls at every step. Each caller owns its own pair, so
// that one window's flags never cut another window's transition short.
struct TransitionFlags {
    qint16 stop = 0; // -1: return at once, without the final copy
    qint16 key = 0;  // nonzero: stop stepping, show the whole picture, and clear it
};

// Plays transitions on any widget, the screen. Once the player has an image, the screen
// shows it (painted over what the widget paints itself) until the player is destroyed.
//
// Usage: TransitionPlayer player(widget); player.runTransition(effect, picture, flags);
// The first run starts from the widget's background colour; every later one from where the
// last one ended (a widget resized since starts again from its background). Pending events run at
// every step, so a key handler may set the flags, or even start another transition on the same
// player, which completes before this one goes on. The screen must not be deleted while a
// transition runs on it.
class TransitionPlayer : public QObject
{
  public:
    // The player becomes a child of `screen`.
    explicit TransitionPlayer(QWidget *screen);

    // Turns the screen into `picture` (of the screen's size) by `effect`: after every step
    // that refreshes, the screen is repainted and the frame wait runs, so that each step is
    // seen. `picture` is read at every step: a caller that replaces it while the transition
    // runs has the transition go on towards the new picture. Returns false when flags.stop
    // ended it without the final copy; true when the screen shows the picture.
    bool runTransition(const SlideEffect &effect, const QImage &picture, TransitionFlags &flags);

    // Shows `image` (of the screen's size) at once; the next transition starts from it.
    void showImage(const QImage &image);

    // What the screen shows; null before the first transition.
    const QImage &screenImage() const { return m_screenImage; }

    // Runs after each refreshed step. By default it lets events run until the display's next
    // frame is due (one step per frame at most); tests replace it.
    void setFrameWait(std::function<void()> wait) { m_frameWait = std::move(wait); }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void startFromScreen();
    void refresh(const QRect &area);
    void waitForNextFrame();

    QPointer<QWidget> m_screen;
    QImage m_screenImage;
    std::function<void()> m_frameWait;
    QElapsedTimer m_lastFrame;
};
