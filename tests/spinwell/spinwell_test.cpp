#include <cerrno>

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "exif/jpeglayout.h"
#include "spinwell/spinwell.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/qtprinters.h"
#include "tests/support/writefixtures.h"

using namespace writefixtures;

namespace
{

QString fakeEngine(const char *name)
{
    return QStringLiteral(TABILO_FAKE_ENGINES "/lib") + QLatin1String(name) + QStringLiteral(".so");
}

// A copy of the bridge in a folder of its own, beside the engine it is to find there (or
// none), loaded by path; the folder also holds the pictures.
class BridgeCopy
{
  public:
    explicit BridgeCopy(const QString &enginePath)
    {
        const QString bridge = path(QStringLiteral("libspinwell.so"));
        QFile::copy(QStringLiteral(TABILO_SPINWELL), bridge);
        if (!enginePath.isEmpty())
            QFile::copy(enginePath, path(QStringLiteral("libvelmor.so")));
        m_handle = ::dlopen(QFile::encodeName(bridge).constData(), RTLD_NOW | RTLD_LOCAL);
        if (m_handle)
            m_velmorRot = reinterpret_cast<SpinwellVelmorRot>(::dlsym(m_handle, "velmorRot"));
    }
    ~BridgeCopy()
    {
        if (m_handle)
            ::dlclose(m_handle);
    }
    BridgeCopy(const BridgeCopy &) = delete;
    BridgeCopy &operator=(const BridgeCopy &) = delete;

    bool loaded() const { return m_velmorRot != nullptr; }

    int32_t velmorRot(const QString &source, const QString &destination, int32_t code) const
    {
        return m_velmorRot(QFile::encodeName(source).constData(),
                           QFile::encodeName(destination).constData(), code);
    }

    QString path(const QString &name) const { return m_folder.filePath(name); }

    QString writePicture(const QString &name) const
    {
        writeFile(path(name), plainJpeg(QSize(64, 48)));
        return path(name);
    }

  private:
    QTemporaryDir m_folder;
    void *m_handle = nullptr;
    SpinwellVelmorRot m_velmorRot = nullptr;
};

TEST(Bridge, RefusesAnEngineItCannotUseWithoutTouchingTheDestination)
{
    const struct {
        QString engine;
        int32_t result;
    } cases[] = {
        {QString(), SpinwellNoEngine},
        {fakeEngine("fake_velmor_noversion"), SpinwellNoGetVersion},
        {fakeEngine("fake_velmor_norotate"), SpinwellNoRotate},
        {fakeEngine("fake_velmor_nooutput"), SpinwellEngineFailed},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.result);
        const BridgeCopy bridge(c.engine);
        ASSERT_TRUE(bridge.loaded());
        const QString source = bridge.writePicture(QStringLiteral("a.jpg"));
        const QString kept = bridge.path(QStringLiteral("kept.jpg"));
        writeFile(kept, "kept");
        EXPECT_EQ(bridge.velmorRot(source, bridge.path(QStringLiteral("new.jpg")), 1), c.result);
        EXPECT_EQ(bridge.velmorRot(source, kept, 1), c.result) << "the second call alike";
        EXPECT_FALSE(QFile::exists(bridge.path(QStringLiteral("new.jpg"))));
        EXPECT_EQ(readFile(kept), "kept");
    }
}

TEST(Bridge, HandsTheEngineTheWholeFileAndTheMappedCode)
{
    const BridgeCopy bridge(fakeEngine("fake_velmor_recording"));
    ASSERT_TRUE(bridge.loaded());
    const QString source = bridge.writePicture(QStringLiteral("a.jpg"));
    const QByteArray size = QByteArray::number(readFile(source).size());
    const QString destination = bridge.path(QStringLiteral("b.jpg"));
    const struct {
        int32_t code;
        int32_t mapped;
    } cases[] = {{0, 0}, {8, 0}, {-1, 0}, {90, 0}, {1, 1}, {2, 2},
                 {3, 3}, {4, 4}, {5, 5},  {6, 6},  {7, 7}};
    for (const auto &c : cases) {
        ASSERT_EQ(bridge.velmorRot(source, destination, c.code), SpinwellDone);
        EXPECT_EQ(readFile(destination),
                  "code " + QByteArray::number(c.mapped) + ", " + size + " bytes");
    }
}

