#include "core/commandstate.h"
#include "core/settings/colorref.h"

#include <gtest/gtest.h>

#include <QMap>

namespace
{

const QStringList kSelectionItems = {"mnuEditVisible",   "mnuEditHide",         "mnuFileCopy",
                                     "mnuFileMove",      "mnuFileRenameOrigin", "mnuFileDel",
                                     "mnuEditWallPaper", "mnuEdit2Exif",        "mnuEditRotate"};

const QStringList kAllButtons = {
    "Open",    "Rename",     "Option",         "SetVisible", "SetHidden", "SelAll",
    "ShowAll", "ShowNormal", "ShowHidden",     "SetSmall",   "SetMid",    "SetBig",
    "Reload",  "Stop",       "startSlideShow", "jpg2Exif",   "Rotate"};

QMap<QString, bool> menuSwitches(const CommandPlan &plan)
{
    QMap<QString, bool> switches;
    for (const CommandPlan::MenuSwitch &item : plan.menuItems)
        switches.insert(item.name, item.enabled);
    return switches;
}

QStringList enabledButtons(const CommandPlan &plan)
{
    QStringList on;
    for (const QString &key : kAllButtons) {
        if (plan.toolbarButtonEnabled(key))
            on.append(key);
    }
    return on;
}

} // namespace

TEST(CommandPlan, StartedStateEnablesFileAndHelpOnly)
{
    const auto plan = commandPlanFor(1);
    ASSERT_TRUE(plan);
    const QMap<QString, bool> expected = {{"mnuFile", true},           {"mnuFileOpen", true},
                                          {"mnuOption", true},         {"mnuFileExit", true},
                                          {"mnuFileSlideShow", false}, {"mnuFileRename", false},
                                          {"mnuEdit", false},          {"mnuHelp", true}};
    EXPECT_EQ(menuSwitches(*plan), expected); // select all and the selection items unchanged
    EXPECT_EQ(enabledButtons(*plan), QStringList({"Open", "Option", "ShowAll", "ShowNormal",
                                                  "ShowHidden", "SetSmall", "SetMid", "SetBig"}));
}

TEST(CommandPlan, ScanningLeavesOnlyStop)
{
    const auto plan = commandPlanFor(2);
    ASSERT_TRUE(plan);
    const QMap<QString, bool> expected = {
        {"mnuFile", false}, {"mnuEdit", false}, {"mnuHelp", false}};
    EXPECT_EQ(menuSwitches(*plan), expected);
    EXPECT_EQ(enabledButtons(*plan), QStringList({"Stop"}));
}

TEST(CommandPlan, FolderShownEnablesFolderCommandsButNotSelectionCommands)
{
    const auto plan = commandPlanFor(3);
    ASSERT_TRUE(plan);
    const QMap<QString, bool> switches = menuSwitches(*plan);
    const QStringList folderItems = {"mnuFile",     "mnuFileOpen",      "mnuOption",
                                     "mnuFileExit", "mnuFileSlideShow", "mnuFileRename",
                                     "mnuEdit",     "mnuEditSelAll",    "mnuHelp"};
    for (const QString &name : folderItems)
        EXPECT_TRUE(switches.value(name, false)) << qPrintable(name);
    for (const QString &name : kSelectionItems)
        EXPECT_EQ(switches.value(name, true), false) << qPrintable(name);
    EXPECT_EQ(switches.size(), 9 + kSelectionItems.size());
    EXPECT_EQ(enabledButtons(*plan), QStringList({"Open", "Rename", "Option", "SelAll", "ShowAll",
                                                  "ShowNormal", "ShowHidden", "SetSmall", "SetMid",
                                                  "SetBig", "Reload", "startSlideShow"}));
}

TEST(CommandPlan, SelectionEnablesEverythingButStop)
{
    const auto plan = commandPlanFor(4);
    ASSERT_TRUE(plan);
    const QMap<QString, bool> switches = menuSwitches(*plan);
    EXPECT_EQ(switches.size(), 18);
    for (auto it = switches.cbegin(); it != switches.cend(); ++it)
        EXPECT_TRUE(it.value()) << qPrintable(it.key());
    QStringList expected = kAllButtons;
    expected.removeAll("Stop");
    EXPECT_EQ(enabledButtons(*plan), expected);
}

TEST(CommandPlan, EmptyFolderAddsReloadToTheStartedButtons)
{
    const auto plan = commandPlanFor(5);
    ASSERT_TRUE(plan);
    const QMap<QString, bool> expected = {{"mnuFile", true},           {"mnuFileOpen", true},
                                          {"mnuOption", true},         {"mnuFileExit", true},
                                          {"mnuFileSlideShow", false}, {"mnuFileRename", false},
                                          {"mnuEdit", false},          {"mnuHelp", true}};
    EXPECT_EQ(menuSwitches(*plan), expected);
    EXPECT_EQ(enabledButtons(*plan),
              QStringList({"Open", "Option", "ShowAll", "ShowNormal", "ShowHidden", "SetSmall",
                           "SetMid", "SetBig", "Reload"}));
}

TEST(CommandPlan, NoPlanOutsideTheFiveStates)
{
    EXPECT_FALSE(commandPlanFor(0));
    EXPECT_FALSE(commandPlanFor(6));
    EXPECT_FALSE(commandPlanFor(-1));
}

TEST(CommandState, FirstStateAppliesAndRepeatsAreIgnored)
{
    CommandState state;
    EXPECT_FALSE(state.current());
    EXPECT_TRUE(state.enter(1));
    EXPECT_FALSE(state.enter(1));
    EXPECT_TRUE(state.enter(2));
    EXPECT_EQ(state.current(), 2);
}

TEST(CommandState, StateOutsideRangeIsRememberedWithoutPlan)
{
    CommandState state;
    ASSERT_TRUE(state.enter(3));
    EXPECT_FALSE(state.enter(9));
    EXPECT_EQ(state.current(), 9);
    // Back to the earlier state: it differs from the remembered 9, so it applies again.
    EXPECT_TRUE(state.enter(3));
}

TEST(ColorRef, StoredValuesAreBlueGreenRed)
{
    const QPalette palette;
    EXPECT_EQ(colorFromColorRef(0x000000FF, palette), QColor(255, 0, 0));
    EXPECT_EQ(colorFromColorRef(0x00FF0000, palette), QColor(0, 0, 255));
    EXPECT_EQ(colorFromColorRef(0x00336699, palette), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(colorFromColorRef(0, palette), QColor(0, 0, 0));
}

TEST(ColorRef, TopBitNamesASystemColour)
{
    QPalette palette;
    palette.setColor(QPalette::Light, QColor(1, 2, 3));
    palette.setColor(QPalette::Button, QColor(4, 5, 6));
    EXPECT_EQ(colorFromColorRef(qint32(0x80000014u), palette), QColor(1, 2, 3));
    EXPECT_EQ(colorFromColorRef(qint32(0x8000000Fu), palette), QColor(4, 5, 6));
}
