#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <utime.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include "core/scan/desktopthumbnails.h"
#include "core/scan/thumbnailproducer.h"
#include "tests/support/scanfolder.h"

namespace
{

const QSize listSize(160, 120);

class DesktopThumbnailsTest : public ::testing::Test
{
  public:
    // Under a cache folder that does not exist yet, as on a new account.
    QString storeRoot() const { return m_root.path() + QStringLiteral("/cache/thumbnails"); }
    DesktopThumbnails store() const { return {storeRoot(), QStringLiteral("tabilo-test")}; }

    ProducedThumbnail produce(const QString &name, bool remembered = true) const
    {
        return ThumbnailProducer(listSize, Qt::white, true,
                                 remembered ? std::optional(store())
                                            : std::nullopt)(m_folder.file(name));
    }

    QString largePath(const QString &name) const
    {
        return storeRoot() + QStringLiteral("/large/") + entryName(name);
    }

    QString entryName(const QString &name) const
    {
        const DesktopThumbnails::Picture picture =
            *DesktopThumbnails::describe(m_folder.file(name));
        const QByteArray md5 =
            QCryptographicHash::hash(picture.uri.toUtf8(), QCryptographicHash::Md5).toHex();
        return QString::fromLatin1(md5) + QStringLiteral(".png");
    }

    // Gives the picture another modification time, as an edit would.
    void touch(const QString &name, time_t when) const
    {
        const utimbuf times{when, when};
        utime(QFile::encodeName(m_folder.file(name)).constData(), &times);
    }

    static QColor centre(const ProducedThumbnail &produced)
    {
        return produced.image.pixelColor(listSize.width() / 2, listSize.height() / 2);
    }

    QTemporaryDir m_root;
    ScanFolder m_folder;
};

bool near(QColor a, QColor b)
{
    return qAbs(a.red() - b.red()) < 24 && qAbs(a.green() - b.green()) < 24 &&
           qAbs(a.blue() - b.blue()) < 24;
}

TEST_F(DesktopThumbnailsTest, DrawnThumbnailIsKeptPrivatelyAndListedFromTheStoreNextTime)
{
    m_folder.addPlain(QStringLiteral("a.jpg"), 1600, 1200, Qt::red);
    touch(QStringLiteral("a.jpg"), 1000000000);
    const ProducedThumbnail first = produce(QStringLiteral("a.jpg"));
    ASSERT_EQ(first.outcome, ProducedThumbnail::Outcome::Listed);

    const QString kept = largePath(QStringLiteral("a.jpg"));
    const QImage png(kept, "png");
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), QSize(256, 192));
    EXPECT_EQ(png.text(QStringLiteral("Thumb::URI")),
              QUrl::fromLocalFile(m_folder.file(QStringLiteral("a.jpg"))).toString());
    EXPECT_EQ(png.text(QStringLiteral("Thumb::MTime")), QStringLiteral("1000000000"));
    EXPECT_EQ(QFileInfo(kept).permissions() & 0x7777,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    struct stat folder {
    };
    stat(QFile::encodeName(storeRoot() + QStringLiteral("/large")).constData(), &folder);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    EXPECT_EQ(QDir(storeRoot() + QStringLiteral("/large")).entryList(QDir::Files).size(), 1);

    // The picture's bytes are replaced by another picture of the same time:
    // the store is read, not the picture.
    m_folder.addPlain(QStringLiteral("a.jpg"), 1600, 1200, Qt::blue);
    touch(QStringLiteral("a.jpg"), 1000000000);
    const ProducedThumbnail second = produce(QStringLiteral("a.jpg"));
    ASSERT_EQ(second.outcome, ProducedThumbnail::Outcome::Listed);
    EXPECT_TRUE(near(centre(second), Qt::red));
    EXPECT_EQ(second.tag, first.tag);
}

