#include "input/key_commands.h"

#include "input/key_table.h"
#include "lists/favourites_page.h"
#include "lists/list_pane.h"
#include "lists/okini_list.h"
#include "playback/now_playing.h"
#include "playback/playback.h"
#include "widgets/command_ids.h"
#include "widgets/commands.h"
#include "widgets/controls.h"
#include "widgets/twips.h"
#include "window/control_bar.h"
#include "window/video_area.h"
#include "window/window_modes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QProgressBar>
#include <QTimer>
#include <QWidget>
#include <QWindow>

KeyCommands::KeyCommands(const Rooms &r, const KeyBindings::Page &page, QString appDir)
    : QObject(&r.window), m_window(r.window), m_commands(r.commands), m_video(r.video), m_controls(r.controls),
      m_pane(r.pane), m_favourites(r.favourites), m_modes(r.modes), m_playback(r.playback)
{
    for (QWidget *w : r.textBoxes)
        if (w)
            m_textBoxes.append(w);
    m_bindings = new KeyBindings(this, page, m_commands, std::move(appDir));
    m_releaseLater = new QTimer(this);
    m_releaseLater->setSingleShot(true);
    m_releaseLater->setInterval(kRepeatWindowMs);
    connect(m_releaseLater, &QTimer::timeout, this, &KeyCommands::releasePending);
    m_commands.add(command::endKeySeek, QStringLiteral("シーク終了"), [this] {
        m_playback.endKeySeek();
        m_modes.hideFullScreenControls();
    });
    // The window's key events reach its native window first; the window itself says when
    // it loses the keyboard.
    qApp->installEventFilter(this);
    m_window.installEventFilter(this);
}

KeyCommands::~KeyCommands()
{
    qApp->removeEventFilter(this);
}

bool KeyCommands::takesKeys() const
{
    if (QApplication::activePopupWidget())
        return false; // a menu, a list dropped down
    QWidget *receiver = QWidget::keyboardGrabber();
    if (!receiver)
        receiver = m_window.focusWidget();
    if (!receiver)
        return true; // the window itself
    if (receiver->window() != &m_window)
        return false;
    if (m_bindings->isBox(receiver))
        return false;
    for (const QPointer<QWidget> &box : m_textBoxes)
        if (box == receiver)
            return false;
    return true;
}

bool KeyCommands::eventFilter(QObject *o, QEvent *e)
{
    const QEvent::Type type = e->type();
    if (o == &m_window) {
        if (type == QEvent::WindowDeactivate)
            keyboardLost();
        return false;
    }
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    // Once per event: at the window's native window, before the widget with the focus (and
    // each of its parents, which Qt offers a key the widget leaves) sees it.
    if (!o->isWindowType() || o != m_window.windowHandle() || !takesKeys())
        return false;
    auto *k = static_cast<QKeyEvent *>(e);
    const int code = keyCodeOf(k);
    const int shift = keys::shiftState(k->modifiers());
    const quint64 time = k->timestamp();
    if (type == QEvent::KeyPress) {
        // A held key repeats its press (X11 and Wayland send a release before each one).
        // The first repeat's release can come unmarked on X11: its press follows it at the
        // same time, and the two are a repeat too.
        if (m_pendingRelease && m_pendingRelease->code == code && m_pendingRelease->time == time)
            m_pendingRelease.reset();
        else
            releasePending();
        m_pressed.insert(code);
        dispatchKeyDown(code, shift);
    } else if (!k->isAutoRepeat() && m_pressed.count(code) > 0) {
        releasePending();
        m_pendingRelease = PendingRelease{code, shift, time};
        if (time == 0)
            releasePending(); // no time to tell a repeat by (a release made by the program)
        else
            m_releaseLater->start();
    }
    return false;
}

void KeyCommands::releasePending()
{
    m_releaseLater->stop();
    const std::optional<PendingRelease> r = std::exchange(m_pendingRelease, std::nullopt);
    if (r && m_pressed.erase(r->code) > 0)
        dispatchKeyUp(r->code, r->shift);
}

void KeyCommands::keyboardLost()
{
    releasePending();
    const keys::KeySet &keys = m_bindings->keys();
    bool seekKeyHeld = false;
    for (int code : m_pressed)
        seekKeyHeld = seekKeyHeld || keys::keySeekDirection(code, keys) != 0;
    m_pressed.clear();
    if (seekKeyHeld || m_playback.state().keySeeking())
        m_commands.trigger(command::endKeySeek);
}

void KeyCommands::focusDisplay()
{
    m_video.focusDisplay();
}

