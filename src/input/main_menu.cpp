#include "input/main_menu.h"

#include "playback/real_control.h"
#include "scenes/scene_menus.h"
#include "widgets/command_ids.h"
#include "widgets/commands.h"
#include "widgets/controls.h"
#include "widgets/desktop_shell.h"
#include "widgets/options.h"
#include "window/control_bar.h"
#include "window/video_area.h"
#include "window/window_modes.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QFileInfo>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace {

// The balloon help's texts, line by line, by the control's name.
struct Tool
{
    const char *name;
    const char *lines[4];
};
const Tool kTools[] = {
    {"display", {"・右クリックでメニューを表示", "・ドラッグ＆ドロップでウィンドウの移動", "・ダブルクリックすると最小モードの切り替えが行なえます。"}},
    {"List_okini", {"・右クリックでアイテムメニュー表示", "・ファイルをドラッグ＆ドロップでファイルを追加", "・リストの順番を変えたい場合は、リストモードにして", "　ファイルをドラッグ＆ドロップすれば変更できます。"}},
    {"File", {"・右クリックでメニューを表示", "・タブにドラッグ＆ドロップでお気に入りに追加", "・複数選択化"}},
    {"Tab1", {"・ファイルをドラッグ＆ドロップでお気に入りに追加"}},
    {"check_resume", {"・次回起動時に前回開いていたファイルがリジュームされます"}},
    {"check_auto_adjust", {"・ウィンドウの横幅に応じて変更"}},
    {"Check_noTaskbar", {"・最小化を元に戻すときはシステムトレイのアイコンをダブルクリック"}},
    {"Check_auto_hide", {"・再生画面の右端（右から１０％）にカーソルを移動するとリストを表示", "・再生画面の右端以外の所にカーソルを移動するとリストを非表示"}},
    {"SeekBar", {"　シークバー", "・CTRL＋ドラッグ＆ドロップで区間選択", "・区間選択解除は右クリック"}},
    {"vol", {"　音量コントロール", "・右クリックでミュート"}},
};

// The balloon: white text on RGB(40, 80, 140), at most 1000 pixels wide. Its own palette,
// so neither the lists' palettes nor the other tooltips change.
class BalloonTip final : public QLabel
{
public:
    explicit BalloonTip(QWidget *owner) : QLabel(owner, Qt::ToolTip | Qt::FramelessWindowHint)
    {
        setObjectName(QStringLiteral("toolTipWindow"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setTextFormat(Qt::PlainText);
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, QColor(40, 80, 140));
        p.setColor(QPalette::WindowText, Qt::white);
        setPalette(p);
        setMargin(6);
        m_hide.setSingleShot(true);
        m_hide.setInterval(kShownMs);
        connect(&m_hide, &QTimer::timeout, this, &QWidget::hide);
    }

    void showText(const QString &text, QPoint globalPos)
    {
        setWordWrap(false);
        setText(text);
        QSize size = sizeHint();
        if (size.width() > kMaxWidth) {
            setWordWrap(true);
            size = QSize(kMaxWidth, heightForWidth(kMaxWidth));
        }
        resize(size);
        // Below the pointer, inside the screen it is on.
        QPoint at = globalPos + QPoint(2, 20);
        if (const QScreen *screen = QGuiApplication::screenAt(globalPos)) {
            const QRect area = screen->availableGeometry();
            at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - width())));
            if (at.y() + height() > area.bottom() + 1)
                at.setY(globalPos.y() - height() - 4);
        }
        move(at);
        show();
        raise();
        m_hide.start();
    }

private:
    static constexpr int kMaxWidth = 1000;
    static constexpr int kShownMs = 10000;
    QTimer m_hide;
};

} // namespace

