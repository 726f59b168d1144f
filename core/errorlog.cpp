#include "core/errorlog.h"

#include <QtGlobal>

namespace
{
std::function<void(const QString &)> &sink()
{
    static std::function<void(const QString &)> installed;
    return installed;
}
} // namespace

QString errorLogLine(const QString &place, const ErrorRecord &error)
{
    // The number as the language-neutral conversion gives it: a blank takes
    // the place of the sign of a number that is not negative.
    const QString number =
        error.number >= 0 ? u' ' + QString::number(error.number) : QString::number(error.number);
    return number + QStringLiteral(" : ") + place + QStringLiteral(" : ") + error.source +
           QStringLiteral(" でｴﾗｰ発生。") + error.description;
}

void setErrorLogSink(std::function<void(const QString &line)> newSink)
{
    sink() = std::move(newSink);
}

void LogError(const QString &place, const ErrorRecord &error)
{
    const QString line = errorLogLine(place, error);
    if (sink())
        sink()(line);
    else
        qWarning("%s", qUtf8Printable(line));
}
