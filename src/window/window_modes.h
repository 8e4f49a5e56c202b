#pragma once
// The window's modes: mini mode, full screen and always on top, with the size menu
// `m_size` and the window menu `m_window`. The tab renames leave always-on-top for as long
// as their input box is open (TopmostSwitch).

#include <QObject>
#include <array>

class QAction;
class QMenu;
class QWidget;

// Always on top, set aside while the user types a new name.
class TopmostSwitch
{
public:
    virtual ~TopmostSwitch() = default;
    virtual void beginRename() = 0;
    virtual void endRename() = 0;
};

class WindowModes : public QObject, public TopmostSwitch
{
    Q_OBJECT
public:
    // `original` is the options page's "always the original size" item; the size menu
    // shows it first.
    WindowModes(QWidget *window, QAction *original);

    bool smallMode = false;
    bool listVisibleBeforeSmall = false;
    bool alwaysOnTop = true;
    bool isRenaming = false;

    QMenu *m_size = nullptr;
    std::array<QAction *, 6> size{};
    QMenu *m_window = nullptr;
    QAction *m_temae = nullptr;
    QAction *m_saiteki = nullptr;
    QAction *m_small = nullptr;

    void enterSmallMode();
    void leaveSmallMode();
    void leaveFullScreen();
    void setTopmost();
    void clearTopmost();
    void applyWindowRegion();
    // The options page's "常に手前に表示" box changed: the menu item follows it, and the
    // window goes on top or not.
    void followTopmostOption(bool on);

    void beginRename() override;
    void endRename() override;

private:
    QWidget *m_windowWidget;
};
