#include "ui/main/form1.h"

#include "core/settings/settings.h"
#include "core/twips.h"
#include "ui/main/splitterhandle.h"

#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QSlider>

namespace
{

// Edges are converted rather than lengths, so neighbours meet without a one-pixel gap.
QRect toPixels(const TwipRect &rect, double dpi)
{
    const int left = twipsToPixels(rect.left, dpi);
    const int top = twipsToPixels(rect.top, dpi);
    return QRect(left, top, twipsToPixels(rect.right(), dpi) - left,
                 twipsToPixels(rect.top + rect.height, dpi) - top);
}

} // namespace

// The strip the user drags, and the bar that follows the mouse while dragging; the list and
// the panel move only when the button is released.
void Form1::createSplitter(QWidget *area)
{
    m_imgSplit = new SplitterHandle(area);
    m_imgSplit->setObjectName(QStringLiteral("imgSplit"));
    connect(m_imgSplit, &SplitterHandle::pressed, this,
            [this](int x) { imgSplit_MouseDown(pixelsToTwips(x, logicalDpi())); });
    connect(m_imgSplit, &SplitterHandle::moved, this,
            [this](int x) { imgSplit_MouseMove(pixelsToTwips(x, logicalDpi())); });
    connect(m_imgSplit, &SplitterHandle::released, this, &Form1::imgSplit_MouseUp);

    m_pictSplit = new QWidget(area);
    m_pictSplit->setObjectName(QStringLiteral("pictSplit"));
    m_pictSplit->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_pictSplit->setAutoFillBackground(true);
    m_pictSplit->setBackgroundRole(QPalette::Shadow);
    m_pictSplit->hide();
}

QWidget *Form1::imgSplit() const
{
    return m_imgSplit;
}

// The browsing area is the central widget: Qt keeps the toolbar above it and the status bar
// below it, so the list starts at the area's top instead of 450 twips down.
void Form1::Form_Resize()
{
    if (isMinimized() || !centralWidget())
        return;
    const double dpi = logicalDpi();
    const TwipSize window{pixelsToTwips(width(), dpi), pixelsToTwips(height(), dpi)};
    const TwipSize snapped = snapToMinimumWindowSize(window);
    const QSize least(twipsToPixels(snapped.width, dpi), twipsToPixels(snapped.height, dpi));
    if (least != size() && snapped != window) {
        resize(least); // the resize lays the window out again
        return;
    }

    const QWidget *area = centralWidget();
    const TwipSize areaSize{pixelsToTwips(area->width(), dpi), pixelsToTwips(area->height(), dpi)};
    const FormLayout layout = formLayout(areaSize, m_panelWidth, appSettings().dataFont.size);
    m_listView1->setGeometry(toPixels(layout.list, dpi));
    m_dataBox->setGeometry(toPixels(layout.dataBox, dpi));
    for (int i = 0; i < m_labelA.size(); ++i)
        m_labelA[i]->setGeometry(toPixels(layout.panel.lines[i], dpi));
    m_slider1->setGeometry(toPixels(layout.panel.slider, dpi));
    m_imgSplit->setGeometry(toPixels(layout.splitter, dpi));
    m_imgSplit->raise();
    if (m_progressBar1 && m_progressBar1->isVisible())
        placeProgressBar();
}

double Form1::areaWidthTwips() const
{
    return pixelsToTwips(centralWidget()->width(), logicalDpi());
}

// `x` is the mouse position relative to imgSplit, in twips.
void Form1::imgSplit_MouseDown(double x)
{
    const QWidget *area = centralWidget();
    const double dpi = logicalDpi();
    const TwipSize areaSize{pixelsToTwips(area->width(), dpi), pixelsToTwips(area->height(), dpi)};
    // The splitter's place in twips, not read back from pixels, so that a release without a
    // move gives the same layout.
    const double splitterLeft =
        formLayout(areaSize, m_panelWidth, appSettings().dataFont.size).splitter.left;
    m_splitterDrag.press(splitterLeft, x);
    m_pictSplit->setGeometry(m_imgSplit->geometry());
    m_pictSplit->show();
    m_pictSplit->raise();
}

void Form1::imgSplit_MouseMove(double x)
{
    if (!m_pictSplit->isVisible())
        return;
    if (m_splitterDrag.move(x, areaWidthTwips()))
        m_pictSplit->move(twipsToPixels(m_splitterDrag.barLeft(), logicalDpi()), m_pictSplit->y());
}

void Form1::imgSplit_MouseUp()
{
    if (!m_splitterDrag.active())
        return;
    m_pictSplit->hide();
    m_panelWidth = m_splitterDrag.release(areaWidthTwips());
    Form_Resize();
}
