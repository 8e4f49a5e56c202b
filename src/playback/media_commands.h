#pragma once
// The playback commands that the lists and the input ask for. The main window forwards
// them to the playback owner.

#include <QString>

class MediaCommands
{
public:
    virtual ~MediaCommands() = default;
    virtual void openMedia(const QString &path, double pos) = 0;
    virtual void playPause() = 0;
    virtual void stop_Click() = 0;
    virtual void playNext() = 0;
    virtual void playPrevious() = 0;
    // Runs the open file on when it is `path` and paused (a click on its list entry).
    virtual void resumeIfPaused(const QString &path) = 0;
    // The file open in either engine; "" when none.
    virtual QString openFileName() const = 0;
};
