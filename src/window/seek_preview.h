#pragma once
// The preview over the seek bar: while the pointer rests over `SeekBar` (or, in full screen,
// over `SeekBarForFullscreen`) with a file open, a small picture of the frame a click there
// would seek to, with its time below it, above the pointer and inside the screen. Frames come
// from a worker thread of their own (PreviewWorker) and are kept in memory (PreviewCache), so
// a position seen before shows at once. Files without a picture (audio only, a .ram playlist,
// a file the decoder refuses) show the time alone.

#include "window/preview_cache.h"
#include "window/preview_worker.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class ControlBar;
class Options;
class PlaybackState;
class QLabel;
class QWidget;
class WindowModes;

class SeekPreview : public QObject
{
    Q_OBJECT
public:
    // The preview watches the pointer over the control bar's two seek bars, shows positions
    // of the state's open file, hides in mini mode and follows the option
    // "シークバーにプレビューを表示". decoder: empty for FFmpeg.
    SeekPreview(QWidget *window, ControlBar &bar, PlaybackState &state, WindowModes &modes, const Options &options,
                PreviewDecoderFactory decoder = {});
    ~SeekPreview() override;

    // The pointer over the seek bar, or the full-screen bar, with no button held; x in twips
    // from the bar's left edge.
    void SeekBar_Hover(int x);
    void SeekBarForFullscreen_Hover(int x);
    // The pointer left the bar, a button went down on it, the mode changed, the file closed.
    void hidePreview();
    // Ends the worker (waiting at most a second for it); the preview shows no more.
    void shutdown();

    // ---- What tests read
    // The preview's window, its picture and its time.
    QWidget *previewWindow() const { return m_window; }
    QLabel *previewPicture() const { return m_picture; }
    QLabel *previewTime() const { return m_time; }
    // The second whose picture the preview shows (nullopt: none, the time alone), and whether
    // the picture is the frame at it (not one near it, standing in while the pointer moves).
    std::optional<int> shownSecond() const { return m_shownSecond; }
    bool shownExact() const { return m_shownSecond && m_shownExact; }
    // The second under the pointer.
    std::optional<int> pointerSecond() const { return m_wanted; }
    const PreviewCache &cache() const { return m_cache; }
    PreviewWorker *worker() const { return m_worker; }

Q_SIGNALS:
    // A picture is shown for that second (from the cache or the worker): the frame at it, or
    // (not exact) one near it.
    void pictureShown(int second, bool exact);

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    // Whether the file has pictures: not known until the first frame is asked for.
    enum class Frames { Unknown, Pictures, None };

    void hover(QWidget *bar, int xPx, std::optional<int> second);
    void frameReady(const PreviewResult &result);
    void showPicture(const platform::RgbImage &image, int second, quint64 ticket, bool exact);
    // The time alone, without a picture.
    void showTimeOnly();
    void placeWindow();
    void fileChanged();
    bool wanted() const;

    ControlBar &m_bar;
    PlaybackState &m_state;
    WindowModes &m_modes;
    const Options &m_options;
    PreviewCache m_cache;
    PreviewWorker *m_worker = nullptr;

    QWidget *m_window = nullptr;
    QLabel *m_picture = nullptr;
    QLabel *m_time = nullptr;

    // The file the preview shows, and whether it has pictures.
    QString m_file;
    Frames m_frames = Frames::Unknown;
    int m_failures = 0; // grabs of the file in a row that ran out of time
    // Where the pointer is: the bar, the pointer's x in its pixels, the second it stands for.
    QPointer<QWidget> m_pointerBar;
    // The two seek bars the preview watches (the control bar's).
    QPointer<QWidget> m_seekBar;
    QPointer<QWidget> m_fullBar;
    int m_pointerX = 0;
    std::optional<int> m_wanted;
    // Every display decision takes a ticket; a frame from the worker shows only when no
    // later one has shown already.
    quint64 m_nextTicket = 1;
    quint64 m_shownTicket = 0;
    std::optional<int> m_shownSecond;
    bool m_shownExact = false;
    // The last second asked of the worker for the file (waiting or under way).
    std::optional<int> m_asked;
    int m_pictureWidth = 0; // device pixels of the pictures asked for
    bool m_shutDown = false;
};
