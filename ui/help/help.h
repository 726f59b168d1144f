#pragma once

#include <QString>
#include <QUrl>

// The program's help, shown in its own help window from the folder help/
// of the data folder (see HelpBook and platform/installlayout.h). One help window serves every
// call.

// The help folder: help/ in the data folder.
QString helpFolder();

// The page the Help menu's latest-version item opens: the address the build was
// given (TABILO_WEB_PAGE), or else the help contents of the data folder, which
// are always there to be read.
QUrl webPageAddress();

// Shows the help window with its contents pane.
bool showHelpContents();

// Shows the topic of a context number: 1000 + the options page, 2000 the
// rename-to-date dialog, 3000 the rotation dialog. False when the help has
// no such topic (the window then says so).
bool showHelpContext(int context);

// Shows the keyword index positioned at `keyword` (the empty text: at the top).
bool showHelpIndex(const QString &keyword);

// Closes every help window of the program; the main window calls it when it closes.
void closeAllHelp();
