#pragma once
// The program's commands by id (command_ids.h), as every room sees them. Each id owns one
// QAction: its text, icon, checkable and checked state and enabled state. Menus, the
// toolbar and the tray menu show that action; keys and the desktop's media controls
// trigger it by id. A command's enabled and checked states come from one rule each,
// evaluated in one place (refresh), never set by the menus that show it.

#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class QMenu;

class Commands
{
public:
    virtual ~Commands() = default;

    // Registers the command `id`: its action (made now, or the one an earlier action(id)
    // made) takes the text, and triggering it runs `run`. Registering an id again replaces
    // what it runs. Returns the action.
    virtual QAction *add(const QString &id, const QString &text, std::function<void()> run) = 0;
    // The action of a command, made on first use (a toolbar may show it before its owner
    // has registered it).
    virtual QAction *action(const QString &id) = 0;
    // Runs the command when it is registered and enabled (its rule evaluated now); false
    // otherwise. Every rule is evaluated again afterwards.
    virtual bool trigger(const QString &id) = 0;
    virtual bool contains(const QString &id) const = 0;
    virtual QStringList ids() const = 0;

    // The rule that tells whether the command can run (none: always).
    virtual void setEnabledRule(const QString &id, std::function<bool()> rule) = 0;
    // The rule of a checkable command's check mark; the action becomes checkable.
    virtual void setCheckedRule(const QString &id, std::function<bool()> rule) = 0;
    // The commands form an exclusive group (the play modes, the speeds): one is checked.
    virtual void makeExclusive(const QStringList &ids) = 0;
    // Evaluates every rule now (after a change of the state they read).
    virtual void refresh() = 0;
    // The rules are evaluated before the menu opens.
    virtual void watch(QMenu *menu) = 0;
};