MainMenu::MainMenu(QWidget *window, Rooms rooms, Submenus submenus)
    : QObject(window), m_window(window), m_commands(rooms.commands), m_controls(rooms.controls), m_sub(submenus),
      m_scenes(rooms.scenes), m_modes(rooms.modes), m_video(rooms.video), m_options(rooms.options),
      m_shell(std::move(rooms.shell)), m_appDir(std::move(rooms.appDir))
{
    Commands &commands = m_commands;
    SceneMenus &scenes = m_scenes;
    m_menu = new QMenu(QStringLiteral("メニュー"), window);
    m_menu->setObjectName(QStringLiteral("menu"));
    commands.watch(m_menu);
    m_m_addOkiniForMenu = commands.action(command::addPlaying);
    m_m_addOkiniForMenu->setText(QStringLiteral("お気に入りに追加"));
    m_menu->addAction(m_m_addOkiniForMenu);
    m_menu->addMenu(m_sub.m);
    m_menu->addMenu(m_sub.m_size);
    m_menu->addMenu(m_sub.m_speed);
    m_menu->addMenu(m_sub.m_mode);
    m_menu->addSeparator();
    m_menu->addMenu(scenes.m_seen_load());
    m_menu->addMenu(scenes.m_edit_seen());
    m_menu->addSeparator();
    m_menu->addMenu(m_sub.m_window);
    m_menu->addSeparator();
    m_help = commands.add(command::help, QStringLiteral("ヘルプ(F1)"), [this] { help_Click(); });
    m_menu->addAction(m_help);
    m_m_exit = commands.action(command::exit);
    m_m_exit->setText(QStringLiteral("終了(Ctrl+W)"));
    m_menu->addAction(m_m_exit);

    // The toolbar's menu buttons.
    for (const auto &[id, key] : {std::pair{command::sizeMenu, "size"}, std::pair{command::speedMenu, "speed"},
                                  std::pair{command::modeMenu, "mode"}, std::pair{command::windowMenu, "temae"}}) {
        const QString k = QString::fromLatin1(key);
        QAction *a = commands.action(id);
        commands.add(id, a->toolTip(), [this, k] { panel_ButtonClick(k); });
    }
    for (QMenu *sub : {m_sub.m, m_sub.m_size, m_sub.m_speed, m_sub.m_mode, m_sub.m_window})
        commands.watch(sub);
}

// ---- The mouse

void MainMenu::display_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint pos)
{
    if (button == Qt::RightButton) {
        popUp();
        return;
    }
    if (button != Qt::LeftButton)
        return;
    if (m_options.mouseMode() == 1) {
        m_commands.trigger(command::play);
        return;
    }
    if (!m_modes.inFullScreen())
        dragWindow(m_video.display()->mapToGlobal(pos));
}

void MainMenu::control_MouseDown(Qt::MouseButton button, QPoint globalPos)
{
    if (button == Qt::LeftButton)
        dragWindow(globalPos);
}

void MainMenu::rmovie_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, QPoint pos)
{
    RealControl *rmovie = m_video.rmovie();
    if (button == Qt::RightButton) {
        popUpWithScenes(!rmovie->source().isEmpty());
        return;
    }
    if (button != Qt::LeftButton)
        return;
    m_video.display()->setFocus();
    ++m_realClickCount;
    if (m_realClickCount > 2) {
        m_realClickCount = 0;
        m_modes.display_DblClick();
        return;
    }
    if (!m_modes.inFullScreen() && !m_realDragStarted) {
        m_realDragStarted = true;
        m_realClickCount = -1;
        dragWindow(rmovie->mapToGlobal(pos));
    }
}

void MainMenu::rmovie_MouseMove(Qt::MouseButtons buttons)
{
    m_realClickCount = 0;
    m_video.display()->setFocus();
    if (buttons == Qt::NoButton)
        m_realDragStarted = false;
}

void MainMenu::dragWindow(QPoint globalPress)
{
    const bool watching = m_drag.has_value() || m_dragPressAt.has_value();
    m_drag.reset();
    m_dragPressAt = globalPress;
    if (!watching)
        qApp->installEventFilter(this);
}

void MainMenu::startDrag(QPoint pressAt, QPoint pointerAt)
{
    // While the button is still held: Wayland moves a window only with the press's serial,
    // which no motion replaces. The window manager moves the window from where the pointer
    // is now, the few pixels from the press on left out.
    if (QWindow *handle = m_window->windowHandle(); handle && handle->startSystemMove()) {
        qApp->removeEventFilter(this);
        return;
    }
    // No window manager moves it (none runs, or the platform has none): the window follows
    // the pointer itself until the button is released.
    m_drag = Drag{pressAt, m_window->pos()};
    m_window->move(m_drag->windowAt + (pointerAt - pressAt));
}

