#include "app/form1.h"

#include "app/colorref.h"
#include "app/errorlog.h"
#include "app/frminfo.h"
#include "app/help.h"
#include "app/japanesefonts.h"
#include "app/paths.h"
#include "app/settings.h"
#include "app/statuspanel.h"
#include "app/twips.h"
#include "platform/prompter.h"
#include "platform/tempfolder.h"

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

// The smallest window that still shows the toolbar, the list and the panel side by side.
constexpr double kMinimumWindowWidth = 9300;
constexpr double kMinimumWindowHeight = 4000;

// Lengths of the information panel's lines, in twips, for a font of F points: each line is
// F * 25 high, lines are (F + 5) * 25 apart, inset 190 from either side.
constexpr double kLineInset = 190;
constexpr double kLineHeightPerPoint = 25;
constexpr double kLineGapPoints = 5;

} // namespace

// Start-up: settings, window, indicators, work folder, error log, in that order.
void Form1::formLoad()
{
    AppSettings &settings = appSettings();
    QStringList problems = readSettings(m_store, QCoreApplication::applicationDirPath(), settings);
    placeWindow();
    m_dataBox->setFixedWidth(twipsToPixels(settings.dataWidth, logicalDpi()));
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
    m_programFolder = withTrailingBackslash(QCoreApplication::applicationDirPath());
    createErrorLog(problems);
    m_listView1->setAcceptDrops(true);
}

// The stored rectangle is in twips: left and top of the frame, width and height of the
// window's inside, so that a restart reproduces the same window.
void Form1::placeWindow()
{
    const MainWindowPlacement &placement = appSettings().placement;
    const double dpi = logicalDpi();
    setMinimumSize(twipsToPixels(kMinimumWindowWidth, dpi),
                   twipsToPixels(kMinimumWindowHeight, dpi));
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
    layoutDataBoxLines();

    const ThumbListLook &look = settings.thumbLook;
    m_listView1->setFont(fontFromSetting(look.name, look.size, look.bold, look.italic));
    QPalette listColours = m_listView1->palette();
    listColours.setColor(QPalette::Base, colorFromColorRef(look.ThumbColor, palette()));
    m_listView1->setPalette(listColours);
}

void Form1::layoutDataBoxLines()
{
    const double dpi = logicalDpi();
    const double points = appSettings().dataFont.size;
    const double width = appSettings().dataWidth - 2 * kLineInset;
    for (int i = 0; i < m_labelA.size(); ++i) {
        const double top = (points + kLineGapPoints) * i * kLineHeightPerPoint;
        m_labelA[i]->setGeometry(twipsToPixels(kLineInset, dpi), twipsToPixels(top, dpi),
                                 twipsToPixels(width, dpi),
                                 twipsToPixels(points * kLineHeightPerPoint, dpi));
    }
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
    settings.dataWidth = pixelsToTwips(m_dataBox->width(), dpi);
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
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
        if (*it != this && (*it)->isVisible())
            (*it)->close();
    }
}

double Form1::logicalDpi() const
{
    const QScreen *where = screen();
    return where ? where->logicalDotsPerInchX() : 96.0;
}
