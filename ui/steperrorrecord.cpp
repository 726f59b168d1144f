#include "ui/steperrorrecord.h"

#include "platform/fileerror.h"

ErrorRecord errorRecordOf(const StepError &error)
{
    int number = error.number;
    if (number == 0)
        number = error.systemError != 0 ? fileErrorFromErrno(error.systemError).number
                                        : FileErrorNumber::InvalidCall;
    return ErrorRecord{number, QStringLiteral("Tabilo"), error.description};
}
