#pragma once

#include <QSize>
#include <QString>

// What the title of a running or paused slide show says.
struct SlideTitle {
    int number = 0; // the shown number: from 1 in both modes
    int order = 0;  // SlideOrder 0..2
    int total = 0;
    QString fileName;
    QSize natural; // the picture's own size
    int percent = 100;
    bool paused = false;
};

// "3 [昇 順] /12 IMG_0001.JPG  1600 X 1200 (50%)" followed by 16 blanks while running, or by
// "   [一時停止中]　" while paused.
QString slideTitleText(const SlideTitle &title);
