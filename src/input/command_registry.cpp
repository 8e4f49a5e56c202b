#include "input/command_registry.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

CommandRegistry::CommandRegistry(QObject *parent) : QObject(parent) {}

CommandRegistry::~CommandRegistry() = default;

CommandRegistry::Command &CommandRegistry::entry(const QString &id)
{
    Command &c = m_commands[id];
    if (!c.action) {
        c.action = new QAction(this);
        c.action->setObjectName(id);
        // The state a menu or toolbar shows is the command's: a check mark that Qt flips
        // on a click is put back by the rule once the command has run.
        connect(c.action, &QAction::triggered, this, [this, id] { chosen(id); });
    }
    return c;
}

QAction *CommandRegistry::add(const QString &id, const QString &text, std::function<void()> run)
{
    Command &c = entry(id);
    c.action->setText(text);
    c.run = std::move(run);
    apply(c);
    return c.action;
}

QAction *CommandRegistry::action(const QString &id)
{
    return entry(id).action;
}

bool CommandRegistry::isEnabled(const QString &id) const
{
    const auto it = m_commands.find(id);
    return it != m_commands.end() && it->second.run && (!it->second.enabled || it->second.enabled());
}

bool CommandRegistry::trigger(const QString &id)
{
    if (!isEnabled(id))
        return false;
    // The command may register or replace commands: it runs from a copy.
    const std::function<void()> run = m_commands.at(id).run;
    const bool nested = std::exchange(m_running, true);
    run();
    m_running = nested;
    if (!m_running)
        refresh();
    return true;
}

void CommandRegistry::chosen(const QString &id)
{
    if (!trigger(id))
        refresh(); // refused: the check mark Qt flipped goes back
}

bool CommandRegistry::contains(const QString &id) const
{
    const auto it = m_commands.find(id);
    return it != m_commands.end() && it->second.run;
}

QStringList CommandRegistry::ids() const
{
    QStringList out;
    for (const auto &[id, c] : m_commands)
        if (c.run)
            out.append(id);
    return out;
}

void CommandRegistry::setEnabledRule(const QString &id, std::function<bool()> rule)
{
    Command &c = entry(id);
    c.enabled = std::move(rule);
    apply(c);
}

void CommandRegistry::setCheckedRule(const QString &id, std::function<bool()> rule)
{
    Command &c = entry(id);
    c.checked = std::move(rule);
    c.action->setCheckable(true);
    apply(c);
}

void CommandRegistry::makeExclusive(const QStringList &ids)
{
    auto *group = new QActionGroup(this);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const QString &id : ids) {
        QAction *a = entry(id).action;
        a->setCheckable(true);
        group->addAction(a);
    }
}

void CommandRegistry::apply(Command &c)
{
    if (c.enabled)
        c.action->setEnabled(c.enabled());
    if (c.checked)
        c.action->setChecked(c.checked());
}

void CommandRegistry::refresh()
{
    for (auto &[id, c] : m_commands)
        apply(c);
}

void CommandRegistry::watch(QMenu *menu)
{
    connect(menu, &QMenu::aboutToShow, this, [this] { refresh(); });
}
