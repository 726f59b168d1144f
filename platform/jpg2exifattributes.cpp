#include "platform/jpg2exifattributes.h"

#include "platform/fileattributes.h"

namespace
{

StepError stepErrorOf(const FileError &error)
{
    return StepError::numbered(error.number, error.description);
}

} // namespace

StepError listPrivateAheadStep(const QString &path, bool &listed)
{
    return stepErrorOf(listPrivateAhead(path, listed));
}

Jpg2ExifPorts jpg2ExifAttributePorts()
{
    Jpg2ExifPorts ports;
    ports.readAttributes = [](const QString &path, int &attributes) {
        return stepErrorOf(getAttributes(path, attributes));
    };
    ports.writeAttributes = [](const QString &path, int attributes) {
        return stepErrorOf(setAttributes(path, attributes));
    };
    return ports;
}
