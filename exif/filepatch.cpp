#include "exif/filepatch.h"

#include "exif/workfile.h"

StepError applyPatches(const QString &path, const QList<FilePatch> &patches)
{
    for (qsizetype i = 0; i < patches.size(); ++i) {
        const FileSync sync = i + 1 == patches.size() ? FileSync::Yes : FileSync::No;
        if (StepError error = patchFile(path, patches[i].position, patches[i].bytes, sync);
            error.failed)
            return error;
    }
    return StepError::none();
}
