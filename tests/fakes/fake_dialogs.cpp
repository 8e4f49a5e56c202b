#include "fakes/fake_dialogs.h"

namespace fakes {

namespace {
template <typename T>
T take(std::deque<T> &q, T fallback)
{
    if (q.empty())
        return fallback;
    T v = q.front();
    q.pop_front();
    return v;
}
} // namespace

Dialogs::Answer FakeDialogs::message(QWidget *, const QString &text, const QString &title, Buttons buttons)
{
    asked.append({QStringLiteral("message"), text, title, {}, {}});
    return take(answers, buttons == Buttons::Ok ? Answer::Ok : Answer::No);
}

QString FakeDialogs::input(QWidget *, const QString &prompt, const QString &title, const QString &def)
{
    asked.append({QStringLiteral("input"), prompt, title, def, {}});
    return take(inputs, QString());
}

QString FakeDialogs::file(QWidget *, const FileDialogOptions &options)
{
    asked.append({QStringLiteral("file"), {}, options.title, options.initialDir, options});
    return take(files, QString());
}

QString FakeDialogs::folder(QWidget *, const QString &title, const QString &initial, bool)
{
    asked.append({QStringLiteral("folder"), {}, title, initial, {}});
    return take(folders, QString());
}

bool FakeDialogs::color(QWidget *, int &colour)
{
    asked.append({QStringLiteral("color"), {}, {}, QString::number(colour), {}});
    const std::optional<int> answer = take(colors, std::optional<int>());
    if (!answer)
        return false;
    colour = *answer;
    return true;
}

} // namespace fakes
