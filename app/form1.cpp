#include "app/form1.h"

#include "app/frminfo.h"
#include "app/statuspanel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>

namespace
{

constexpr int kPanelLineCount = 18;

} // namespace

Form1::Form1(QSettings &store, QWidget *parent) : QMainWindow(parent), m_store(store)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tabilo"));
    createCentralArea();
    createMenus();
    createPopMnu();
    createToolBar();
    createStatusBar();
    createScanParts();
    formLoad();
}

Form1::~Form1() = default;

// The thumbnail list on the left, the information panel of eighteen lines on the right.
void Form1::createCentralArea()
{
    auto *central = new QWidget(this);
    auto *layout = new QHBoxLayout(central);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(2);

    m_listView1 = new QListView(central);
    m_listView1->setObjectName(QStringLiteral("ListView1"));
    m_listView1->setViewMode(QListView::IconMode);
    m_listView1->setMovement(QListView::Static);
    m_listView1->setResizeMode(QListView::Adjust);
    m_listView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_listView1->setWordWrap(true);
    m_listView1->viewport()->installEventFilter(this);
    layout->addWidget(m_listView1, 1);

    m_dataBox = new QWidget(central);
    m_dataBox->setObjectName(QStringLiteral("dataBox"));
    for (int i = 1; i <= kPanelLineCount; ++i) {
        auto *line = new QLabel(m_dataBox);
        line->setObjectName(QStringLiteral("LabelA%1").arg(i));
        m_labelA.append(line);
    }
    layout->addWidget(m_dataBox);
    setCentralWidget(central);
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
    if (watched == m_listView1->viewport()) {
        if (event->type() == QEvent::MouseButtonPress)
            ListView1_MouseDown();
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::RightButton)
                ListView1_RightButtonUp(mouse->globalPosition().toPoint());
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// A press on the list while it holds a selection means the user works on that selection.
void Form1::ListView1_MouseDown()
{
    if (listHasSelection())
        mnuButtonSetting(4);
}

bool Form1::listHasSelection() const
{
    const QItemSelectionModel *selection = m_listView1->selectionModel();
    return selection && selection->hasSelection();
}
