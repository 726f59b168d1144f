#include "core/cameratable.h"
#include "fuzz/fuzzinput.h"

#include <cstdlib>

namespace
{

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CameraTable table;
    require(table.load(writeFuzzInput(data, size)) == CameraTable::LoadResult::Loaded);
    require(table.count() <= CameraTable::kMaxModels);
    for (const CameraModel &model : table.models()) {
        // A comment never becomes a record.
        require(!model.name.startsWith(u'\''));
        for (const double focalLength : {0.0, 5.4, 1e9}) {
            const FocalLengthDisplay display = table.lookup(model.name, focalLength);
            require(!display.focalLengthLine.isEmpty());
            require(!display.sliderVisible || (display.sliderMinimum <= display.sliderValue &&
                                               display.sliderValue <= display.sliderMaximum));
        }
    }
    return 0;
}
