#include "playback/playback.h"

#include "platform/path.h"
#include "platform/wave_out.h"
#include "playback/cmovie.h"
#include "playback/playlist_source.h"
#include "playback/real_control.h"
#include "playback/video_view.h"
#include "widgets/command_ids.h"
#include "widgets/commands.h"
#include "widgets/config_values.h"
#include "widgets/options.h"
#include "widgets/seek_math.h"
#include "widgets/timer.h"

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cmath>
#include <utility>

Playback::Playback(QWidget *window, Commands &commands, CMovie &movie, RealControl &rmovie, VideoView &view,
                   const WindowModeView &modes, Options &options, PlaylistSource &playlist,
                   std::shared_ptr<platform::WaveOutDevice> waveOut)
    : QObject(window), m_state(new PlaybackState(this)), m_nowPlaying(movie, rmovie, *m_state, waveOut),
      m_picker([this] { return std::uniform_real_distribution<double>(0.0, 1.0)(m_random); }), m_movie(movie),
      m_rmovie(rmovie), m_view(view), m_modes(modes), m_options(options), m_playlist(playlist),
      m_waveOut(std::move(waveOut))
{
    registerCommands(commands, window);

    m_tmrPosition = new Timer(this);
    m_tmrPosition->setInterval(1000);
    m_Timer_adjust_volume = new Timer(this);
    m_Timer_adjust_volume->setInterval(500);
    m_random.seed(static_cast<std::mt19937::result_type>(std::chrono::system_clock::now().time_since_epoch().count()));

    m_volumeAgain = new QTimer(this);
    m_volumeAgain->setSingleShot(true);
    m_volumeAgain->setInterval(100);
    connect(m_volumeAgain, &QTimer::timeout, this, [this] {
        applyRealVolume();
        m_view.focusDisplay();
    });
    connect(m_tmrPosition, &QTimer::timeout, this, &Playback::tmrPosition_Timer);
    connect(m_Timer_adjust_volume, &QTimer::timeout, this, &Playback::Timer_adjust_volume_Timer);
    // The RealMedia control changes its state by itself (loading, then playing).
    connect(&rmovie, &RealControl::stateChange, this, [this] { m_nowPlaying.syncStatus(); });
}

Playback::~Playback() = default;

void Playback::registerCommands(Commands &commands, QWidget *window)
{
    m_m = new QMenu(QStringLiteral("再生メニュー"), window);
    m_m->addAction(commands.add(command::play, QStringLiteral("再生・一次停止(enter)"), [this] { play_Click(); }));
    m_m->addAction(commands.add(command::stop, QStringLiteral("停止"), [this] { stop_Click(); }));
    m_m->addAction(commands.add(command::pre, QStringLiteral("前の動画"), [this] { playPrevious(); }));
    m_m->addAction(commands.add(command::next, QStringLiteral("次の動画"), [this] { playNext(); }));
    m_m->addAction(commands.add(command::topSeek, QStringLiteral("動画の先頭へシーク(F6)"), [this] { seekTop(); }));

    m_m_speed = new QMenu(QStringLiteral("再生スピード"), window);
    const char *speeds[] = {"２．０倍", "１．５倍", "等倍速", "０．５倍"};
    QStringList speedIds, modeIds;
    for (int i = 0; i < 4; ++i) {
        m_m_speed->addAction(commands.add(command::speed(i), QString::fromUtf8(speeds[i]), [this, i] { bai_Click(i); }));
        commands.setCheckedRule(command::speed(i), [this, i] { return speedIndex(m_state->speed()) == i; });
        speedIds.append(command::speed(i));
    }
    m_m_mode = new QMenu(QStringLiteral("再生モード"), window);
    const char *modeNames[] = {"通常", "連続", "ループ", "ランダム"};
    for (int i = 0; i < 4; ++i) {
        m_m_mode->addAction(commands.add(command::mode(i), QString::fromUtf8(modeNames[i]), [this, i] { mode_Click(i); }));
        commands.setCheckedRule(command::mode(i), [this, i] { return playModeIndex(m_state->playMode()) == i; });
        modeIds.append(command::mode(i));
    }
    commands.makeExclusive(speedIds);
    commands.makeExclusive(modeIds);
    // The check marks follow the state, however it changed.
    connect(m_state, &PlaybackState::speedChanged, this, [&commands] { commands.refresh(); });
    connect(m_state, &PlaybackState::playModeChanged, this, [&commands] { commands.refresh(); });
}

// ---- Open, play and stop

void Playback::openMedia(const QString &path, double pos)
{
    if (const auto pending = std::exchange(m_pendingStart, std::nullopt); pending && pending->path == path && pos == 0)
        pos = pending->position;
    m_nowPlaying.checkRealMedia(path::getextension(path));
    if (m_playlist.shownPage() == ListPage::Favourites)
        m_movie.okini_index = m_playlist.okiniIndex();

    // The same file, paused: resume it where it stands.
    if (m_nowPlaying.isPausedOn(path)) {
        m_nowPlaying.resume();
        return;
    }

    const double code = m_nowPlaying.open(path, pos, m_view.videoParent(), m_state->volume());
    m_state->setDurationCode(code);

    // Video size.
    if (m_modes.windowMode() == WindowMode::FullScreen && m_rmovie.invoke(RealControl::FullScreenQuery).toBool()) {
        m_view.fitVideo();
        if (m_movie.mobjWindow && m_movie.mobjWindow->window())
            m_movie.mobjWindow->window()->setCursor(Qt::BlankCursor);
    } else {
        if (m_options.originalSize()) {
            const bool autoAdjust = m_options.fitMode() == 0;
            m_options.setAutoAdjust(false);
            m_view.setVideoScale(1.0);
            m_options.setAutoAdjust(autoAdjust);
        }
        m_view.fitVideo();
        if (!m_options.originalSize() && m_options.fitMode() == 0)
            m_view.optimizeWindowSize();
    }

    bai_Click(speedIndex(m_state->speed()));

    m_view.showLogo(false);
    m_state->clearSection();

    if (!m_nowPlaying.openSucceeded(code))
        return;
    if (const auto length = m_nowPlaying.lengthFromCode(code))
        m_state->setDuration(double(*length) / m_nowPlaying.unitsPerSecond());
    m_tmrPosition->setEnabled(true);

    m_view.applyClipping();
    Q_EMIT opened(path);

    m_view.focusVideo();

    if (m_nowPlaying.volumeThroughMixer())
        m_Timer_adjust_volume->setEnabled(true);
}

