#pragma once
// What the main window is given from outside: the engines, the dialogs, the system
// volume, the notification area, the desktop's file manager, the state folder and the
// command line. The program passes the real ones; the window tests pass doubles.

#include "app/system_tray.h"
#include "dialogs/dialogs.h"
#include "lists/thumbnail_maker.h"
#include "platform/wave_out.h"
#include "playback/media_backend.h"
#include "widgets/desktop_shell.h"
#include "window/preview_worker.h"

#include <memory>
#include <QString>
#include <QStringList>

struct PlayerServices
{
    MediaBackendFactory movieBackend; // CMovie's engine
    MediaBackendFactory realBackend;  // the RealMedia control's engine
    std::shared_ptr<Dialogs> dialogs;
    std::shared_ptr<platform::WaveOutDevice> waveOut;
    std::shared_ptr<SystemTray> tray; // the notification area; empty: the desktop's own
    std::shared_ptr<DesktopShell> shell; // properties windows and folders; empty: the desktop's own
    QString appDir;        // the state folder
    QString program;       // the program's own path, which the desktop entry of the associations starts
    QStringList arguments; // the command-line arguments after the program name
    QString workingDir;    // against which relative arguments are made absolute
    ThumbnailMaker::Grabber grabFrame; // takes a video frame for a thumbnail; empty: FFmpeg
    PreviewDecoderFactory previewDecoder; // the seek bar preview's frames; empty: FFmpeg
    bool mediaControls = true;         // on the session bus for the desktop's media controls
};

// The real services for this process.
PlayerServices realServices(const QStringList &arguments);
