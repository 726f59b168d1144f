#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// How one state sets the menus and the toolbar. Menu items the state leaves alone are absent
// from menuItems. Toolbar buttons are first all set to toolbarBase (walked by position), then the
// buttons named in toolbarExceptions are set to the opposite, by key.
struct CommandPlan {
    struct MenuSwitch {
        QString name;
        bool enabled = false;
    };
    QList<MenuSwitch> menuItems;
    bool toolbarBase = false;
    QStringList toolbarExceptions;

    std::optional<bool> menuItemEnabled(const QString &name) const;
    bool toolbarButtonEnabled(const QString &key) const;
};

// The plan of a state 1..5; no plan for any other value.
std::optional<CommandPlan> commandPlanFor(int state);

// The remembered command state. It starts undefined so that the first state always applies.
class CommandState
{
  public:
    // The plan to apply when entering state, or none when state equals the remembered one or
    // lies outside 1..5. The state is remembered either way.
    std::optional<CommandPlan> enter(int state);
    std::optional<int> current() const { return m_current; }

  private:
    std::optional<int> m_current;
};
