#include "tests/support/camerafixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

namespace
{

const char kRequireVariable[] = "TABILO_REQUIRE_CAMERA_FIXTURES";

void skipOrFail(const QString &folder)
{
    const std::string reason = "no real camera files at " + folder.toStdString();
    if (qEnvironmentVariableIntValue(kRequireVariable) == 1)
        GTEST_FAIL() << reason << "; " << kRequireVariable << "=1 requires them";
    GTEST_SKIP() << reason;
}

} // namespace

QString cameraFixture(const char *name)
{
    const QString folder = QDir::cleanPath(QStringLiteral(TABILO_CAMERA_FIXTURES));
    if (QFileInfo(folder).isDir())
        return folder + QLatin1Char('/') + QLatin1String(name);
    skipOrFail(folder);
    return QString();
}
