#pragma once

#include <QString>

// Where the program finds what it reads and loads. Run from the build folder everything lies
// beside the program; installed, the camera table "Tabilo.dat" and "help/" lie in the data
// folder and the rotation bridge and engine in the library folder, both found relative to the
// program so that an installed tree may be moved or unpacked anywhere.

// The folder of "Tabilo.dat" and "help/" for a program in `programFolder`: the installed data
// folder when it exists, else `programFolder` itself.
QString dataFolderFor(const QString &programFolder);

// The folder of libspinwell.so and libvelmor.so, chosen the same way.
QString libraryFolderFor(const QString &programFolder);

// The same for the running program.
QString dataFolder();
QString libraryFolder();
