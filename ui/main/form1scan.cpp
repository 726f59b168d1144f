#include "ui/main/form1.h"

#include "core/errorlog.h"
#include "core/paths.h"
#include "core/scan/folderscan.h"
#include "core/scan/scantexts.h"
#include "core/scan/thumbnaillistmodel.h"
#include "core/scan/thumbnailproducer.h"
#include "core/settings/colorref.h"
#include "core/settings/settings.h"
#include "core/twips.h"
#include "platform/hiddenlist.h"
#include "platform/prompter.h"
#include "ui/main/statuspanel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QStatusBar>

#include <memory>

namespace
{

// Where the progress bar lies over the status bar, in twips from the window's right edge.
constexpr double kProgressBarRightOffset = 2300;
constexpr double kProgressBarWidth = 1800;

// Room around a list picture for its file name below it, in pixels.
constexpr int kItemMarginWidth = 24;
constexpr int kItemTextLines = 2;

// Private pictures of one folder: the names in its ".hidden" list and the dot-names. A list
// that cannot be read hides nothing rather than failing the whole scan.
HiddenTest hiddenTestFor(const QString &folder)
{
    auto list = std::make_shared<HiddenList>();
    list->load(folder);
    return [list](const QString &name) { return isDotName(name) || list->contains(name); };
}

} // namespace

// The window sees each key before its controls, as Esc must reach a running scan and Enter
// the list wherever the focus is. Only the key's first delivery counts: an ignored key travels
// on to the parents, and each of them would otherwise report it again.
class KeyPreview : public QObject
{
  public:
    explicit KeyPreview(Form1 *window) : QObject(window), m_window(window) {}

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto *receiver = static_cast<QWidget *>(watched);
        if (receiver->window() != m_window || !isFirstDelivery(receiver))
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Escape)
            m_window->Form_KeyPress(27);
        else if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !isTextEditor(receiver))
            m_window->Form_KeyPress(13);
        return false;
    }

  private:
    // Enter in a text field (a name being edited in place) ends the edit, nothing more.
    static bool isTextEditor(const QWidget *receiver)
    {
        return qobject_cast<const QLineEdit *>(receiver) != nullptr;
    }

    bool isFirstDelivery(QWidget *receiver) const
    {
        const QWidget *focus = QApplication::focusWidget();
        if (focus && focus->window() == m_window)
            return receiver == focus;
        return receiver == m_window;
    }

    Form1 *m_window;
};

void Form1::createScanParts()
{
    m_thumbnails =
        new ThumbnailListModel(decodeListPicture, ThumbnailListModel::defaultCacheBytes, this);
    m_listView1->setModel(m_thumbnails);
    m_listView1->setUniformItemSizes(true);
    m_listView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Hidden during a scan without the panel beside it moving into its place.
    QSizePolicy listPolicy = m_listView1->sizePolicy();
    listPolicy.setRetainSizeWhenHidden(true);
    m_listView1->setSizePolicy(listPolicy);
    connect(m_listView1, &QListView::doubleClicked, this, &Form1::ListView1_DblClick);

    m_progressBar1 = new QProgressBar(statusBar());
    m_progressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    m_progressBar1->setTextVisible(false);
    m_progressBar1->hide();

    // Off until a folder is shown; the command states switch them from then on.
    for (const char *name :
         {"mnuEditSelAll", "mnuEdit2Exif", "mnuEditRotate", "popOpen", "popExOpen"})
        command(QString::fromLatin1(name))->setEnabled(false);

    m_keyPreview = new KeyPreview(this);
    qApp->installEventFilter(m_keyPreview);
    connectScanCommands();
}

void Form1::Form_KeyPress(int keyAscii)
{
    if (keyAscii == 27)
        m_keepReading = false;
    else if (keyAscii == 13)
        ListView1_DblClick();
}

void Form1::displayThumb(const QString &folder)
{
    if (m_scanning)
        return;
    m_scanning = true;
    beginScan();

    const GeneralSettings &general = appSettings().general;
    FolderScanSettings settings;
    settings.visibleMode = general.gVisibleMode;
    settings.thumbSize = general.gThumbSize;
    settings.offerConversion = general.Jpg2Exif == 0;

    FolderScanCallbacks callbacks;
    int total = 0;
    callbacks.started = [this, &total](const QString &folderPath, int all, int count) {
        total = all;
        scanStarted(folderPath, all, count);
    };
    callbacks.progress = [this, &total](int index) { scanProgressed(index, total); };
    callbacks.processEventsAndShouldStop = [this](int listed) {
        return scanEventsAndShouldStop(listed);
    };
    callbacks.askConversion = [this] { return askConversion(); };
    callbacks.logError = [](const QString &place, const ErrorRecord &error) {
        LogError(place, error);
    };

    const QSize imageSize = thumbnailImageSize(general.gThumbSize, m_thumbnails->imageSize());
    const QColor background = m_listView1->palette().color(QPalette::Base);
    std::optional<DesktopThumbnails> remembered;
    if (general.ThumbCache == 1)
        remembered.emplace(DesktopThumbnails::defaultRoot(),
                           QStringLiteral("tabilo-" TABILO_VERSION));
    FolderScan scan(*m_thumbnails,
                    ThumbnailProducer(imageSize, background, general.AutoOrient == 1, remembered),
                    callbacks);
    const FolderScanResult result = scan.run(folder, settings, hiddenTestFor(folder));

    if (!result.folderRead)
        m_thumbnails->clear(); // its items named pictures of another folder
    if (result.outOfMemory) {
        prompter().message(PromptIcon::None, QStringLiteral("Tabilo"),
                           ScanTexts::outOfMemory(result.listed), PromptButtons::Ok);
    }
    endScan(result.listed, result.total, result.stopped);
    statusPanel(1)->setText(statusPanel(1)->text() +
                            ScanTexts::undecodableNames(result.undecodable));
    m_scanning = false;
}

