#pragma once

#include <QString>

// Why a step of a write operation failed. The caller turns it into an error
// record for the log: a system call's errno maps to the program's file error
// numbers, any other failure (a picture that cannot be used) is an invalid call.
struct StepError {
    bool failed = false;
    int systemError = 0; // errno of the failed system call, 0 for other failures
    QString description;
    int number = 0; // the program's error number when a lower layer already chose it

    static StepError none() { return {}; }
    static StepError fromErrno(int error, const QString &what);
    static StepError because(const QString &description) { return {true, 0, description, 0}; }
    static StepError numbered(int number, const QString &description)
    {
        return {number != 0, 0, description, number};
    }
};
