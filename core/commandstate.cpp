#include "core/commandstate.h"

#include <array>

namespace
{

// One row per group of items; a cell is on, off or left unchanged, for states 1 to 5.
enum Cell { Off, On, Keep };

struct MenuRow {
    QStringList names;
    std::array<Cell, 5> cells;
};

const QList<MenuRow> &menuRows()
{
    static const QList<MenuRow> rows = {
        {{"mnuFile"}, {On, Off, On, On, On}},
        {{"mnuFileOpen", "mnuOption", "mnuFileExit"}, {On, Keep, On, On, On}},
        {{"mnuFileSlideShow", "mnuFileRename"}, {Off, Keep, On, On, Off}},
        {{"mnuEdit"}, {Off, Off, On, On, Off}},
        {{"mnuEditSelAll"}, {Keep, Keep, On, On, Keep}},
        {{"mnuEditVisible", "mnuEditHide", "mnuFileCopy", "mnuFileMove", "mnuFileRenameOrigin",
          "mnuFileDel", "mnuEditWallPaper", "mnuEdit2Exif", "mnuEditRotate"},
         {Keep, Keep, Off, On, Keep}},
        {{"mnuHelp"}, {On, Off, On, On, On}},
    };
    return rows;
}

const QStringList kIdleButtons = {"Open",       "Option",   "ShowAll", "ShowNormal",
                                  "ShowHidden", "SetSmall", "SetMid",  "SetBig"};

struct ToolbarRow {
    bool base;
    QStringList exceptions;
};

ToolbarRow toolbarRow(int state)
{
    switch (state) {
    case 1:
        return {false, kIdleButtons};
    case 2:
        return {false, {"Stop"}};
    case 3:
        return {true, {"SetVisible", "SetHidden", "Stop", "jpg2Exif", "Rotate"}};
    case 4:
        return {true, {"Stop"}};
    default:
        return {false, kIdleButtons + QStringList{"Reload"}};
    }
}

} // namespace

std::optional<bool> CommandPlan::menuItemEnabled(const QString &name) const
{
    for (const MenuSwitch &item : menuItems) {
        if (item.name == name)
            return item.enabled;
    }
    return std::nullopt;
}

bool CommandPlan::toolbarButtonEnabled(const QString &key) const
{
    return toolbarExceptions.contains(key) ? !toolbarBase : toolbarBase;
}

std::optional<CommandPlan> commandPlanFor(int state)
{
    if (state < 1 || state > 5)
        return std::nullopt;
    CommandPlan plan;
    for (const MenuRow &row : menuRows()) {
        const Cell cell = row.cells[state - 1];
        if (cell == Keep)
            continue;
        for (const QString &name : row.names)
            plan.menuItems.append({name, cell == On});
    }
    const ToolbarRow toolbar = toolbarRow(state);
    plan.toolbarBase = toolbar.base;
    plan.toolbarExceptions = toolbar.exceptions;
    return plan;
}

std::optional<CommandPlan> CommandState::enter(int state)
{
    if (m_current == state)
        return std::nullopt;
    m_current = state;
    return commandPlanFor(state);
}
