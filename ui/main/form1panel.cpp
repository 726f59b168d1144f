#include "ui/main/form1.h"

#include "core/panellines.h"
#include "core/scan/thumbnaillistmodel.h"
#include "core/settings/settings.h"
#include "platform/fileattributes.h"
#include "ui/main/statuspanel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QSlider>

#include <algorithm>
#include <limits>

// The panel of eighteen lines and the zoom slider beside the list. The lines show texts from
// picture files as they are, never as markup.
void Form1::createInformationPanel(QWidget *area)
{
    m_dataBox = new QWidget(area);
    m_dataBox->setObjectName(QStringLiteral("dataBox"));
    for (int i = 1; i <= FormLayoutMetrics::kPanelLineCount; ++i) {
        auto *line = new QLabel(m_dataBox);
        line->setObjectName(QStringLiteral("LabelA%1").arg(i));
        line->setTextFormat(Qt::PlainText);
        m_labelA.append(line);
    }
    // The slider only shows the zoom position; the user cannot move it.
    m_slider1 = new QSlider(Qt::Horizontal, m_dataBox);
    m_slider1->setObjectName(QStringLiteral("Slider1"));
    m_slider1->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_slider1->setFocusPolicy(Qt::NoFocus);
    m_slider1->hide();

    connect(m_listView1, &QAbstractItemView::clicked, this, &Form1::ListView1_ItemClick);
    m_listView1->installEventFilter(this);
}

void Form1::ListView1_ItemClick()
{
    const int row = selectedRow();
    if (m_scanning || row < 0)
        return;
    const QModelIndex item = m_listView1->model()->index(row, 0);
    const QString path = m_shownFolder + item.data(Qt::DisplayRole).toString();
    mnuButtonSetting(4);
    appSettings().general.currentPicture = path;
    appSettings().slide.startItem =
        qint16(std::min(row + 1, int(std::numeric_limits<qint16>::max())));

    int attributes = 0;
    const FileError read = getAttributes(path, attributes);
    if (read.number == FileErrorNumber::FileNotFound)
        return; // gone since the scan: the panel keeps what it shows
    if (read.ok())
        statusPanel(2)->setText(visibilityText(attributes & FileAttribute::Hidden));

    const std::optional<PanelContent> content =
        panelContentForFile(path, item.data(ThumbnailListModel::TagRole).toString(), m_cameraTable);
    if (content)
        showPanelContent(*content);
}

// Camera texts may carry padding zero bytes before their terminator; the line ends at the
// first of them instead of drawing them as boxes.
void Form1::showPanelContent(const PanelContent &content)
{
    for (int i = 0; i < m_labelA.size(); ++i) {
        const QString line = content.lines.value(i);
        m_labelA[i]->setText(line.left(line.indexOf(QChar(0))));
    }
    m_slider1->setRange(content.sliderMinimum, content.sliderMaximum);
    m_slider1->setValue(content.sliderValue);
    m_slider1->setVisible(content.sliderVisible);
}

// Keys that move the list's selection select an item as a click does; a held key fills the
// panel once, when it is let go.
bool Form1::isListNavigationKey(const QEvent *event) const
{
    if (event->type() != QEvent::KeyRelease)
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    if (key->isAutoRepeat())
        return false;
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Space:
        return true;
    default:
        return false;
    }
}
