#pragma once
// A dialog double: answers every message box, input box, file dialog, folder browser and
// colour dialog from a script, and records what was asked.

#include "dialogs/dialogs.h"

#include <QList>
#include <deque>
#include <optional>

namespace fakes {

class FakeDialogs final : public Dialogs
{
public:
    struct Asked
    {
        QString kind; // "message", "input", "file", "folder", "color"
        QString text;
        QString title;
        QString initial;
        FileDialogOptions options;
    };

    std::deque<Answer> answers;   // for message boxes; Ok / No when the script runs out
    std::deque<QString> inputs;   // for input boxes; "" (cancel) when it runs out
    std::deque<QString> files;    // for file dialogs
    std::deque<QString> folders;  // for folder browsers
    std::deque<std::optional<int>> colors; // for colour dialogs: a value, or nullopt to cancel; cancel when it runs out
    QList<Asked> asked;
    int beeps = 0;

    Answer message(QWidget *, const QString &text, const QString &title, Buttons buttons) override;
    QString input(QWidget *, const QString &prompt, const QString &title, const QString &def) override;
    QString file(QWidget *, const FileDialogOptions &options) override;
    QString folder(QWidget *, const QString &title, const QString &initial, bool rooted) override;
    bool color(QWidget *, int &colour) override;
    void beep() override { ++beeps; }
};

} // namespace fakes
