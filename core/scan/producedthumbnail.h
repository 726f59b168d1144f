#pragma once

#include <functional>

#include <QByteArray>
#include <QImage>
#include <QString>

#include "core/errorlog.h"

// What the folder scan gets for one file: a list picture, or why there is none.
struct ProducedThumbnail {
    enum class Outcome {
        Listed,      // jpeg and image are set
        BadPicture,  // the picture (thumbnail or full) could not be decoded
        Failed,      // any other failure of the file's steps
        OutOfMemory, // the picture could not be held in memory
    };

    Outcome outcome = Outcome::Failed;
    bool fromExif = false; // the file's embedded Exif thumbnail was found and used
    QByteArray jpeg;       // the list picture kept compressed (Exif thumbnail or drawn one)
    QImage image;          // the list picture at the list's image size
    QString tag;           // ten size digits for drawn pictures, empty for Exif thumbnails
    bool damaged = false;  // Listed from damaged data: `error` holds the decoder's warning
    ErrorRecord error;     // for BadPicture and Failed, and for a damaged Listed picture
};

// Makes the list picture of one file. Called on worker threads, so it must
// not touch shared state.
using ThumbnailProduction = std::function<ProducedThumbnail(const QString &path)>;
