#pragma once

#include <QString>

#include "exif/steperror.h"

// The folder beside the pictures that keeps each one as it was before its
// first turn, and the name each picture's backup takes there.

// A plain folder name: not empty, not "." or "..", and none of the characters
// \ / : , ; * ? " < > | (those the rotation's message names as not allowed).
bool isPlainFolderName(const QString &name);

enum class BackupFolderState { Ready, BadName, NotMade };

struct BackupFolder {
    BackupFolderState state = BackupFolderState::NotMade;
    QString path; // when Ready: the folder, without a trailing "/"
    StepError error;
};

// Makes (or finds) the sub-folder `name` of pictureFolder; ready only when it
// is a real folder, not a link or a file of that name.
BackupFolder makeBackupFolder(const QString &pictureFolder, const QString &name);

// Whether path is a real folder (not a link to one).
bool isRealFolder(const QString &path);

// Whether two files hold the same picture: the same Exif shooting date and
// the same pixel sizes as an unordered pair (a turn exchanges them). A file
// without a real shooting date or pixel sizes is never the same as another.
// Both are read by the Exif reader, wherever their Exif segment stands.
bool isSamePicture(const QString &a, const QString &b);

// The first name "NAME (n).EXT", n from 2, that is free in folder.
QString freeNumberedName(const QString &folder, const QString &fileName);