// An engine that turned the file but kept a picture after it unturned: the file is written
// and the caller told.
TEST(Bridge, WritesTheFileAndTellsOfAPictureKeptUnturned)
{
    const BridgeCopy bridge(fakeEngine("fake_velmor_kept"));
    ASSERT_TRUE(bridge.loaded());
    const QString source = bridge.writePicture(QStringLiteral("a.jpg"));
    const QString destination = bridge.path(QStringLiteral("b.jpg"));
    EXPECT_EQ(bridge.velmorRot(source, destination, 1), SpinwellKeptUnturned);
    EXPECT_TRUE(readFile(destination).startsWith("code 1, "));
}

TEST(Bridge, ReportsFilesItCannotOpen)
{
    const BridgeCopy bridge(QStringLiteral(TABILO_VELMOR));
    ASSERT_TRUE(bridge.loaded());
    const QString kept = bridge.path(QStringLiteral("kept.jpg"));
    writeFile(kept, "kept");
    EXPECT_EQ(bridge.velmorRot(bridge.path(QStringLiteral("none.jpg")), kept, 1),
              SpinwellSourceUnopened);
    EXPECT_EQ(readFile(kept), "kept");

    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const QString source = bridge.writePicture(QStringLiteral("a.jpg"));
    const QString locked = bridge.path(QStringLiteral("locked"));
    ::mkdir(QFile::encodeName(locked).constData(), 0500);
    EXPECT_EQ(bridge.velmorRot(source, locked + QStringLiteral("/b.jpg"), 1), SpinwellDestUnopened);
    ::chmod(QFile::encodeName(kept).constData(), 0444);
    EXPECT_EQ(bridge.velmorRot(source, kept, 1), SpinwellDestUnopened);
    EXPECT_EQ(readFile(kept), "kept");
}

TEST(Bridge, TurnsAFileThroughTheRealEngineAlsoOntoItself)
{
    const BridgeCopy bridge(QStringLiteral(TABILO_VELMOR));
    ASSERT_TRUE(bridge.loaded());
    const QString source = bridge.writePicture(QStringLiteral("a.jpg"));
    const QString destination = bridge.path(QStringLiteral("b.jpg"));
    ASSERT_EQ(bridge.velmorRot(source, destination, 1), SpinwellDone);
    ::chmod(QFile::encodeName(source).constData(), 0604);
    ASSERT_EQ(bridge.velmorRot(source, source, 3), SpinwellDone);
    struct stat info {
    };
    ::stat(QFile::encodeName(source).constData(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0604u) << "the replaced file's permissions carry over";
    for (const QString &turned : {destination, source}) {
        const QByteArray bytes = readFile(turned);
        const JpegLayout layout = readJpegLayout(bytes);
        EXPECT_TRUE(layout.walked && layout.endsAfterScan);
        EXPECT_EQ(layout.width, 48);
        EXPECT_EQ(layout.height, 64);
    }
    writeFile(source, "not a picture");
    EXPECT_EQ(bridge.velmorRot(source, destination, 1), SpinwellEngineFailed);
}

// A write that fails (here on a file size limit, as on a full disk) leaves the destination as
// it was, also when it is the source itself, leaves no work file, and says why in errno.
TEST(Bridge, AFailedWriteLeavesTheDestinationAsItWas)
{
    const BridgeCopy bridge(QStringLiteral(TABILO_VELMOR));
    ASSERT_TRUE(bridge.loaded());
    const QString source = bridge.writePicture(QStringLiteral("a.jpg"));
    const QByteArray original = readFile(source);
    const QDir folder = QFileInfo(source).dir();
    const QStringList before = folder.entryList(QDir::Files | QDir::Hidden);
    for (const QString &destination : {source, bridge.path(QStringLiteral("b.jpg"))}) {
        int32_t result = 0;
        int error = 0;
        {
            const FileSizeLimit limit(16);
            result = bridge.velmorRot(source, destination, 1);
            error = errno;
        }
        EXPECT_EQ(result, SpinwellDestUnwritten);
        EXPECT_EQ(error, EFBIG);
        EXPECT_EQ(readFile(source), original);
        EXPECT_EQ(folder.entryList(QDir::Files | QDir::Hidden), before);
    }
}

} // namespace
