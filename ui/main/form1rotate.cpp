#include "ui/main/form1.h"

#include <QListView>

#include "core/paths.h"

#include "ui/rotate/frmrotate.h"

// A new dialog for every command; it works on the list's selection in the
// folder the list was read from. The turned entries are ghosted by the dialog; the panel is
// read again, as the picture it shows may have been turned.
void Form1::mnuEditRotate_Click()
{
    if (m_scanning || m_file1Folder.isEmpty())
        return;
    frmRotate dialog(
        {withTrailingBackslash(m_file1Folder), m_thumbnails, m_listView1->selectionModel()}, this);
    connect(&dialog, &frmRotate::optionsRequested, this, &Form1::openOptions);
    dialog.exec();
    if (dialog.turnedCount() > 0)
        ListView1_ItemClick();
}
