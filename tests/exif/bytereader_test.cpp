#include "exif/bytereader.h"
#include "exif/filebytereader.h"
#include "exif/readerror.h"
#include "tests/support/tiffbuilder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr qint64 kHuge = std::numeric_limits<qint64>::max();

const QByteArray kBytes("\x01\x02\x03\x04\x05\x06", 6);

TEST(ByteReaderTest, ReadsBothByteOrders)
{
    const ByteReader reader(kBytes);
    EXPECT_EQ(reader.u8(5), 0x06);
    EXPECT_EQ(reader.u16(0, ByteOrder::LittleEndian), 0x0201);
    EXPECT_EQ(reader.u16(0, ByteOrder::BigEndian), 0x0102);
    EXPECT_EQ(reader.u32(2, ByteOrder::LittleEndian), 0x06050403u);
    EXPECT_EQ(reader.u32(2, ByteOrder::BigEndian), 0x03040506u);
    EXPECT_EQ(reader.bytes(1, 3), QByteArray("\x02\x03\x04"));
    EXPECT_EQ(reader.view(6, 0)->size(), 0);
}

TEST(ByteReaderTest, RefusesRangesOutsideTheBlock)
{
    const ByteReader reader(kBytes);
    EXPECT_FALSE(reader.u8(6));
    EXPECT_FALSE(reader.u16(5, ByteOrder::LittleEndian));
    EXPECT_FALSE(reader.u32(3, ByteOrder::BigEndian));
    EXPECT_FALSE(reader.u32(-1, ByteOrder::BigEndian));
    EXPECT_FALSE(reader.bytes(7, 0));
    EXPECT_FALSE(reader.bytes(0, 7));
    EXPECT_FALSE(reader.bytes(2, -1));
    // Offsets and lengths that would wrap an addition.
    EXPECT_FALSE(reader.bytes(kHuge, 2));
    EXPECT_FALSE(reader.bytes(2, kHuge));
    EXPECT_FALSE(reader.contains(kHuge, kHuge));
    EXPECT_TRUE(reader.contains(0, 6));
    EXPECT_FALSE(ByteReader().u8(0));
}

class FileByteReaderTest : public ::testing::Test
{
  protected:
    QString write(const QByteArray &bytes)
    {
        return writeTestFile(m_folder, QStringLiteral("f.bin"), bytes);
    }

    QTemporaryDir m_folder;
};

TEST_F(FileByteReaderTest, ReadsInsideAndBeyondTheHead)
{
    QByteArray content;
    for (int i = 0; i < 1000; ++i)
        content.append(static_cast<char>(i % 251));
    FileByteReader file;
    ASSERT_EQ(file.open(write(content), 16), 0);
    EXPECT_EQ(file.size(), 1000);
    EXPECT_EQ(file.bytes(0, 16), content.left(16));
    EXPECT_EQ(file.bytes(10, 20), content.mid(10, 20)); // spans the head's end
    EXPECT_EQ(file.bytes(900, 100), content.mid(900, 100));
    EXPECT_EQ(file.u32(500, ByteOrder::BigEndian),
              ByteReader(content).u32(500, ByteOrder::BigEndian));
    EXPECT_EQ(file.u16(998, ByteOrder::LittleEndian),
              ByteReader(content).u16(998, ByteOrder::LittleEndian));
    EXPECT_FALSE(file.u16(999, ByteOrder::LittleEndian));
    EXPECT_FALSE(file.bytes(900, 101));
    EXPECT_FALSE(file.bytes(kHuge, 1));
    EXPECT_EQ(file.bytesUpTo(990, 100), content.mid(990));
    EXPECT_EQ(file.bytesUpTo(5000, 100), QByteArray());
    EXPECT_FALSE(file.readFailed());
}

// SOI and an APP1 segment of the given length (its "Exif" mark included), then picture bytes.
QByteArray exifFile(int segmentLength, qsizetype pictureBytes)
{
    QByteArray bytes("\xFF\xD8\xFF\xE1", 4);
    bytes.append(char(segmentLength >> 8)).append(char(segmentLength & 0xFF));
    bytes.append("Exif\0\0II\x2A\0", 10);
    bytes.append(QByteArray(4 + segmentLength - bytes.size(), 'h'));
    return bytes + QByteArray(pictureBytes, 'p');
}