TEST_F(DesktopThumbnailsTest, StaleDamagedOrForeignEntriesAreRedrawnOrUsedAsTheStandardSays)
{
    struct Case {
        const char *what;
        std::function<void(DesktopThumbnailsTest &, const QString &entry)> change;
        QColor shown;
    };
    const QList<Case> cases{
        {"picture edited since",
         [](DesktopThumbnailsTest &t, const QString &) {
             t.m_folder.addPlain(QStringLiteral("a.jpg"), 640, 480, Qt::blue);
             t.touch(QStringLiteral("a.jpg"), 1100000000);
         },
         Qt::blue},
        {"recorded time differs",
         [](DesktopThumbnailsTest &t, const QString &entry) {
             QImage other(entry, "png");
             other.setText(QStringLiteral("Thumb::MTime"), QStringLiteral("999"));
             other.save(entry, "png");
             t.m_folder.addPlain(QStringLiteral("a.jpg"), 640, 480, Qt::blue);
             t.touch(QStringLiteral("a.jpg"), 1000000000);
         },
         Qt::blue},
        {"entry cut short",
         [](DesktopThumbnailsTest &t, const QString &entry) {
             QFile file(entry);
             file.open(QIODevice::ReadWrite);
             file.resize(file.size() / 2);
             file.close();
             t.m_folder.addPlain(QStringLiteral("a.jpg"), 640, 480, Qt::blue);
             t.touch(QStringLiteral("a.jpg"), 1000000000);
         },
         Qt::blue},
        {"written by another program",
         [](DesktopThumbnailsTest &, const QString &entry) {
             QImage foreign(128, 96, QImage::Format_RGB32);
             foreign.fill(Qt::green);
             const QImage recorded(entry, "png");
             for (const QString &key :
                  {QStringLiteral("Thumb::URI"), QStringLiteral("Thumb::MTime")})
                 foreign.setText(key, recorded.text(key));
             foreign.save(entry, "png");
         },
         Qt::green},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        m_folder.addPlain(QStringLiteral("a.jpg"), 640, 480, Qt::red);
        touch(QStringLiteral("a.jpg"), 1000000000);
        ASSERT_EQ(produce(QStringLiteral("a.jpg")).outcome, ProducedThumbnail::Outcome::Listed);
        c.change(*this, largePath(QStringLiteral("a.jpg")));
        const ProducedThumbnail produced = produce(QStringLiteral("a.jpg"));
        ASSERT_EQ(produced.outcome, ProducedThumbnail::Outcome::Listed);
        EXPECT_TRUE(near(centre(produced), c.shown)) << qPrintable(centre(produced).name());
        QFile::remove(largePath(QStringLiteral("a.jpg")));
    }
}

TEST_F(DesktopThumbnailsTest, UndecodablePictureIsRememberedUntilItChanges)
{
    m_folder.write(QStringLiteral("bad.jpg"), QByteArray("\xFF\xD8\xFF\xDB not a picture"));
    touch(QStringLiteral("bad.jpg"), 1000000000);
    EXPECT_EQ(produce(QStringLiteral("bad.jpg")).outcome, ProducedThumbnail::Outcome::BadPicture);
    const QString mark =
        storeRoot() + QStringLiteral("/fail/tabilo-test/") + entryName(QStringLiteral("bad.jpg"));
    EXPECT_TRUE(QFileInfo::exists(mark));
    EXPECT_EQ(produce(QStringLiteral("bad.jpg")).outcome, ProducedThumbnail::Outcome::BadPicture);

    m_folder.addPlain(QStringLiteral("bad.jpg"), 64, 48, Qt::red);
    touch(QStringLiteral("bad.jpg"), 1100000000);
    EXPECT_EQ(produce(QStringLiteral("bad.jpg")).outcome, ProducedThumbnail::Outcome::Listed);
}

TEST_F(DesktopThumbnailsTest, TurnedOffItReadsAndWritesNothing)
{
    m_folder.addPlain(QStringLiteral("a.jpg"), 640, 480, Qt::red);
    touch(QStringLiteral("a.jpg"), 1000000000);
    ASSERT_EQ(produce(QStringLiteral("a.jpg")).outcome, ProducedThumbnail::Outcome::Listed);
    m_folder.addPlain(QStringLiteral("a.jpg"), 640, 480, Qt::blue);
    touch(QStringLiteral("a.jpg"), 1000000000);
    m_folder.write(QStringLiteral("bad.jpg"), QByteArray("\xFF\xD8 none", 7));

    EXPECT_TRUE(near(centre(produce(QStringLiteral("a.jpg"), false)), Qt::blue));
    produce(QStringLiteral("bad.jpg"), false);
    EXPECT_FALSE(QFileInfo::exists(storeRoot() + QStringLiteral("/fail")));
}

} // namespace
