#pragma once

#include <QString>

// The texts the main window shows while and after a folder is read.
namespace ScanTexts
{

// Status panel 5: "i / total ﾌｧｲﾙ".
QString progress(int index, int total);
// Status panel 1 while reading.
QString howToStop();
// Status panel 1 after reading: the count read, or that the reading was stopped.
QString finished(int listed, bool stopped);
// Added to status panel 1 after reading when files were left out for names that are not
// valid UTF-8; empty when none were.
QString undecodableNames(int count);
// Window caption while a folder is shown.
QString caption(const QString &folderPath);
// The message after running out of memory, with the number of pictures read.
QString outOfMemory(int listed);

// The question offering to convert the folder's plain JPEG files to Exif files.
QString conversionTitle();
QString conversionQuestion();

} // namespace ScanTexts
