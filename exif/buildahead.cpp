#include "exif/buildahead.h"

#include <QThread>

int buildAheadWorkers()
{
    // Counts the cores this process may run on (taskset, cpusets), not the machine's.
    return QThread::idealThreadCount();
}
