#include "core/slideshow/transitionpainter.h"

#include <cstring>

#include <QPainter>

namespace
{

// Moves the screen's `source` so that its top left lands on `target`'s, overlapping or not.
QRect moveWithinScreen(QImage &screen, const QRect &source, const QPoint &target)
{
    const QPoint offset = target - source.topLeft();
    const QRect bounds = screen.rect();
    const QRect from = source & bounds & bounds.translated(-offset);
    if (from.isEmpty())
        return {};
    const int bytesPerPixel = screen.depth() / 8;
    const qsizetype rowBytes = qsizetype(from.width()) * bytesPerPixel;
    const bool upwards = offset.y() > 0; // walk rows so that none is overwritten before it moves
    for (int n = 0; n < from.height(); ++n) {
        const int y = upwards ? from.bottom() - n : from.top() + n;
        const uchar *src = screen.constScanLine(y) + qsizetype(from.left()) * bytesPerPixel;
        uchar *dst =
            screen.scanLine(y + offset.y()) + qsizetype(from.left() + offset.x()) * bytesPerPixel;
        std::memmove(dst, src, size_t(rowBytes));
    }
    return from.translated(offset);
}

void drawFromPicture(QPainter &painter, const QImage &picture, const TransitionOp &op)
{
    if (op.target.size() == op.source.size())
        painter.drawImage(op.target.topLeft(), picture, op.source);
    else
        painter.drawImage(QRectF(op.target), picture, QRectF(op.source));
}

} // namespace

QRect paintTransitionStep(QImage &screen, const QImage &picture, const TransitionStep &step)
{
    QRect changed;
    QPainter painter;
    for (const TransitionOp &op : step.ops) {
        if (op.target.isEmpty() || op.source.isEmpty())
            continue;
        if (op.kind == TransitionOp::Kind::ScreenMove) {
            if (painter.isActive())
                painter.end();
            changed |= moveWithinScreen(screen, op.source, op.target.topLeft());
            continue;
        }
        if (!painter.isActive())
            painter.begin(&screen);
        if (op.kind == TransitionOp::Kind::Blend) {
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            painter.setOpacity(op.alpha / 255.0);
        } else {
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.setOpacity(1.0);
        }
        drawFromPicture(painter, picture, op);
        changed |= op.target & screen.rect();
    }
    return changed;
}

void finishTransition(QImage &screen, const QImage &picture)
{
    if (screen.size() == picture.size()) {
        screen = picture;
        return;
    }
    const QRect whole = screen.rect();
    paintTransitionStep(screen, picture, {{{TransitionOp::Kind::Copy, whole, whole}}, true});
}
