#pragma once

#include <QSize>
#include <QString>

// The viewer's window arithmetic, in screen pixels, kept free of widgets so
// that it can be checked on its own.

// One unit of mouse travel moves the picture this many pixels.
constexpr int viewerDragFactor = 2;

// The window title: the path, then the picture's size ("   (1600 × 1200 )").
QString viewerTitle(const QString &picturePath, const QSize &pictureSize);

// The outer window size the viewer opens with. `frame` is the outer size minus
// the inner (picture) area; `available` is the work area. Fitting mode shrinks
// a picture that does not fit, aspect kept; natural size mode clips each side
// to the work area. A picture that fits opens at exactly its size plus frame.
QSize viewerOpeningSize(const QSize &picture, const QSize &frame, const QSize &available,
                        bool fitToWindow);

// The size at which fitting mode shows the whole picture inside `inner`,
// aspect kept (larger than the picture when the window is larger).
QSize fittedPictureSize(const QSize &picture, const QSize &inner);

// Natural size mode along one axis: how many picture pixels are visible.
// A picture at least as long as the window shows a window's worth of it.
int visibleLength(int pictureLength, int innerLength);

// The scroll offset along one axis after the pointer moved from `lastPos` to
// `pos` while dragging: twice the travel, against the pointer's direction,
// never past the picture's edges (0 .. pictureLength - visibleLength).
int draggedOffset(int offset, double lastPos, double pos, int pictureLength, int visibleLen);
