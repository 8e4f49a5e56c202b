#pragma once
// Resume: at exit the open file, its position and its play state go to resume.ini; at the
// next start (with "再生情報の復元" on and no file named on the command line) the file is
// selected in the list shown again and, if it was playing, played on from its position. A
// paused file is only named: the first play opens it at the saved position.

#include <QObject>
#include <QString>

#include <functional>

class CMovie;
class Options;
class Playback;
class PlaylistSource;
class QTimer;
class QWidget;

class Resume : public QObject
{
    Q_OBJECT
public:
    Resume(QWidget *window, Playback &playback, CMovie &movie, PlaylistSource &playlist, const Options &options,
           QString appDir);

    // Whether the favourites' first load is still to come (their rows are not there yet).
    void setOkiniLoadPending(std::function<bool()> pending) { m_okiniLoadPending = std::move(pending); }

    void saveResume();
    // Shutdown writes resume.ini itself: no record while playing any more.
    void stopSaving();
    // How often the record is written while a file plays (10 s; the tests' own).
    void setKeepInterval(int ms);
    void loadResume();
    // The favourites' first load has ended: a file resumed on their page is selected now.
    void okiniLoaded();

private:
    // Selects the row of the file (compared by full path) on the page shown.
    void selectResumed(const QString &file);

    QWidget *m_window;
    Playback &m_playback;
    CMovie &m_movie;
    PlaylistSource &m_playlist;
    const Options &m_options;
    QString m_appDir;
    QString m_selectAfterOkiniLoad;
    QTimer *m_keep = nullptr;
    std::function<bool()> m_okiniLoadPending;
};