void Playback::playPause()
{
    QString file;
    if (m_playlist.shownPage() == ListPage::Options) {
        file = m_nowPlaying.source();
    } else if (m_playlist.rowCount() > 0) {
        if (m_playlist.selectedRow() < 0)
            m_playlist.selectRow(0);
        file = m_playlist.rowPath(m_playlist.selectedRow());
    }

    if (file.isEmpty()) {
        m_nowPlaying.stopAll();
        return;
    }
    if (!m_nowPlaying.togglePlay(file))
        openMedia(file, 0);
}

void Playback::stop_Click()
{
    m_nowPlaying.stopAll();
    m_rmovie.setProperty(RealControl::Source, QString());
    m_rmovie.hide();
    m_tmrPosition->setEnabled(false);
    m_view.showLogo(true);
    Q_EMIT stopped();
    m_nowPlaying.close();
    m_state->setPosition(0);
}

void Playback::resumeIfPaused(const QString &path)
{
    if (path == m_movie.fileName && m_movie.PlayState == 2) {
        m_movie.MediaPlay(1);
        m_nowPlaying.syncStatus();
    }
}

// ---- The position timer

double Playback::positionUnits() const
{
    return m_state->position() * m_nowPlaying.unitsPerSecond();
}

void Playback::tmrPosition_Timer()
{
    m_tmrPosition->setEnabled(false); // a tick never overlaps another

    // Position.
    m_nowPlaying.beginTick();
    const int ups = m_nowPlaying.unitsPerSecond();
    if (const auto length = m_nowPlaying.tickLength())
        m_state->setDuration(double(*length) / ups);
    // The seek bar's value: the position in its units, halves rounded to even.
    int value = seek::roundHalfEven(positionUnits());
    if (const std::optional<double> units = m_nowPlaying.position()) {
        value = seek::roundHalfEven(*units);
        m_state->setPosition(*units / ups);
    }

    // Section repeat.
    const SeekSection section = m_state->section();
    if (section.length != 0) {
        const int end = section.start + section.length;
        if (value > end || m_nowPlaying.beyondLength())
            m_nowPlaying.seek(section.start);
    }

    // End of the file. A position or a duration that cannot be read is no end.
    if (m_nowPlaying.atEnd()) {
        switch (m_state->playMode()) {
        case PlayMode::Continuous:
        case PlayMode::Random:
            playNext();
            break;
        case PlayMode::Loop:
            m_nowPlaying.rewindAndPlay();
            break;
        default:
            m_nowPlaying.stopAtEnd();
            break;
        }
    }
    m_nowPlaying.endTick();
    m_nowPlaying.syncStatus();

    // A skip asked for by a held key.
    if (const auto step = m_state->keySeek()) {
        if (const auto interval = m_nowPlaying.skip(*step)) {
            m_tmrPosition->setInterval(*interval);
            if (m_nowPlaying.skipOnce())
                m_state->setKeySeek(std::nullopt);
        }
    }
    m_tmrPosition->setEnabled(true);
}

void Playback::startKeySeek(double step)
{
    if (step == 0)
        return;
    m_state->setKeySeek(step);
    if (const auto interval = m_nowPlaying.skip(step))
        m_tmrPosition->setInterval(*interval);
}

void Playback::endKeySeek()
{
    m_tmrPosition->setInterval(500);
    m_state->setKeySeek(std::nullopt);
}

// ---- Play order

void Playback::mode_Click(int index)
{
    if (const auto mode = playModeFromIndex(index))
        m_state->setPlayMode(*mode);
}

// ---- Speed and volume

void Playback::bai_Click(int index)
{
    const auto speed = speedFromIndex(index);
    if (!speed)
        return;
    m_state->setSpeed(*speed);
    m_movie.SetRate(static_cast<float>(speedRate(*speed)));
}

void Playback::applyRealVolume()
{
    m_nowPlaying.applyRealVolume(m_state->volume());
}

void Playback::Timer_adjust_volume_Timer()
{
    m_Timer_adjust_volume->setEnabled(false); // one shot
    applyRealVolume();
    // Once more a tenth of a second later; the window goes on painting meanwhile.
    m_volumeAgain->start();
}

void Playback::stopTimers()
{
    m_tmrPosition->setEnabled(false);
    m_Timer_adjust_volume->setEnabled(false);
    m_volumeAgain->stop();
}

// ---- config.ini

void Playback::restoreConfig(const ConfigValues &c)
{
    bai_Click(c.PlaySpeed);
    mode_Click(c.PlayMode);
}

void Playback::saveConfig(ConfigValues &c) const
{
    c.PlaySpeed = speedIndex(m_state->speed());
    c.PlayMode = playModeIndex(m_state->playMode());
}
