// Scans one folder with the worker threads, as the main window does, and reports the peak
// resident size. Made for folders of a few pictures with long tails (a small picture followed
// by hundreds of megabytes), where what a decode reads decides the peak.
//
//   scan_memory_bench FOLDER

#include <cstdio>
#include <sys/resource.h>

#include "core/scan/folderscan.h"
#include "core/scan/heapreuse.h"
#include "core/scan/thumbnaildecoder.h"
#include "core/scan/thumbnaillistmodel.h"
#include "core/scan/thumbnailproducer.h"

int main(int argc, char **argv)
{
    keepFreedHeapForReuse(); // as the program does
    if (argc != 2) {
        std::fprintf(stderr, "usage: scan_memory_bench FOLDER\n");
        return 2;
    }
    FolderScanCallbacks callbacks;
    callbacks.logError = [](const QString &place, const ErrorRecord &error) {
        std::printf("logged: %s%s\n", qPrintable(place), qPrintable(error.description));
    };
    ThumbnailListModel model(decodeListPicture);
    FolderScan scan(model, ThumbnailProducer(QSize(160, 120), Qt::white), callbacks);
    FolderScanSettings settings;
    settings.offerConversion = false;
    const FolderScanResult result =
        scan.run(QString::fromLocal8Bit(argv[1]), settings, [](const QString &) { return false; });
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("%d of %d files listed, %d worker threads; peak resident size %ld KB\n",
                result.listed, result.count, ThumbnailDecoder::defaultWorkerCount(),
                usage.ru_maxrss);
    return 0;
}
