#pragma once

#include <array>

// Geometry of the main window's browsing area, in twips (1/1440 inch). The area is the part of
// the window between the toolbar and the status bar: the thumbnail list on the left, the
// splitter, the information panel on the right.

struct TwipRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    double right() const { return left + width; }
    bool operator==(const TwipRect &) const = default;
};

struct TwipSize {
    double width = 0;
    double height = 0;

    bool operator==(const TwipSize &) const = default;
};

namespace FormLayoutMetrics
{
constexpr int kPanelLineCount = 18;
constexpr double kMinimumWindowWidth = 9300;
constexpr double kMinimumWindowHeight = 4000;
constexpr double kListLeft = 20;
// Between the list's right edge and the panel; the splitter lies centred on the list's edge.
constexpr double kListPanelGap = 30;
constexpr double kSplitterWidth = 60;
// The splitter bar never comes closer than this to either side of the area.
constexpr double kSplitterMargin = 1000;
// The list never becomes narrower than the splitter allows, however wide the stored panel.
constexpr double kMinimumListWidth = 1000;
} // namespace FormLayoutMetrics

// The information panel: eighteen lines and the zoom slider, relative to the panel.
struct PanelLayout {
    std::array<TwipRect, FormLayoutMetrics::kPanelLineCount> lines; // index 0 is LabelA(1)
    TwipRect slider;

    bool operator==(const PanelLayout &) const = default;
};

struct FormLayout {
    TwipRect list;
    TwipRect dataBox;
    TwipRect splitter;
    PanelLayout panel;

    bool operator==(const FormLayout &) const = default;
};

// A window smaller than 9300 x 4000 is enlarged to it.
TwipSize snapToMinimumWindowSize(TwipSize window);

// Lines (F + 5) * 25 apart and F * 25 high for a font of F points, inset 190 from either side;
// the slider takes the left of line 8, whose zoom text moves to the right of it.
PanelLayout panelLayout(double panelWidth, double fontPoints);

// The list, panel and splitter for an area of the given size and the preferred panel width.
// A panel too wide for the area is narrowed so that the list keeps kMinimumListWidth.
FormLayout formLayout(TwipSize area, double panelWidth, double fontPoints);

// Dragging the splitter moves only its bar; the list and the panel follow at the release.
// Positions are x values in twips: the bar's left in the area, the mouse relative to the
// splitter.
class SplitterDrag
{
  public:
    void press(double splitterLeft, double mouseX);
    // Moves the bar by the mouse's travel when it stays within kSplitterMargin of both sides
    // of an area `areaWidth` wide; otherwise nothing moves. Returns whether the bar moved.
    bool move(double mouseX, double areaWidth);
    // Ends the drag; the panel width that puts the list's edge under the bar's centre.
    double release(double areaWidth);

    bool active() const { return m_active; }
    double barLeft() const { return m_barLeft; }

  private:
    bool m_active = false;
    double m_barLeft = 0;
    double m_origin = 0;
};
