#pragma once

#include "core/cameratable.h"
#include "core/commandstate.h"
#include "core/formlayout.h"

#include <QMainWindow>
#include <QStringList>

#include <optional>

class FrmInfo;
class KeyPreview;
class OpenedWindows;
class QAction;
class QActionGroup;
class QLabel;
class QListView;
class QMenu;
class QModelIndex;
class QProgressBar;
class QSlider;
class QSettings;
class QToolBar;
class SplitterHandle;
class StatusPanel;
struct PanelContent;
class ThumbnailListModel;

// The main window: the thumbnail list, the information panel, the menus, the toolbar and the
// status bar. Creating it runs start-up with the given settings store; closing it runs shutdown,
// which writes the settings back and ends the program.
class Form1 : public QMainWindow
{
    Q_OBJECT

  public:
    explicit Form1(QSettings &store, QWidget *parent = nullptr);
    // `dataFolder` is where the camera table "Tabilo.dat" is read from (normally the
    // program's data folder, see platform/installlayout.h).
    Form1(QSettings &store, const QString &dataFolder, QWidget *parent = nullptr);
    ~Form1() override;

    // Enables the menus and toolbar buttons of command state 1..5. The same state twice in a row
    // changes nothing; a state outside 1..5 changes nothing but is remembered.
    void mnuButtonSetting(int state);
    std::optional<int> commandState() const { return m_commandState.current(); }

    // Make the toolbar and status bar show the current settings.
    void showVisibleMode();
    void showThumbSize();
    void showViewerPanel();

    QListView *listView() const { return m_listView1; }
    QWidget *dataBox() const { return m_dataBox; }
    QLabel *labelA(int index) const;           // 1..18
    StatusPanel *statusPanel(int index) const; // 1..6
    QToolBar *toolBar() const { return m_tbToolBar; }
    QAction *toolButton(const QString &key) const;
    QAction *command(const QString &name) const; // menu and pop-up items by name
    QMenu *popupMenu() const { return m_popMnu; }
    FrmInfo *frmInfo() const { return m_frmInfo; }
    QString dataFolder() const { return m_dataFolder; }
    bool keepReading() const { return m_keepReading; }

    // Folder scan and opening pictures (form1scan.cpp, form1open.cpp)
    // Fills the list from `folder` (ending in "/"); the caller has made it the shown folder.
    void displayThumb(const QString &folder);
    QString shownFolder() const { return m_shownFolder; }
    ThumbnailListModel *thumbnailModel() const { return m_thumbnails; }
    QProgressBar *progressBar() const { return m_progressBar1; }
    void mnuFileOpen_Click();
    // What the command line named: a folder, or a picture's folder with that picture selected
    // and shown in the panel. A path that does not exist is reported and the list stays empty.
    void openStartPath(const QString &path);
    void ListView1_DblClick();
    // The character code of a key the window sees before its controls (27 Esc, 13 Enter).
    void Form_KeyPress(int keyAscii);
    void mnuEditSelAll_Click();
    void mnuEdit2Exif_Click();
    void mnuEditRotate_Click();
    void mnuFileSlideShow_Click();
    void popExOpen_Click();
    void reloadShownFolder();

    // Settings and wallpaper (form1options.cpp)
    // Opens the options dialog on page `page` (0..7), as the other windows ask for it.
    void openOptions(int page);
    void mnuOption_Click();
    void mnuEditWallPaper_Click();

    // Information panel, camera table and layout (form1panel.cpp, form1cameratable.cpp,
    // form1layout.cpp)
    // Fills the panel from the list's selected item and makes it the current picture.
    void ListView1_ItemClick();
    // Places the list, the panel and the splitter for the window's size and the panel width.
    void Form_Resize();
    // The panel font and the list's font and background, from the settings records.
    void applyListAndPanelLook();
    const CameraTable &cameraTable() const { return m_cameraTable; }
    QSlider *slider1() const { return m_slider1; }
    QWidget *imgSplit() const;
    QWidget *pictSplit() const { return m_pictSplit; }
    double panelWidth() const { return m_panelWidth; } // twips, stored as DataWidth

  Q_SIGNALS:
    // The scan is about to read file `index` (0-based) of those it lists.
    void scanProgress(int index);

  protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    // Window parts (form1.cpp, form1menus.cpp, form1toolbar.cpp, form1statusbar.cpp)
    void createCentralArea();
    void createMenus();
    void createPopMnu();
    QAction *addCommand(QMenu *menu, const QString &name, const QString &caption);
    void addSeparator(QMenu *menu, const QString &name);
    void createToolBar();
    void addToolButton(const QString &key, const QString &toolTip, const QString &icon,
                       QActionGroup *group = nullptr);
    void createStatusBar();

