#include "ui/main/form1.h"

#include <QListView>

#include "core/scan/thumbnaillistmodel.h"
#include "core/settings/settings.h"
#include "ui/slideshow/frmslideshow.h"

// A new show for every command, over the folder as it lies on disk (SlideAll 1) or over the
// list's entries, starting at the list's current entry. Never on an empty list: a show must
// have a picture to start from.
void Form1::mnuFileSlideShow_Click()
{
    if (m_scanning || m_thumbnails->rowCount() == 0)
        return;
    const QString folder = m_shownFolder;
    frmSlideShow::Source source;
    source.folder = folder;
    if (appSettings().slide.SlideAll == 1) {
        source.mode = SlideSource::Folder;
        source.names = [folder] { return file1NamesOf(folder); };
    } else {
        source.mode = SlideSource::List;
        source.names = [model = m_thumbnails] {
            QStringList names;
            for (int row = 0; row < model->rowCount(); ++row)
                names.append(model->name(row));
            return names;
        };
    }
    const QModelIndex current = m_listView1->currentIndex();
    const int row = current.isValid() ? current.row() : appSettings().slide.startItem - 1;
    if (row >= 0 && row < m_thumbnails->rowCount())
        source.currentName = m_thumbnails->name(row);
    auto *show = new frmSlideShow(std::move(source), this);
    // The show names its page itself before it asks.
    show->setOptionsCommand([this] { mnuOption_Click(); });
    show->Form_Load();
}
