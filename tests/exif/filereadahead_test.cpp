#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>

#include "exif/filereadahead.h"

namespace
{

// The files read ahead stay within the window past the run's position; a FIFO
// named like a picture is passed over without blocking a reader; the run can
// wait for what it reached, and leaving early ends the readers.
TEST(FileReadAhead, ReadsWithinItsWindowAndNeverBlocksOnAFifo)
{
    QTemporaryDir folder;
    QStringList paths;
    for (int i = 0; i < 40; ++i) {
        const QString path = folder.filePath(QStringLiteral("p%1.jpg").arg(i));
        if (i == 1) {
            ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(FileReadAhead::ChunkBytes * 2 + 7, 'x'));
        }
        paths.append(path);
    }
    FileReadAhead ahead(paths, 8);
    ahead.waitUntilRead();
    EXPECT_EQ(ahead.filesStarted(), 8);
    ahead.reached(20);
    ahead.waitUntilRead();
    EXPECT_EQ(ahead.filesStarted(), 28);
    ahead.reached(39);
    ahead.waitUntilRead();
    EXPECT_EQ(ahead.filesStarted(), 40);
}

} // namespace
