#include "playback/resume.h"

#include "platform/path.h"
#include "platform/text_file.h"
#include "playback/cmovie.h"
#include "playback/playback.h"
#include "playback/playlist_source.h"
#include "playback/resume_file.h"
#include "widgets/options.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace {

bool samePath(const QString &a, const QString &b)
{
    return !a.isEmpty() && !b.isEmpty() && QDir::cleanPath(a) == QDir::cleanPath(b);
}

} // namespace

Resume::Resume(QWidget *window, Playback &playback, CMovie &movie, PlaylistSource &playlist, const Options &options,
               QString appDir)
    : QObject(window), m_window(window), m_playback(playback), m_movie(movie), m_playlist(playlist),
      m_options(options), m_appDir(std::move(appDir))
{
    // With the option on, the record is written while a file plays too, so that a crash
    // resumes near where it stopped (the records shutdown would write then).
    m_keep = new QTimer(this);
    m_keep->setInterval(10000);
    connect(m_keep, &QTimer::timeout, this, [this] {
        if (m_options.resume() && m_playback.state().isOpen())
            saveResume();
    });
    m_keep->start();
}

void Resume::setKeepInterval(int ms)
{
    m_keep->setInterval(ms);
}

void Resume::stopSaving()
{
    m_keep->stop();
}

void Resume::saveResume()
{
    std::optional<double> position;
    if (m_movie.mobjPosition)
        position = m_movie.mobjPosition->currentPosition();
    ResumeRecord record =
        resumeRecordFor(m_movie.fileName, m_movie.PlayState, position, m_appDir, m_options.soutai());
    // A paused file restored at start-up and never played since: its records go back as
    // they came, or the next start would have forgotten it.
    if (record.state == 4 && !m_movie.mobjManager) {
        if (const auto pending = m_playback.pendingStart(); pending && pending->path == m_movie.fileName)
            record = resumeRecordFor(pending->path, 2, pending->position, m_appDir, m_options.soutai());
    }
    platform::writeFileAtomically(m_appDir + QStringLiteral("resume.ini"), formatResumeFile(record));
}

void Resume::loadResume()
{
    const QString file = m_appDir + QStringLiteral("resume.ini");
    if (!QFileInfo(file).isFile())
        return;
    const auto lines = platform::readTextLines(file);
    if (!lines)
        return;
    const auto record = parseResumeFile(*lines);
    if (!record || record->path.isEmpty())
        return;
    const QString absolute = path::getabsolutepath(record->path, m_appDir);
    if (absolute.isEmpty())
        return;
    // In the form the lists give their paths, so that the play command finds it the same.
    const QString media = QDir::cleanPath(absolute);
    m_movie.fileName = media;
    // Selected before the open: the favourites may load while the file opens.
    selectResumed(media);
    if (record->state == 1) {
        m_window->show();
        m_playback.openMedia(media, record->position);
    } else if (record->state == 2) {
        m_playback.setPendingStart(media, record->position);
    }
}

void Resume::selectResumed(const QString &file)
{
    switch (m_playlist.shownPage()) {
    case ListPage::Files:
        for (int row = 0; row < m_playlist.rowCount(); ++row)
            if (samePath(m_playlist.rowPath(row), file)) {
                m_playlist.selectRow(row);
                m_playlist.makeTopRow(row);
                return;
            }
        return;
    case ListPage::Favourites:
        if (m_okiniLoadPending && m_okiniLoadPending()) {
            m_selectAfterOkiniLoad = file; // the list is still empty
            return;
        }
        for (int row = 0; row < m_playlist.rowCount(); ++row)
            if (samePath(m_playlist.rowPath(row), file)) {
                m_playlist.selectRow(row);
                // The entry that plays is remembered for its thumbnail.
                if (m_movie.fileName == file && m_movie.mobjManager)
                    m_movie.okini_index = row + 1;
                return;
            }
        return;
    default:
        return;
    }
}

void Resume::okiniLoaded()
{
    const QString file = std::exchange(m_selectAfterOkiniLoad, QString());
    if (file.isEmpty() || m_playlist.shownPage() != ListPage::Favourites)
        return;
    selectResumed(file);
}