    // Commands
    void applyCommandPlan(const CommandPlan &plan);
    void setCommandEnabled(const QString &name, bool enabled);
    void tbToolBar_ButtonClick(const QString &key);
    void StatusBar1_PanelClick(int index);
    bool listHasSelection() const;
    void ListView1_MouseDown();
    void ListView1_RightButtonUp(const QPoint &globalPosition);
    bool popupItemRunnable(const QString &popupName) const;
    void mnuHelpAbout_Click();
    void mnuHelpWWW_Click();

    // Folder scan (form1scan.cpp, form1open.cpp)
    void createScanParts();
    void connectScanCommands();
    void connectSettingCommands();
    void applyHottrack();
    void ListView1_HoverEnter(const QModelIndex &index);
    void beginScan();
    void scanStarted(const QString &folderPath, int total, int count);
    void scanProgressed(int index, int total);
    bool scanEventsAndShouldStop(int listed);
    bool askConversion();
    void endScan(int listed, int total, bool stopped);
    void placeProgressBar();
    QStringList file1Names() const;
    static QStringList file1NamesOf(const QString &folder);
    std::optional<int> runConversion();
    int selectedRow() const;
    void selectPicture(const QString &name);

    // Information panel, camera table and layout
    void createInformationPanel(QWidget *area);
    void createSplitter(QWidget *area);
    void imgSplit_MouseDown(double x);
    void imgSplit_MouseMove(double x);
    void imgSplit_MouseUp();
    double areaWidthTwips() const;
    void showPanelContent(const PanelContent &content);
    bool isListNavigationKey(const QEvent *event) const;
    void readCameraTable();

    // Start-up and shutdown (form1lifecycle.cpp)
    void formLoad();
    void placeWindow();
    void keepOnSomeScreen();
    void createErrorLog(const QStringList &startUpProblems);
    void formUnload();
    void closeOtherWindows();
    double logicalDpi() const;

    QSettings &m_store;
    CommandState m_commandState;
    bool m_keepReading = false;
    bool m_scanning = false;
    QString m_shownFolder;
    QString m_file1Folder; // the folder the last scan enumerated, without trailing "/"
    ThumbnailListModel *m_thumbnails = nullptr;
    QProgressBar *m_progressBar1 = nullptr;
    KeyPreview *m_keyPreview = nullptr;
    OpenedWindows *m_openedWindows = nullptr;
    bool m_unloaded = false;
    QString m_dataFolder;

    QListView *m_listView1 = nullptr;
    QWidget *m_dataBox = nullptr;
    QList<QLabel *> m_labelA;
    QToolBar *m_tbToolBar = nullptr;
    QList<QAction *> m_toolButtons;
    QMenu *m_popMnu = nullptr;
    QList<StatusPanel *> m_panels;
    FrmInfo *m_frmInfo = nullptr;

    CameraTable m_cameraTable;
    QSlider *m_slider1 = nullptr;
    SplitterHandle *m_imgSplit = nullptr;
    QWidget *m_pictSplit = nullptr;
    SplitterDrag m_splitterDrag;
    double m_panelWidth = 3000;

    // Copy, move and delete of the selected pictures with their backups (form1fileops.cpp)
    enum class FileCommand { Copy, Move };
    void connectFileCommands();
    void showCommandResult(int count, const QString &text);
    QList<int> selectionSnapshot() const;
    void removeGoneRows(const QList<int> &rows);
    QString travellingBackupFolderName(const QString &place) const;
    int transferSelectedFiles(FileCommand which);
    int deleteSelectedFiles();
    QString m_lastDestination; // chosen last in this run; where the next chooser opens

    // Private and public marks, in-place rename, drops and renaming to the shooting date
    // (form1hide.cpp, form1rename.cpp, form1drop.cpp)
  public:
    void mnuEditHide_Click();
    void mnuEditVisible_Click();
    void mnuFileRenameOrigin_Click();
    void mnuFileRename_Click();
    // The list's label edit starts on the item `name` and ends with the text entered.
    void ListView1_BeforeLabelEdit(const QString &name);
    void ListView1_AfterLabelEdit(const QString &newText);
    // The first local path dropped onto the list: a folder opens itself, a file its folder
    // (read once the drop is over), anything else is ignored. True when a folder will open.
    bool ListView1_OLEDragDrop(const QString &path);

  private:
    void createFileNameParts();
    void createDropTarget();
    void setSelectionPrivate(bool makePrivate);
    // Refuses a command that must read or write the shown folder's ".hidden" when that is not
    // a regular file: the user is told under `title`, and panel 1 says so. True when refused.
    bool refuseUnusableHiddenList(const QString &title);
    QString m_nameBeforeEdit;
};
