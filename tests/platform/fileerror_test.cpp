#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

#include "platform/fileerror.h"
#include "tests/support/qtprinters.h"

TEST(FileError, ErrnoMapsToTheNumbersTheProgramTellsApart)
{
    const std::pair<int, int> table[] = {
        {ENOENT, 53},       {ENOTDIR, 53}, {EEXIST, 58}, {ENOTEMPTY, 58}, {EACCES, 75},
        {EPERM, 75},        {EROFS, 75},   {EBUSY, 75},  {ETXTBSY, 75},   {EINVAL, 52},
        {ENAMETOOLONG, 52}, {ENOSPC, 61},  {EIO, 57},    {ELOOP, 75},
    };
    for (const auto &[err, number] : table) {
        const FileError error = fileErrorFromErrno(err);
        EXPECT_EQ(error.number, number) << std::strerror(err);
        EXPECT_EQ(error.description, QString::fromLocal8Bit(std::strerror(err)));
        EXPECT_FALSE(error.ok());
    }
    EXPECT_TRUE(fileErrorFromErrno(0).ok());
    EXPECT_TRUE(fileErrorFromErrno(0).description.isEmpty());
}

TEST(FileError, NewNamesRefuseTheListedCharacters)
{
    EXPECT_TRUE(checkNewFileName(QStringLiteral("2024年 旅行.jpg")).ok());
    EXPECT_TRUE(checkNewFileName(QStringLiteral("a.b.c")).ok());
    EXPECT_EQ(checkNewFileName(QString()).number, 52);
    for (const QChar c : QStringLiteral("\\/:,;*?\"<>|")) {
        EXPECT_EQ(checkNewFileName(QStringLiteral("a") + c + QStringLiteral("b")).number, 52)
            << QString(c).toStdString();
    }
    EXPECT_EQ(checkNewFileName(QStringLiteral("a") + QChar(u'\0')).number, 52);
}
