#pragma once

#include <QImage>
#include <QString>

// One preview of a slide transition: the picture the dialog shows, the picture it turns
// into, and the effect the user has chosen, at the speed the slider shows.
struct TransitionPreview {
    QImage from;
    QImage to;
    QString effectName;
    int effect = 0;
    QString variantName;
    int variant = 0;
    int speed = 80;
};

// The two sample pictures of the preview, `size` large: a dusk sky over hills, and the same
// scene by day, so every effect is seen to change the whole picture.
QImage previewSamplePicture(const QSize &size, bool day);