bool MainMenu::eventFilter(QObject *o, QEvent *e)
{
    if ((m_drag || m_dragPressAt)
        && (e->type() == QEvent::MouseMove || e->type() == QEvent::MouseButtonRelease
            || e->type() == QEvent::MouseButtonDblClick)) {
        const auto *m = static_cast<QMouseEvent *>(e);
        const QPoint at = m->globalPosition().toPoint();
        if (e->type() == QEvent::MouseButtonDblClick || !(m->buttons() & Qt::LeftButton)) {
            // Released (or the second press of a double click): no drag.
            m_drag.reset();
            m_dragPressAt.reset();
            qApp->removeEventFilter(this);
        } else if (m_dragPressAt) {
            if ((at - *m_dragPressAt).manhattanLength() >= QApplication::startDragDistance()) {
                const QPoint pressAt = *std::exchange(m_dragPressAt, std::nullopt);
                startDrag(pressAt, at);
            }
        } else {
            // The same event offered to each parent in turn moves the window to the same place.
            m_window->move(m_drag->windowAt + (at - m_drag->pressAt));
        }
        return false;
    }
    if (m_toolTipWindow) {
        const auto tool = m_tools.find(o);
        if (tool != m_tools.end()) {
            switch (e->type()) {
            case QEvent::ToolTip: {
                auto *w = static_cast<QWidget *>(o);
                // A row of the file list too long for it shows its own name.
                if (w->objectName() == u"File" && !w->toolTip().isEmpty())
                    return false;
                showBalloon(w, static_cast<QHelpEvent *>(e)->globalPos());
                return true;
            }
            case QEvent::Leave:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::Hide:
                m_toolTipWindow->hide();
                break;
            default:
                break;
            }
        }
    }
    return QObject::eventFilter(o, e);
}

// ---- The menus

void MainMenu::popUp()
{
    popUpWithScenes(m_fileOpen && m_fileOpen());
}

void MainMenu::popUpWithScenes(bool scenesEnabled)
{
    for (QMenu *sub : {m_sub.m_size, m_sub.m_speed, m_sub.m_mode, m_sub.m_window})
        sub->menuAction()->setVisible(true);
    m_scenes.enableForOpenFile(scenesEnabled);
    m_menu->popup(QCursor::pos());
}

void MainMenu::panel_ButtonClick(const QString &key)
{
    // The buttons that are commands run them: play, stop, pre, next, capture, fullscreen.
    if (key == u"play" || key == u"stop" || key == u"pre" || key == u"next" || key == u"capture"
        || key == u"fullscreen") {
        m_commands.trigger(key);
        return;
    }
    QMenu *sub = key == u"size"    ? m_sub.m_size
                 : key == u"speed" ? m_sub.m_speed
                 : key == u"mode"  ? m_sub.m_mode
                 : key == u"temae" ? m_sub.m_window
                                   : nullptr;
    if (!sub)
        return;
    // Under the toolbar, left edge at the pressed button.
    QToolBar *panel = m_controls.panel();
    const auto pressed = m_controls.panelButtons().find(key);
    QWidget *button = pressed != m_controls.panelButtons().end() ? panel->widgetForAction(pressed->second) : nullptr;
    const QPoint at = button ? button->mapToGlobal(QPoint(0, 0)) : QCursor::pos();
    sub->popup(QPoint(at.x(), panel->mapToGlobal(QPoint(0, panel->height())).y()));
}

void MainMenu::help_Click()
{
    const QString file = m_appDir + QStringLiteral("help.chm");
    if (m_shell && QFileInfo(file).isFile())
        m_shell->openUrl(QUrl::fromLocalFile(file));
}

// ---- Balloon help

void MainMenu::createToolTips()
{
    if (m_toolTipWindow)
        return;
    m_toolTipWindow = new BalloonTip(m_window);
    // The balloon shows over an inactive window too.
    m_window->setAttribute(Qt::WA_AlwaysShowToolTips);
    for (const Tool &t : kTools) {
        QWidget *w = m_window->findChild<QWidget *>(QString::fromLatin1(t.name));
        if (!w)
            continue;
        QStringList lines;
        for (const char *line : t.lines)
            if (line)
                lines.append(QString::fromUtf8(line));
        m_tools[w] = lines.join(u'\n');
        w->installEventFilter(this);
        connect(w, &QObject::destroyed, this, [this, w] { m_tools.erase(w); });
    }
}

void MainMenu::showBalloon(QWidget *tool, QPoint globalPos)
{
    static_cast<BalloonTip *>(m_toolTipWindow)->showText(m_tools[tool], globalPos);
}
