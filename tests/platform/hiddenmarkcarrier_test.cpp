#include "platform/hiddenmarkcarrier.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "tests/support/qtprinters.h"

namespace
{

QByteArray readHidden(const QTemporaryDir &folder)
{
    QFile file(folder.filePath(QStringLiteral(".hidden")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

} // namespace

// Afterwards the new name is listed exactly when the old one was private; other lines stay.
TEST(HiddenMarkCarrier, TheNewNameTakesThePrivateMarkOfTheOld)
{
    struct Case {
        const char *from;
        const char *to;
        QByteArray before;
        QByteArray after;
    };
    const Case cases[] = {
        {"a.jpg", "b.jpg", "x.jpg\na.jpg\n", "x.jpg\nb.jpg\n"},
        {"a.jpg", "b.jpg", "x.jpg\nb.jpg\n", "x.jpg\n"}, // a stale line would hide a public one
        {".a.jpg", "b.jpg", "", "b.jpg\n"},              // a dot-name is private by its name
        {"a.jpg", "b.jpg", "x.jpg\n", "x.jpg\n"},
    };
    for (const Case &c : cases) {
        QTemporaryDir folder;
        QFile list(folder.filePath(QStringLiteral(".hidden")));
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        list.write(c.before);
        list.close();
        HiddenMarkCarrier carrier(folder.path());
        EXPECT_TRUE(carrier.carry(QString::fromLatin1(c.from), QString::fromLatin1(c.to)).ok());
        const QByteArray expected = c.after.isEmpty() ? QByteArray("<none>") : c.after;
        EXPECT_EQ(readHidden(folder), expected) << c.from << " " << c.before.constData();
    }
}
