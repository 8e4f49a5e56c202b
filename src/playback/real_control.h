#pragma once
// rmovie: the control that plays RealMedia files (rm, ram, ra), laid over the video area.
// The program reaches it by dispatch ids: invoke(id[, argument]). Positions and lengths
// are milliseconds. A newly set source starts playing by itself; a .ram file is a text
// list of entries, of which the first playable one is played.

#include "playback/media_backend.h"

#include <QVariant>
#include <QWidget>

class RealControl : public QWidget
{
    Q_OBJECT
public:
    enum DispId {
        Source = 102,     // string property: the source path; "" unloads
        Stop = 202,
        Prepare = 229,    // (bool) called around hiding the control; nothing to do here
        Play = 257,
        Pause = 258,
        Position = 259,   // → ms
        PlayStateId = 260, // → 0 stopped, 1 loading, 2 paused, 3 playing
        Length = 261,     // → ms, 0 until known
        ClipWidth = 265,
        ClipHeight = 266,
        Seek = 269,       // (ms)
        FullScreenQuery = 292, // → bool
    };
    enum State { Stopped = 0, Loading = 1, Paused = 2, Playing = 3 };

    RealControl(MediaBackendFactory factory, QWidget *parent);
    ~RealControl() override;

    // A method or property read by dispatch id. Ids the control does not know are
    // accepted and do nothing (the start-up settings 221, 307, 305, 295, 275, 283 and the
    // extender object 0x8001001C among them).
    QVariant invoke(int id, const QVariant &argument = {});
    // Writes a property by dispatch id (102: the source).
    using QObject::setProperty;
    void setProperty(int id, const QVariant &value);

    QString source() const { return m_source; }
    int playState() const { return m_state; }

    // The backend, created on first use.
    MediaBackend *backend();

    // The file a source names: the first playable entry of a .ram list, else the source.
    static QString resolveSource(const QString &source);

Q_SIGNALS:
    void gotFocus();
    void stateChange(int newState);
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPoint pos);

protected:
    void focusInEvent(QFocusEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    void setSource(const QString &source);
    void setState(State s);
    void placeSurface();

    MediaBackendFactory m_factory;
    std::unique_ptr<MediaBackend> m_backend;
    QString m_source;
    State m_state = Stopped;
};
