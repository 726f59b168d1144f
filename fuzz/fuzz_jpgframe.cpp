#include "exif/jpgsize.h"
#include "fuzz/fuzzinput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = writeFuzzInput(data, size);
    volatile qint64 sink = GetJpegSize(path).width + GetJpegSize(path).height +
                           GetJpegFrameType(path) + SizeNotMultipleOf8(path) + FindJpegBody(path);
    (void)sink;
    return 0;
}
