#include "ui/main/form1.h"

#include "core/errorlog.h"
#include "core/settings/colorref.h"
#include "core/settings/settings.h"
#include "core/slideshow/transitiontables.h"
#include "core/twips.h"
#include "platform/prompter.h"
#include "platform/startfolder.h"
#include "platform/tempfolder.h"
#include "ui/frminfo.h"
#include "ui/help/help.h"
#include "ui/japanesefonts.h"
#include "ui/main/openedwindows.h"
#include "ui/main/statuspanel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QScreen>
#include <QSettings>

namespace
{

const QString kReadSettingsPlace = QStringLiteral("read settings");

} // namespace

// Start-up: settings, window, indicators, work folder, error log, camera table, in that order.
void Form1::formLoad()
{
    AppSettings &settings = appSettings();
    QStringList problems = readSettings(m_store, defaultStartFolder(), settings);
    initTransitionTables();
    clampSlideSettings(settings.slide);
    placeWindow();
    m_panelWidth = settings.dataWidth;
    m_keepReading = false;
    applyListAndPanelLook();
    mnuButtonSetting(1);
    show();
    showVisibleMode();
    QCoreApplication::processEvents();
    showThumbSize();
    showViewerPanel();
    if (temporaryFolder().isEmpty())
        problems.append(QStringLiteral("no private temporary folder could be created"));
    createErrorLog(problems);
    // After the error log exists, so that a table that cannot be opened is logged there.
    readCameraTable();
    m_listView1->setAcceptDrops(true);
}

// The stored rectangle is in twips: left and top of the frame, width and height of the
// window's inside, so that a restart reproduces the same window.
void Form1::placeWindow()
{
    const MainWindowPlacement &placement = appSettings().placement;
    const double dpi = logicalDpi();
    setMinimumSize(twipsToPixels(FormLayoutMetrics::kMinimumWindowWidth, dpi),
                   twipsToPixels(FormLayoutMetrics::kMinimumWindowHeight, dpi));
    move(twipsToPixels(placement.left, dpi), twipsToPixels(placement.top, dpi));
    resize(twipsToPixels(placement.width, dpi), twipsToPixels(placement.height, dpi));
    keepOnSomeScreen();
}

// A rectangle stored while another monitor was attached may lie off every screen now; the
// window then opens at the top left of the primary screen, keeping its size.
void Form1::keepOnSomeScreen()
{
    const QRect window(pos(), size());
    for (const QScreen *candidate : QGuiApplication::screens()) {
        if (candidate->availableGeometry().intersects(window))
            return;
    }
    if (const QScreen *primary = QGuiApplication::primaryScreen())
        move(primary->availableGeometry().topLeft());
}

void Form1::applyListAndPanelLook()
{
    const AppSettings &settings = appSettings();
    const FontSetting &dataFont = settings.dataFont;
    const QFont panelFont =
        fontFromSetting(dataFont.name, dataFont.size, dataFont.bold, dataFont.italic);
    for (QLabel *line : m_labelA)
        line->setFont(panelFont);
    Form_Resize(); // the lines' height and pitch follow the font size

    const ThumbListLook &look = settings.thumbLook;
    m_listView1->setFont(fontFromSetting(look.name, look.size, look.bold, look.italic));
    QPalette listColours = m_listView1->palette();
    listColours.setColor(QPalette::Base, colorFromColorRef(look.ThumbColor, palette()));
    m_listView1->setPalette(listColours);
}

// The log window exists, hidden, from here on; what start-up could not read goes into it.
void Form1::createErrorLog(const QStringList &startUpProblems)
{
    m_frmInfo = new FrmInfo(this);
    m_frmInfo->installAsErrorLog();
    connect(m_frmInfo, &FrmInfo::errorLogged, this,
            [this] { statusPanel(1)->setBevel(StatusPanel::Bevel::Raised); });
    for (const QString &problem : startUpProblems)
        LogError(kReadSettingsPlace, ErrorRecord{0, QStringLiteral("Tabilo"), problem});
}

void Form1::closeEvent(QCloseEvent *event)
{
    closeAllHelp();
    formUnload();
    event->accept();
}

// Shutdown: settings back to the store, other windows closed, the thumbnail work file removed.
void Form1::formUnload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;

    AppSettings &settings = appSettings();
    const double dpi = logicalDpi();
    std::optional<MainWindowPlacement> placement;
    if (!isMinimized()) {
        placement = MainWindowPlacement{pixelsToTwips(x(), dpi), pixelsToTwips(y(), dpi),
                                        pixelsToTwips(width(), dpi), pixelsToTwips(height(), dpi)};
    }
    settings.dataWidth = float(m_panelWidth);
    const QStringList problems = writeSettings(m_store, settings, placement);
    if (!problems.isEmpty()) {
        prompter().message(PromptIcon::Exclamation, QStringLiteral("Tabilo"),
                           QStringLiteral("設定を保存できませんでした。\n") +
                               problems.join(QLatin1Char('\n')),
                           PromptButtons::Ok);
    }

    closeOtherWindows();
    const QString workFolder = temporaryFolder();
    if (!workFolder.isEmpty())
        QFile::remove(workFolder + QStringLiteral("tmp.jpg"));
    closeAllHelp();
    QCoreApplication::quit();
}

void Form1::closeOtherWindows()
{
    for (QWidget *window : m_openedWindows->mostRecentFirst()) {
        if (window != this && window->isVisible())
            window->close();
    }
}

double Form1::logicalDpi() const
{
    const QScreen *where = screen();
    return where ? where->logicalDotsPerInchX() : 96.0;
}
