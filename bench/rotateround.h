#pragma once

#include <cstdio>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "bench/benchsupport.h"
#include "bench/plainpictures.h"
#include "core/rotate/rotatefile.h"
#include "platform/spinwellloader.h"

// The program's per-file rotation steps over the files one after another, as the command line
// runs them without backups and without questions; every file is to end as `expected`. The
// wall time in milliseconds.
inline double rotationRound(const QStringList &paths, const VelmorRotPort &velmorRot,
                            const RotateSettings &settings, RotateOutcome expected)
{
    const RotatePorts ports{velmorRot, [](const QString &) { return true; }, [] {},
                            [](const QString &, int &attributes) {
                                attributes = 0;
                                return StepError::none();
                            },
                            [](const QString &, int) { return StepError::none(); }};
    const auto start = Clock::now();
    for (const QString &path : paths) {
        const RotateFileResult result = rotateOneFile(path, settings, ports);
        if (result.outcome != expected)
            std::fprintf(stderr, "%s: %d %s\n", qPrintable(path), result.code,
                         qPrintable(result.reason));
    }
    return millisecondsSince(start);
}

// What a rotation benchmark turns: the engine, and the camera picture kept in the cache folder
// (the first argument, else the build's). Null engine or empty picture when they cannot be had;
// the reason is printed.
struct RotationSource {
    QString cacheFolder;
    VelmorRotPort velmorRot;
    QByteArray jpeg;
};

inline RotationSource loadRotationSource(int argc, char **argv)
{
    RotationSource source;
    source.cacheFolder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TABILO_BENCH_CACHE);
    QString error;
    source.velmorRot = loadVelmorRot(&error);
    source.jpeg = cameraPicture(source.cacheFolder);
    if (!source.velmorRot || source.jpeg.isEmpty())
        std::fprintf(stderr, "cannot prepare: %s\n", qPrintable(error));
    return source;
}
