#include "platform/tempfolder.h"

#include <memory>

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtGlobal>

namespace
{
// QTemporaryDir makes the folder with mode 0700 and a unique name; the
// system temporary folder comes first, the user's runtime folder (itself
// private) is the fallback.
std::unique_ptr<QTemporaryDir> createPrivateFolder()
{
    const QStringList parents{QDir::tempPath(),
                              QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)};
    for (const QString &parent : parents) {
        if (parent.isEmpty())
            continue;
        auto folder = std::make_unique<QTemporaryDir>(parent + QStringLiteral("/tabilo-XXXXXX"));
        if (folder->isValid())
            return folder;
    }
    qWarning("Tabilo: no private temporary folder could be created");
    return nullptr;
}
} // namespace

QString temporaryFolder()
{
    // Destroyed at exit, which removes the folder and its work files.
    static const std::unique_ptr<QTemporaryDir> folder = createPrivateFolder();
    if (!folder)
        return QString();
    return folder->path() + u'/';
}
