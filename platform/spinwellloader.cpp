#include "platform/spinwellloader.h"

#include <mutex>

#include <QFile>
#include <QLibrary>

#include "platform/installlayout.h"
#include "spinwell/spinwell.h"

VelmorRotPort loadVelmorRot(QString *error)
{
    // Runs may start from several threads; the binding is made once.
    static std::mutex binding;
    const std::lock_guard lock(binding);
    static SpinwellVelmorRot bound = nullptr;
    if (!bound) {
        // Kept loaded for the rest of the run once bound.
        static QLibrary library(libraryFolder() + QStringLiteral("/libspinwell.so"));
        bound = reinterpret_cast<SpinwellVelmorRot>(library.resolve("velmorRot"));
        if (!bound) {
            *error = library.errorString();
            return {};
        }
    }
    const SpinwellVelmorRot velmorRot = bound;
    return [velmorRot](const QString &source, const QString &destination, qint32 code) {
        return velmorRot(QFile::encodeName(source).constData(),
                         QFile::encodeName(destination).constData(), code);
    };
}
