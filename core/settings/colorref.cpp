#include "core/settings/colorref.h"

namespace
{

constexpr quint32 kSystemColorFlag = 0x80000000u;

// The system colour numbers of the stored values, mapped to the palette role that plays the
// same part on this desktop.
QColor systemColor(quint32 index, const QPalette &palette)
{
    switch (index) {
    case 1:  // desktop
    case 2:  // active caption
    case 13: // highlight
        return palette.color(QPalette::Highlight);
    case 5: // window background
        return palette.color(QPalette::Base);
    case 6:  // window frame
    case 16: // 3-D shadow
        return palette.color(QPalette::Mid);
    case 8:  // window text
    case 18: // button text
        return palette.color(QPalette::Text);
    case 9:  // caption text
    case 14: // highlighted text
        return palette.color(QPalette::HighlightedText);
    case 17: // grey text
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 20: // 3-D highlight
        return palette.color(QPalette::Light);
    case 21: // 3-D dark shadow
        return palette.color(QPalette::Shadow);
    case 22: // 3-D light
        return palette.color(QPalette::Midlight);
    case 23: // tooltip text
        return palette.color(QPalette::ToolTipText);
    case 24: // tooltip background
        return palette.color(QPalette::ToolTipBase);
    default: // face of buttons and dialogs, and every colour without a closer role
        return palette.color(QPalette::Button);
    }
}

} // namespace

QColor colorFromColorRef(qint32 value, const QPalette &palette)
{
    const auto bits = static_cast<quint32>(value);
    if (bits & kSystemColorFlag)
        return systemColor(bits & 0xFFu, palette);
    return QColor(int(bits & 0xFFu), int((bits >> 8) & 0xFFu), int((bits >> 16) & 0xFFu));
}

qint32 colorRefFromColor(const QColor &color)
{
    return qint32(quint32(color.red()) | quint32(color.green()) << 8 | quint32(color.blue()) << 16);
}
