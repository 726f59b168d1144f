#include "ui/main/form1.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QListView>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "core/paths.h"
#include "platform/fileexists.h"

namespace
{

// The first local file or folder a drag carries; web links and other data do not count.
QString firstLocalPath(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return QString();
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return QString();
}

// Files dragged from a file manager over the list are offered the copy effect only; the list
// opens what is dropped and never takes anything away from its source. While the list takes
// no drops (a scan runs), every drag is refused.
class FolderDropTarget : public QObject
{
  public:
    FolderDropTarget(Form1 *window, QListView *list) : QObject(window), m_window(window)
    {
        list->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
            offerCopy(static_cast<QDropEvent *>(event), watched);
            return true;
        case QEvent::Drop:
            drop(static_cast<QDropEvent *>(event), watched);
            return true;
        default:
            return false;
        }
    }

  private:
    static bool takesDrops(QObject *watched)
    {
        const auto *list = qobject_cast<QWidget *>(watched);
        return list && list->acceptDrops();
    }

    static void offerCopy(QDropEvent *event, QObject *watched)
    {
        const bool copyable = event->possibleActions().testFlag(Qt::CopyAction);
        if (takesDrops(watched) && copyable && !firstLocalPath(event->mimeData()).isEmpty()) {
            event->setDropAction(Qt::CopyAction);
            event->accept();
        } else {
            event->ignore();
        }
    }

    void drop(QDropEvent *event, QObject *watched)
    {
        const QString path = firstLocalPath(event->mimeData());
        if (takesDrops(watched) && m_window->ListView1_OLEDragDrop(path)) {
            event->setDropAction(Qt::CopyAction);
            event->accept();
        } else {
            event->ignore();
        }
    }

    Form1 *m_window;
};

} // namespace

void Form1::createDropTarget()
{
    new FolderDropTarget(this, m_listView1);
}

bool Form1::ListView1_OLEDragDrop(const QString &path)
{
    if (m_scanning || path.isEmpty())
        return false;
    const QFileInfo dropped(path);
    QString folder;
    if (dropped.isDir())
        folder = dropped.absoluteFilePath();
    else if (FileExists(path))
        folder = dropped.absolutePath();
    else
        return false;
    // The scan runs once the drop is over, so the file manager is not kept waiting for it.
    const QString shown = withTrailingBackslash(QDir::cleanPath(folder));
    QTimer::singleShot(0, this, [this, shown] {
        if (m_scanning)
            return;
        m_shownFolder = shown;
        displayThumb(shown);
    });
    return true;
}
