#pragma once

#include <functional>

#include <QString>

// An error trapped by an operation that goes on with its next step.
struct ErrorRecord {
    int number = 0;
    QString source;      // the component that raised the error
    QString description; // its own text, shown as it is
};

// One line of the error log: the number (with a leading blank when it is not
// negative), " : ", place, " : ", source, " でｴﾗｰ発生。", description.
QString errorLogLine(const QString &place, const ErrorRecord &error);

// Where LogError hands its lines; the error log window installs one. An empty
// function removes the sink, after which lines go to stderr.
void setErrorLogSink(std::function<void(const QString &line)> sink);

// Formats the error and hands the line to the sink (stderr via qWarning when
// none is installed). Never throws.
void LogError(const QString &place, const ErrorRecord &error);
