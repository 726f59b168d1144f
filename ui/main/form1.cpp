#include "ui/main/form1.h"

#include "core/paths.h"
#include "platform/installlayout.h"
#include "ui/frminfo.h"
#include "ui/main/openedwindows.h"
#include "ui/main/statuspanel.h"

#include <QAction>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>

Form1::Form1(QSettings &store, QWidget *parent) : Form1(store, ::dataFolder(), parent) {}

Form1::Form1(QSettings &store, const QString &dataFolder, QWidget *parent)
    : QMainWindow(parent), m_store(store), m_dataFolder(withTrailingBackslash(dataFolder))
{
    m_openedWindows = new OpenedWindows(this);
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tabilo"));
    createCentralArea();
    createMenus();
    createPopMnu();
    createToolBar();
    createStatusBar();
    createScanParts();
    connectFileCommands();
    connectSettingCommands();
    createFileNameParts();
    formLoad();
}

Form1::~Form1() = default;

// The thumbnail list on the left, the information panel of eighteen lines on the right, the
// splitter between them; Form_Resize places them whenever the area changes size.
void Form1::createCentralArea()
{
    auto *central = new QWidget(this);

    m_listView1 = new QListView(central);
    m_listView1->setObjectName(QStringLiteral("ListView1"));
    m_listView1->setViewMode(QListView::IconMode);
    m_listView1->setMovement(QListView::Static);
    m_listView1->setResizeMode(QListView::Adjust);
    m_listView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_listView1->setWordWrap(true);
    m_listView1->viewport()->installEventFilter(this);

    createInformationPanel(central);
    createSplitter(central);
    setCentralWidget(central);
    central->installEventFilter(this);
}

QLabel *Form1::labelA(int index) const
{
    return index >= 1 && index <= m_labelA.size() ? m_labelA[index - 1] : nullptr;
}

StatusPanel *Form1::statusPanel(int index) const
{
    return index >= 1 && index <= m_panels.size() ? m_panels[index - 1] : nullptr;
}

QAction *Form1::toolButton(const QString &key) const
{
    for (QAction *button : m_toolButtons) {
        if (button->data().toString() == key)
            return button;
    }
    return nullptr;
}

QAction *Form1::command(const QString &name) const
{
    return findChild<QAction *>(name);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        Form_Resize();
    if (watched == m_listView1 && isListNavigationKey(event))
        ListView1_ItemClick();
    if (watched == m_listView1->viewport()) {
        if (event->type() == QEvent::MouseButtonPress)
            ListView1_MouseDown();
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            // The list handles the release after this filter, and a release beside the items
            // clears its selection: the pop-up waits for that, so that it follows the
            // selection the click leaves.
            if (mouse->button() == Qt::RightButton) {
                const QPoint where = mouse->globalPosition().toPoint();
                QMetaObject::invokeMethod(
                    this, [this, where] { ListView1_RightButtonUp(where); }, Qt::QueuedConnection);
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// A press on the list while it holds a selection means the user works on that selection.
// During a scan the list only shows progress: the state changes when the scan ends.
void Form1::ListView1_MouseDown()
{
    if (!m_scanning && listHasSelection())
        mnuButtonSetting(4);
}

bool Form1::listHasSelection() const
{
    const QItemSelectionModel *selection = m_listView1->selectionModel();
    return selection && selection->hasSelection();
}
