#include "platform/hiddenmarkcarrier.h"

#include <cerrno>

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

// The list as the rename finds it keeps the picture private under both names, so a run killed
// between the steps loses no mark; afterwards the new name is listed exactly when the old one
// was private, and a rename that fails leaves the list as it was.
TEST(HiddenMarkCarrier, ThePictureIsPrivateAtEveryMoment)
{
    struct Case {
        const char *from;
        const char *to;
        QByteArray before;
        QByteArray during; // what the rename finds in the list
        QByteArray after;
        int renameErrno = 0;
    };
    const Case cases[] = {
        {"a.jpg", "b.jpg", "x.jpg\na.jpg\n", "x.jpg\na.jpg\nb.jpg\n", "x.jpg\nb.jpg\n"},
        // a stale line would hide a public one
        {"a.jpg", "b.jpg", "x.jpg\nb.jpg\n", "x.jpg\nb.jpg\n", "x.jpg\n"},
        {".a.jpg", "b.jpg", "", "b.jpg\n", "b.jpg\n"}, // a dot-name is private by its name
        {"a.jpg", "b.jpg", "x.jpg\n", "x.jpg\n", "x.jpg\n"},
        {"a.jpg", "b.jpg", "a.jpg\n", "a.jpg\nb.jpg\n", "a.jpg\n", EEXIST},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.from) + " " + c.before.constData());
        QTemporaryDir folder;
        QFile list(folder.filePath(QStringLiteral(".hidden")));
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        list.write(c.before);
        list.close();
        HiddenMarkCarrier carrier(folder.path());
        QByteArray during;
        StepError markError;
        const StepError renamed = carrier.rename(
            QString::fromLatin1(c.from), QString::fromLatin1(c.to),
            [&] {
                during = readHidden(folder);
                return c.renameErrno ? StepError::fromErrno(c.renameErrno, QString())
                                     : StepError::none();
            },
            markError);
        EXPECT_EQ(renamed.failed, c.renameErrno != 0);
        EXPECT_FALSE(markError.failed);
        EXPECT_EQ(during, c.during.isEmpty() ? QByteArray("<none>") : c.during);
        EXPECT_EQ(readHidden(folder), c.after.isEmpty() ? QByteArray("<none>") : c.after);
    }
}