void KeyCommands::dispatchKeyDown(int code, int shift)
{
    m_lastKeyShift = shift;
    PlaybackState &state = m_playback.state();
    if (!state.keySeeking()) {
        if (const int direction = keys::keySeekDirection(code, m_bindings->keys())) {
            // One second a jump; with Shift alone a twentieth of the file.
            const NowPlaying &now = m_playback.nowPlaying();
            double step = 1;
            if (shift == 1)
                if (const auto length = now.lengthUnits())
                    step = *length / now.unitsPerSecond() / 20;
            m_playback.startKeySeek(direction * step);
            if (m_modes.inFullScreen()) {
                m_controls.SeekBarForFullscreen()->setValue(m_controls.SeekBar()->value());
                m_modes.showFullScreenControls();
            }
            focusDisplay();
        }
    }
    // The volume by 5: keypad + and -, or Ctrl with the main keyboard's ones.
    int change = 0;
    if (code == keys::kPadPlus || (shift == 2 && code == keys::kOemPlus))
        change = 5;
    else if (code == keys::kPadMinus || (shift == 2 && code == keys::kOemMinus))
        change = -5;
    if (change != 0) {
        // A volume outside the bar's range is refused; the engine gets the bar's volume again.
        m_controls.setVolume(m_controls.vol()->value() + change);
        m_playback.nowPlaying().setVolume(m_controls.vol()->value(), false);
        focusDisplay();
    }
}

void KeyCommands::dispatchKeyUp(int code, int shift)
{
    using R = keys::KeyUpRow;
    const bool normalState =
        !(m_window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    const keys::KeyUpContext context{m_modes.inFullScreen(), normalState, m_modes.smallMode(),
                                     twips::width(m_video.display())};
    const keys::KeyUpMatch match = keys::keyUpRow(code, shift, m_lastKeyShift, m_bindings->keys(), context);
    const auto run = [this](const QString &id, bool thenFocus = false) {
        m_commands.trigger(id);
        if (thenFocus)
            focusDisplay();
    };
    switch (match.row) {
    case R::None:
        return;
    case R::ToggleFullScreen:
        run(m_modes.inFullScreen() ? command::leaveFullScreen : command::fullScreen);
        return;
    case R::EndSeek:
        run(command::endKeySeek);
        return;
    case R::ShowFavourites:
        run(command::showFavourites, true);
        return;
    case R::AddFavourites:
        run(command::addOkini, true);
        return;
    case R::SmallMode:
        run(command::smallMode);
        return;
    case R::Exit:
        // After the key's own handling: the window closes, and shutdown runs, once it is done.
        QMetaObject::invokeMethod(this, [this] { m_commands.trigger(command::exit); }, Qt::QueuedConnection);
        return;
    case R::Topmost:
        run(command::topmost);
        return;
    case R::PlayPause:
        // The Enter that closed a rename's input box plays nothing.
        if (m_modes.isRenaming()) {
            m_modes.endRename();
            return;
        }
        run(command::play, true);
        return;
    case R::Previous:
        run(command::pre, true);
        return;
    case R::Next:
        run(command::next, true);
        return;
    case R::Stop: {
        const PlayStatus status = m_playback.nowPlaying().status();
        if (status == PlayStatus::Playing || status == PlayStatus::Paused)
            m_commands.trigger(command::stop);
        focusDisplay();
        return;
    }
    case R::LeaveFullScreen:
        run(command::leaveFullScreen);
        return;
    case R::NormalSpeed:
        run(command::speed(2));
        return;
    case R::DoubleSpeed:
        run(command::speed(0));
        return;
    case R::HalfSpeed:
        run(command::speed(3));
        return;
    case R::Enlarge:
        run(command::largerVideo);
        return;
    case R::Shrink:
        run(command::smallerVideo);
        return;
    case R::Help:
        run(command::help);
        return;
    case R::Rename:
        // The file page and the favourites page; the search results have the popup's.
        if (m_pane.shownPage() == ListPage::Files || m_pane.shownPage() == ListPage::Favourites)
            run(command::rename);
        return;
    case R::ChooseFolder:
        run(command::fileOpenFolder);
        return;
    case R::Refresh:
        run(command::refreshLists);
        return;
    case R::SeekTop:
        run(command::topSeek);
        return;
    case R::OptimizeWindow:
        run(command::optimizeWindow);
        return;
    case R::ActualSize:
        run(command::actualSize);
        return;
    case R::DeleteFavourites:
        // Only where the favourites can be seen: elsewhere Delete would remove entries (and
        // their thumbnails) the user is not looking at.
        if (m_favourites.List_okini()->isVisible())
            run(command::deleteItems);
        return;
    case R::RegisterScene:
        run(command::sceneRegister(match.scene), true);
        return;
    case R::JumpScene:
        run(command::sceneJump(match.scene), true);
        return;
    case R::Capture:
        run(command::capture, true);
        return;
    }
}
