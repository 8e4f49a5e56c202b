#pragma once
// The registry of the program's commands: one QAction per id, owned here, with the
// command it runs and the rules of its enabled and checked states.

#include "widgets/commands.h"

#include <QObject>

#include <map>

class QActionGroup;

class CommandRegistry : public QObject, public Commands
{
    Q_OBJECT
public:
    explicit CommandRegistry(QObject *parent = nullptr);
    ~CommandRegistry() override;

    QAction *add(const QString &id, const QString &text, std::function<void()> run) override;
    QAction *action(const QString &id) override;
    bool trigger(const QString &id) override;
    bool contains(const QString &id) const override;
    QStringList ids() const override;
    void setEnabledRule(const QString &id, std::function<bool()> rule) override;
    void setCheckedRule(const QString &id, std::function<bool()> rule) override;
    void makeExclusive(const QStringList &ids) override;
    void refresh() override;
    void watch(QMenu *menu) override;

    // Whether the command can run now: registered, and its rule (if any) allows it.
    bool isEnabled(const QString &id) const;

private:
    struct Command
    {
        QAction *action = nullptr;
        std::function<void()> run;
        std::function<bool()> enabled;
        std::function<bool()> checked;
    };
    Command &entry(const QString &id);
    void apply(Command &c);
    // A menu item or toolbar button was chosen: its action is enabled, so the command runs.
    void chosen(const QString &id);

    std::map<QString, Command> m_commands;
    bool m_running = false; // a command runs: the rules are evaluated once it has ended
};
