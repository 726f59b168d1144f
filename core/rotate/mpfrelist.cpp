#include "core/rotate/mpfrelist.h"

#include "engine/mpfindex.h"
#include "exif/filepatch.h"
#include "exif/orientationfields.h"
#include "exif/workfile.h"

namespace
{

// The MPF index of a file's header and where its segment starts.
struct FoundIndex {
    MpfIndex index;
    qint64 segmentOffset = -1;
};

FoundIndex findIndex(const QByteArray &header)
{
    const auto *data = reinterpret_cast<const unsigned char *>(header.constData());
    Header walked;
    readHeader(data, size_t(header.size()), walked);
    FoundIndex found;
    for (const Segment &segment : walked.segments) {
        if (readMpfIndex(data, segment, found.index)) {
            found.segmentOffset = qint64(segment.offset);
            break;
        }
        found.index = MpfIndex();
    }
    return found;
}

QByteArray field(quint32 value, bool bigEndian)
{
    QByteArray bytes(4, '\0');
    writeMpfField(reinterpret_cast<unsigned char *>(bytes.data()), value, bigEndian);
    return bytes;
}

} // namespace

StepError relistMpfPictures(const QString &turned, const QString &transplanted)
{
    const FoundIndex before = findIndex(readJpegHeader(turned));
    const FoundIndex after = findIndex(readJpegHeader(transplanted));
    if (before.segmentOffset < 0 || after.segmentOffset < 0 ||
        before.index.entries.size() != after.index.entries.size())
        return StepError::none();
    qint64 sizeBefore = 0, sizeAfter = 0;
    if (StepError error = fileSize(turned, sizeBefore); error.failed)
        return error;
    if (StepError error = fileSize(transplanted, sizeAfter); error.failed)
        return error;
    // Everything after the main picture is copied unchanged, so it moved as the file grew.
    const qint64 picturesMoved = sizeAfter - sizeBefore;
    const qint64 indexMoved = after.segmentOffset - before.segmentOffset;
    const MpfIndex &index = after.index;
    QList<FilePatch> patches;
    for (const MpfEntry &entry : index.entries) {
        if (entry.offset == 0) {
            patches.append({after.segmentOffset + qint64(entry.sizeField),
                            field(quint32(qint64(entry.size) + picturesMoved), index.bigEndian)});
        } else if (picturesMoved != indexMoved) {
            patches.append({after.segmentOffset + qint64(entry.offsetField),
                            field(quint32(qint64(entry.offset) + picturesMoved - indexMoved),
                                  index.bigEndian)});
        }
    }
    return applyPatches(transplanted, patches);
}
