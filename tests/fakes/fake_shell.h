#pragma once
// A desktop double: records the properties windows asked for, the folders and URLs opened, and
// lets a test answer a properties request with an error.

#include "widgets/desktop_shell.h"

#include <QList>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <vector>

namespace fakes {

class FakeShell final : public DesktopShell
{
public:
    QStringList propertiesAsked;
    QStringList foldersOpened;
    QList<QUrl> urlsOpened;
    // The failure hand-backs of the requests not yet answered, oldest first.
    std::vector<std::function<void()>> pending;

    void showItemProperties(const QString &file, std::function<void()> failed) override
    {
        propertiesAsked.append(file);
        pending.push_back(std::move(failed));
    }
    void openFolder(const QString &folder) override { foldersOpened.append(folder); }
    void openUrl(const QUrl &url) override { urlsOpened.append(url); }

    // The file manager answers the oldest request with an error.
    void failOldest()
    {
        if (pending.empty())
            return;
        auto failed = std::move(pending.front());
        pending.erase(pending.begin());
        if (failed)
            failed();
    }
};

} // namespace fakes
