#include "core/formlayout.h"

#include <algorithm>

using namespace FormLayoutMetrics;

namespace
{

constexpr double kLineInset = 190;
constexpr double kTwipsPerPoint = 25;
constexpr double kLineGapPoints = 5;
constexpr int kZoomLine = 7; // LabelA(8)
constexpr double kSliderWidthShare = 0.55;
constexpr double kSliderHeightShare = 0.7;
constexpr double kZoomTextLeftShare = 0.65;
constexpr double kZoomTextWidthShare = 0.32;

} // namespace

TwipSize snapToMinimumWindowSize(TwipSize window)
{
    return {std::max(window.width, kMinimumWindowWidth),
            std::max(window.height, kMinimumWindowHeight)};
}

PanelLayout panelLayout(double panelWidth, double fontPoints)
{
    PanelLayout layout;
    const double pitch = (fontPoints + kLineGapPoints) * kTwipsPerPoint;
    const double lineWidth = std::max(0.0, panelWidth - 2 * kLineInset);
    for (int i = 0; i < kPanelLineCount; ++i)
        layout.lines[i] = {kLineInset, pitch * i, lineWidth, fontPoints * kTwipsPerPoint};

    TwipRect &zoomText = layout.lines[kZoomLine];
    layout.slider = {zoomText.left, zoomText.top, panelWidth * kSliderWidthShare,
                     kSliderHeightShare * zoomText.height};
    zoomText.left = panelWidth * kZoomTextLeftShare;
    zoomText.width = panelWidth * kZoomTextWidthShare;
    return layout;
}

FormLayout formLayout(TwipSize area, double panelWidth, double fontPoints)
{
    const double besideList = kListLeft + kListPanelGap;
    double listWidth = area.width - (panelWidth + besideList);
    double shownPanelWidth = panelWidth;
    if (listWidth < kMinimumListWidth) {
        listWidth = kMinimumListWidth;
        shownPanelWidth = std::max(0.0, area.width - (listWidth + besideList));
    }
    const double height = std::max(0.0, area.height);

    FormLayout layout;
    layout.list = {kListLeft, 0, listWidth, height};
    layout.dataBox = {listWidth + besideList, 0, shownPanelWidth, height};
    layout.splitter = {layout.list.right() - kSplitterWidth / 2, 0, kSplitterWidth, height};
    layout.panel = panelLayout(shownPanelWidth, fontPoints);
    return layout;
}

void SplitterDrag::press(double splitterLeft, double mouseX)
{
    m_active = true;
    m_barLeft = splitterLeft;
    m_origin = mouseX;
}

bool SplitterDrag::move(double mouseX, double areaWidth)
{
    if (!m_active)
        return false;
    const double candidate = m_barLeft + (mouseX - m_origin);
    if (candidate <= kSplitterMargin || candidate >= areaWidth - kSplitterMargin)
        return false;
    m_barLeft = candidate;
    m_origin = mouseX;
    return true;
}

double SplitterDrag::release(double areaWidth)
{
    m_active = false;
    const double listWidth = m_barLeft + kSplitterWidth / 2 - kListLeft;
    return areaWidth - (listWidth + kListLeft + kListPanelGap);
}
