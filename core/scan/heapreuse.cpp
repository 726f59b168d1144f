#include "core/scan/heapreuse.h"

#include <malloc.h>

namespace
{

// A list picture's pixels (77 KB) and a 12-megapixel picture drawn at an eighth (750 KB) stay
// below this and come from the heaps, which keep them for reuse.
constexpr int kLargestHeapBlock = 2 * 1024 * 1024;
// Each worker thread has its own heap, and its pictures are freed on the list's thread. By
// default the library returns a heap's free top to the system past 128 KB and takes the pages
// back one fault at a time for the next picture: eleven faults a thumbnail, a fifth of the
// listing's processor time. Kept up to more than the list's decode cache, the next folder's
// listing reuses the last one's.
constexpr int kFreeTopKept = 32 * 1024 * 1024;

} // namespace

void keepFreedHeapForReuse()
{
    mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
    mallopt(M_TRIM_THRESHOLD, kFreeTopKept);
}
