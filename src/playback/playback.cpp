#include "playback/playback.h"

#include "widgets/options.h"
#include "widgets/timer.h"
#include "platform/path.h"
#include "playback/playlist_source.h"
#include "platform/wave_out.h"
#include "playback/cmovie.h"
#include "playback/real_control.h"
#include "window/control_bar.h"
#include "widgets/controls.h"
#include "window/video_area.h"
#include "window/window_modes.h"

#include <QAction>
#include <QMenu>
#include <QProgressBar>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cmath>
#include <utility>

namespace {

// Rounds to the nearest integer, halves to even.
int roundHalfEven(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

} // namespace

Playback::Playback(QWidget *window, VideoArea &video, ControlBar &controls, Options &options,
                   PlaylistSource &playlist, WindowModes &modes, std::shared_ptr<platform::WaveOutDevice> waveOut)
    : QObject(window), nowPlaying(*video.movie, *video.rmovie, waveOut),
      picker([this] { return std::uniform_real_distribution<double>(0.0, 1.0)(random); }), m_window(window),
      m_video(video),
      m_controls(controls), m_options(options), m_playlist(playlist), m_modes(modes), m_waveOut(std::move(waveOut))
{
    m = new QMenu(QStringLiteral("再生メニュー"), window);
    play = m->addAction(QStringLiteral("再生・一次停止(enter)"));
    stop = m->addAction(QStringLiteral("停止"));
    pre = m->addAction(QStringLiteral("前の動画"));
    next = m->addAction(QStringLiteral("次の動画"));
    mTopSeek = m->addAction(QStringLiteral("動画の先頭へシーク(F6)"));

    m_speed = new QMenu(QStringLiteral("再生スピード"), window);
    const char *speeds[] = {"２．０倍", "１．５倍", "等倍速", "０．５倍"};
    for (std::size_t i = 0; i < bai.size(); ++i) {
        bai[i] = m_speed->addAction(QString::fromUtf8(speeds[i]));
        bai[i]->setCheckable(true);
    }

    m_mode = new QMenu(QStringLiteral("再生モード"), window);
    const char *modeNames[] = {"通常", "連続", "ループ", "ランダム"};
    for (std::size_t i = 0; i < mode.size(); ++i) {
        mode[i] = m_mode->addAction(QString::fromUtf8(modeNames[i]));
        mode[i]->setCheckable(true);
    }

    tmrPosition = new Timer(this);
    tmrPosition->setInterval(1000);
    tmrPosition->Tag = QStringLiteral("0");
    Timer_adjust_volume = new Timer(this);
    Timer_adjust_volume->setInterval(500);
    random.seed(static_cast<std::mt19937::result_type>(std::chrono::system_clock::now().time_since_epoch().count()));

    m_volumeAgain = new QTimer(this);
    m_volumeAgain->setSingleShot(true);
    m_volumeAgain->setInterval(100);
    connect(m_volumeAgain, &QTimer::timeout, this, [this] {
        applyRealVolume();
        if (m_video.display->isVisible())
            m_video.display->setFocus();
    });
    connect(tmrPosition, &QTimer::timeout, this, &Playback::tmrPosition_Timer);
    connect(Timer_adjust_volume, &QTimer::timeout, this, &Playback::Timer_adjust_volume_Timer);
}

Playback::~Playback() = default;

// ---- Open, play and stop

void Playback::openMedia(const QString &path, double pos)
{
    CMovie &movie = *m_video.movie;
    if (const auto pending = std::exchange(m_pendingStart, std::nullopt); pending && pending->path == path && pos == 0)
        pos = pending->position;
    nowPlaying.checkRealMedia(path::getextension(path));
    if (m_playlist.shownPage() == 2)
        movie.okini_index = m_playlist.okiniIndex();

    // The same file, paused: resume it where it stands.
    if (nowPlaying.isPausedOn(path)) {
        nowPlaying.resume();
        return;
    }

    m_controls.time->setCaption(nowPlaying.open(path, pos, m_video.display, m_controls.vol->value()));

    // Video size.
    if (movie.DisplaySize == 1 && m_video.rmovie->invoke(RealControl::FullScreenQuery).toBool()) {
        m_video.fitVideo();
        if (movie.mobjWindow && movie.mobjWindow->window())
            movie.mobjWindow->window()->setCursor(Qt::BlankCursor);
    } else {
        if (m_options.originalSize()) {
            const bool autoAdjust = m_options.fitMode() == 0;
            m_options.setAutoAdjust(false);
            m_video.setVideoScale(1.0);
            m_options.setAutoAdjust(autoAdjust);
        }
        m_video.fitVideo();
        if (!m_options.originalSize() && m_options.fitMode() == 0)
            m_video.optimizeWindowSize();
    }

    bai_Click(checkedSpeed());

    m_video.showLogo(false);
    m_controls.sel->hide();
    m_controls.SeekBar->setSelLength(0);

    const double code = m_controls.time->caption().toDouble();
    if (!nowPlaying.openSucceeded(code))
        return;
    if (const auto length = nowPlaying.lengthFromCode(code))
        m_controls.SeekBar->setMax(*length);
    m_controls.SeekBarForFullscreen->setMaximum(m_controls.SeekBar->max());
    m_controls.lblMedia[3]->setCaption(CMovie::secondsToString(m_controls.SeekBar->max() / 100));
    tmrPosition->setEnabled(true);

    if (movie.DisplaySize == 0 && !m_modes.smallMode)
        m_window->setWindowTitle(path::getfiletitle(nowPlaying.source()));
    m_video.applyClipping();
    Q_EMIT opened(path);

    m_video.focusVideo();

    if (nowPlaying.volumeThroughMixer())
        Timer_adjust_volume->setEnabled(true);
}

void Playback::playPause()
{
    QString file;
    if (m_playlist.shownPage() == 4) {
        file = nowPlaying.source();
    } else if (m_playlist.rowCount() > 0) {
        if (m_playlist.selectedRow() < 0)
            m_playlist.selectRow(0);
        file = m_playlist.rowPath(m_playlist.selectedRow());
    }

    if (file.isEmpty()) {
        nowPlaying.stopAll();
        return;
    }
    if (!nowPlaying.togglePlay(file))
        openMedia(file, 0);
}

void Playback::stop_Click()
{
    CMovie &movie = *m_video.movie;
    nowPlaying.stopAll();
    m_video.rmovie->setProperty(RealControl::Source, QString());
    m_video.rmovie->hide();
    tmrPosition->setEnabled(false);
    m_video.showLogo(true);
    if (movie.DisplaySize == 1)
        m_modes.leaveFullScreen();
    movie.MediaClose();
    m_controls.SeekBar->setValue(0);
}

void Playback::resumeIfPaused(const QString &path)
{
    CMovie &movie = *m_video.movie;
    if (path == movie.fileName && movie.PlayState == 2)
        movie.MediaPlay(1);
}

// ---- The position timer

void Playback::tmrPosition_Timer()
{
    SeekSlider *SeekBar = m_controls.SeekBar;
    tmrPosition->setEnabled(false); // a tick never overlaps another

    // Position.
    nowPlaying.beginTick();
    if (const auto length = nowPlaying.tickLength()) {
        SeekBar->setMax(*length);
        m_controls.SeekBarForFullscreen->setMaximum(SeekBar->max());
        m_controls.lblMedia[3]->setCaption(CMovie::secondsToString(SeekBar->max() / nowPlaying.unitsPerSecond()));
    }
    const std::optional<double> value = nowPlaying.position();
    QString text;
    if (value) {
        text = CMovie::secondsToString(static_cast<int>(std::floor(*value / nowPlaying.unitsPerSecond())));
        SeekBar->setValue(roundHalfEven(*value));
    }
    if (m_video.movie->DisplaySize == 1)
        m_controls.SeekBarForFullscreen->setValue(SeekBar->value());

    // Section repeat.
    if (SeekBar->selLength() != 0) {
        const int end = SeekBar->selStart() + SeekBar->selLength();
        if (SeekBar->value() > end || nowPlaying.beyondLength()) {
            SeekBar->setValue(SeekBar->selStart());
            nowPlaying.seek(SeekBar->selStart());
        }
    }

    // End of the file. A position or a duration that cannot be read is no end.
    if (nowPlaying.atEnd()) {
        switch (getPlayMode()) {
        case 1:
        case 3:
            playNext();
            break;
        case 2:
            SeekBar->setValue(0);
            nowPlaying.rewindAndPlay();
            break;
        default:
            nowPlaying.stopAtEnd();
            break;
        }
    }

    if (!text.isEmpty())
        m_controls.lblMedia[4]->setCaption(u' ' + text + u' ');
    nowPlaying.endTick();

    // A skip asked for by a held key.
    const double step = tmrPosition->Tag.toDouble();
    if (step != 0) {
        if (const auto interval = nowPlaying.skip(step)) {
            tmrPosition->setInterval(*interval);
            if (nowPlaying.skipOnce())
                tmrPosition->Tag = QStringLiteral("0");
        }
    }
    tmrPosition->setEnabled(true);
}

// ---- Play order

void Playback::mode_Click(int index)
{
    for (int i = 0; i < static_cast<int>(mode.size()); ++i)
        mode[std::size_t(i)]->setChecked(i == index);
    static const char *const keys[] = {"normal", "rennzoku", "roop", "rnd"};
    if (index >= 0 && index < 4)
        m_controls.setButtonImage(QStringLiteral("mode"), QString::fromLatin1(keys[index]));
}

int Playback::getPlayMode() const
{
    for (int i = 0; i < static_cast<int>(mode.size()); ++i)
        if (mode[std::size_t(i)]->isChecked())
            return i;
    return 0;
}

// ---- Speed and volume

void Playback::bai_Click(int index)
{
    for (int i = 0; i < static_cast<int>(bai.size()); ++i)
        bai[std::size_t(i)]->setChecked(i == index);
    static const float rates[] = {2.0f, 1.5f, 1.0f, 0.5f};
    static const char *const keys[] = {"bai20", "bai15", "bai10", "bai05"};
    if (index < 0 || index > 3)
        return;
    m_video.movie->SetRate(rates[index]);
    m_controls.setButtonImage(QStringLiteral("speed"), QString::fromLatin1(keys[index]));
}

int Playback::checkedSpeed() const
{
    for (int i = static_cast<int>(bai.size()) - 1; i >= 0; --i)
        if (bai[std::size_t(i)]->isChecked())
            return i;
    return -1;
}

void Playback::applyRealVolume()
{
    nowPlaying.applyRealVolume(m_controls.vol->value());
}

void Playback::Timer_adjust_volume_Timer()
{
    Timer_adjust_volume->setEnabled(false); // one shot
    applyRealVolume();
    // Once more a tenth of a second later; the window goes on painting meanwhile.
    m_volumeAgain->start();
}

void Playback::stopTimers()
{
    tmrPosition->setEnabled(false);
    Timer_adjust_volume->setEnabled(false);
    m_volumeAgain->stop();
}