// Commands that must not run during a scan go off, and the list takes no drops.
void Form1::beginScan()
{
    m_keepReading = true;
    mnuButtonSetting(2);
    m_listView1->setAcceptDrops(false);
}

void Form1::scanStarted(const QString &folderPath, int total, int count)
{
    statusPanel(5)->setText(ScanTexts::progress(0, total));
    m_file1Folder = folderPath;
    appSettings().filePath = folderPath;
    statusPanel(1)->setText(ScanTexts::howToStop());
    setWindowTitle(ScanTexts::caption(folderPath));
    if (const std::optional<int> maximum = scanProgressMaximum(count)) {
        m_progressBar1->setRange(0, *maximum);
        m_progressBar1->setValue(0);
        placeProgressBar();
        m_progressBar1->show();
        m_progressBar1->raise();
    }
    m_listView1->setSelectionMode(QAbstractItemView::SingleSelection);

    const GeneralSettings &general = appSettings().general;
    const QSize imageSize = thumbnailImageSize(general.gThumbSize, m_thumbnails->imageSize());
    const ThumbListLook &look = appSettings().thumbLook;
    m_thumbnails->setTextColors(colorFromColorRef(look.ExifColor, palette()),
                                colorFromColorRef(look.NotExifColor, palette()));
    m_listView1->setIconSize(imageSize);
    const int textHeight = m_listView1->fontMetrics().lineSpacing() * kItemTextLines;
    m_listView1->setGridSize(QSize(imageSize.width() + kItemMarginWidth,
                                   imageSize.height() + textHeight + kItemMarginWidth / 2));
    if (general.gNoVisible == 1)
        m_listView1->hide();
}

void Form1::scanProgressed(int index, int total)
{
    m_progressBar1->setValue(index);
    statusPanel(5)->setText(ScanTexts::progress(index, total));
    Q_EMIT scanProgress(index);
}

// Every tenth file: events run (Esc, "Stop", repaint), the list follows its newest item and is
// painted at once. The list lays out its items only when asked (its own timer, or following an
// item), and every item added throws that layout away: a paint before the next layout, at the
// events or when the progress bar repaints the window, showed the list blank until the scan
// ended. Painted right after following the newest item, it shows what was read so far.
bool Form1::scanEventsAndShouldStop(int listed)
{
    QCoreApplication::processEvents();
    if (appSettings().general.gNoVisible != 1 && listed > 0) {
        const QModelIndex newest = m_thumbnails->index(listed - 1);
        m_listView1->setCurrentIndex(newest);
        m_listView1->scrollTo(newest);
        m_listView1->viewport()->repaint();
    }
    return !m_keepReading || m_unloaded;
}

bool Form1::askConversion()
{
    const PromptAnswer answer =
        prompter().message(PromptIcon::Information, ScanTexts::conversionTitle(),
                           ScanTexts::conversionQuestion(), PromptButtons::YesNo);
    return answer == PromptAnswer::Yes && runConversion().has_value();
}

void Form1::endScan(int listed, int total, bool stopped)
{
    m_listView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_listView1->show();
    m_progressBar1->hide();
    statusPanel(1)->setText(ScanTexts::finished(listed, stopped));
    statusPanel(5)->setText(ScanTexts::progress(listed, total));
    m_keepReading = false;
    mnuButtonSetting(listed < 1 ? 5 : 3);
    m_listView1->setAcceptDrops(true);
}

// Over the right part of the status bar, where the file count and viewer panels lie.
void Form1::placeProgressBar()
{
    const QStatusBar *bar = statusBar();
    const double dpi = logicalDpi();
    const int left = bar->width() - twipsToPixels(kProgressBarRightOffset, dpi);
    m_progressBar1->setGeometry(std::max(0, left), 2, twipsToPixels(kProgressBarWidth, dpi),
                                std::max(4, bar->height() - 4));
}

void Form1::reloadShownFolder()
{
    if (m_scanning || m_file1Folder.isEmpty())
        return;
    const QString folder = withTrailingBackslash(m_file1Folder);
    m_shownFolder = folder;
    displayThumb(folder);
}

// The pictures of the shown folder that the visible mode lets through, read afresh.
QStringList Form1::file1Names() const
{
    return file1NamesOf(m_shownFolder);
}

QStringList Form1::file1NamesOf(const QString &folder)
{
    const VisibleMode mode = visibleModeFromSetting(appSettings().general.gVisibleMode);
    return listJpegFiles(folder, mode, hiddenTestFor(folder)).names;
}
