#pragma once
// What the program hands over to the desktop: a file's properties window (the file
// manager's ShowItemProperties over D-Bus), a folder opened in the file manager and a URL
// (the help file) opened by the desktop. The
// program uses the desktop's own; the window tests pass a double that records the
// hand-offs.

#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class DesktopShell
{
public:
    virtual ~DesktopShell() = default;
    // Asks the file manager for the properties window of a file, without waiting for it:
    // `failed` runs later on the UI thread when no file manager answers or it refuses.
    virtual void showItemProperties(const QString &file, std::function<void()> failed) = 0;
    // Opens a folder in the desktop's file manager.
    virtual void openFolder(const QString &folder) = 0;
    // Opens an address with the desktop's handler of its scheme (a web page in the browser).
    virtual void openUrl(const QUrl &url) = 0;
};

// The desktop's own: org.freedesktop.FileManager1 on the session bus, and the desktop's
// handler of folder URLs.
std::shared_ptr<DesktopShell> makeDesktopShell();
