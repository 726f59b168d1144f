#pragma once

#include <QString>

// The folder File > Open starts in when no folder of a last scan is stored: the user's
// pictures folder (XDG_PICTURES_DIR), or the home folder when that folder does not exist.
// Never the program's own folder, which for an installed program is a system folder.
QString defaultStartFolder();