// A camera file costs one page and the rest of its APP1 segment; the picture behind it is
// never read unless a value points there.
TEST_F(FileByteReaderTest, ReadsTheExifSegmentButNotThePicture)
{
    FileByteReader file;
    ASSERT_EQ(file.open(write(exifFile(10000, 50000))), 0);
    EXPECT_EQ(file.readCalls(), 2);
    EXPECT_EQ(file.bytesRead(), 10004);
    EXPECT_EQ(file.bytes(9000, 1004), QByteArray(1004, 'h'));
    EXPECT_EQ(file.u32(4000, ByteOrder::LittleEndian), 0x68686868u); // across the first read
    EXPECT_EQ(file.readCalls(), 2);
    EXPECT_EQ(file.bytes(10004, 3), "ppp");
    EXPECT_EQ(file.readCalls(), 3);
    EXPECT_EQ(file.bytesRead(), 10007);

    // The largest segment a length can state.
    ASSERT_EQ(file.open(write(exifFile(65535, 100))), 0);
    EXPECT_EQ(file.bytesRead(), 65539);
    EXPECT_EQ(file.bytes(65530, 9), QByteArray(9, 'h'));
    EXPECT_EQ(file.readCalls(), 2);
}

TEST_F(FileByteReaderTest, ReadsOnePageOfOtherFiles)
{
    FileByteReader file;
    // A segment inside the first page.
    ASSERT_EQ(file.open(write(exifFile(300, 50000))), 0);
    EXPECT_EQ(file.readCalls(), 1);
    EXPECT_EQ(file.bytesRead(), FileByteReader::FirstReadSize);

    // A plain JPEG whose first segment runs past the page: one small read finds what
    // follows it, and the segment itself is not read.
    QByteArray plain = exifFile(20000, 50000);
    plain.replace(6, 4, "JFIF");
    ASSERT_EQ(file.open(write(plain)), 0);
    EXPECT_EQ(file.readCalls(), 2);
    EXPECT_EQ(file.bytesRead(), FileByteReader::FirstReadSize + 2);

    // A segment that claims more than the file holds is read up to the end.
    const QByteArray cut = exifFile(30000, 0).left(6000);
    ASSERT_EQ(file.open(write(cut)), 0);
    EXPECT_EQ(file.bytesRead(), 6000);
    EXPECT_EQ(file.bytesUpTo(5990, 100), cut.mid(5990));
    EXPECT_EQ(file.readCalls(), 2);

    // Files shorter than the mark.
    ASSERT_EQ(file.open(write("\xFF\xD8\xFF\xE1\x40")), 0);
    EXPECT_EQ(file.bytesRead(), 5);
}

TEST_F(FileByteReaderTest, EmptyFile)
{
    FileByteReader file;
    ASSERT_EQ(file.open(write(QByteArray())), 0);
    EXPECT_EQ(file.size(), 0);
    EXPECT_FALSE(file.u16(0, ByteOrder::LittleEndian));
    EXPECT_EQ(file.bytes(0, 0), QByteArray());
}

TEST_F(FileByteReaderTest, OpensOnlyRegularFiles)
{
    FileByteReader file;
    EXPECT_EQ(file.open(m_folder.filePath("missing")), ReadError::FileNotFound);
    EXPECT_EQ(file.open(m_folder.filePath("missing/below")), ReadError::FileNotFound);
    EXPECT_EQ(file.open(QString()), ReadError::BadFileName);
    EXPECT_EQ(file.open(m_folder.path()), ReadError::PathFileAccess);
    EXPECT_FALSE(file.isOpen());

    const QString fifo = m_folder.filePath("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(file.open(fifo), ReadError::PathFileAccess);
    EXPECT_LT(timer.elapsed(), 5000);

    const QString locked = write("x");
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::WriteOwner));
    if (::geteuid() != 0) { // root reads whatever the permissions say
        EXPECT_EQ(file.open(locked), ReadError::PathFileAccess);
    }
}

} // namespace
