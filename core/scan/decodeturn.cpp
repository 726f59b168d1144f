#include "core/scan/decodeturn.h"

#include <algorithm>
#include <semaphore>
#include <thread>

namespace
{

std::counting_semaphore<> &turns()
{
    static std::counting_semaphore<> free(DecodeTurn::count());
    return free;
}

} // namespace

DecodeTurn::DecodeTurn()
{
    turns().acquire();
}

DecodeTurn::~DecodeTurn()
{
    turns().release();
}

int DecodeTurn::count()
{
    return int(std::max(1u, std::thread::hardware_concurrency()));
}
