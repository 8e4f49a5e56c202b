// The play order: next and previous walk the list of the page shown, in order or at
// random, and play the file of the row they reach; and the first frame of the selected file.
#include "playback/playback.h"

#include "playback/cmovie.h"
#include "playback/playlist_source.h"
#include "playback/video_view.h"

#include <QFileInfo>

namespace {

// Random mode's step: a row not played yet, selected and (file and search lists) made the
// top row. False when there is none to pick.
bool stepRandom(PlaylistSource &list, RandomPicker &picker)
{
    const int r = picker.pickRandom(list.rowCount());
    if (r < 0)
        return false;
    list.selectRow(r);
    if (list.shownPage() != ListPage::Favourites)
        list.makeTopRow(r);
    return true;
}

} // namespace

void Playback::playNext()
{
    stepAndPlay(true);
}

void Playback::playPrevious()
{
    stepAndPlay(false);
}

void Playback::stepAndPlay(bool forward)
{
    PlaylistSource &list = m_playlist;
    const ListPage page = list.shownPage();
    const int count = list.rowCount();
    if (page == ListPage::None || page == ListPage::Options || count == 0)
        return;
    if (m_state->playMode() == PlayMode::Random) {
        if (!stepRandom(list, m_picker))
            return;
    } else {
        // Next leaves the search results' file playing until the new one opens.
        if (!forward || page != ListPage::Search) {
            m_movie.MediaPlay(3);
            m_nowPlaying.syncStatus();
        }
        const int selected = list.selectedRow(); // none counts as -1
        const int target = forward ? selected + 1 : selected - 1;
        if (target >= 0 && target < count) {
            list.selectRow(target);
        } else {
            // Past either end: round to the other end, made the top row.
            const int wrap = forward ? 0 : count - 1;
            list.selectRow(wrap);
            list.makeTopRow(wrap);
        }
    }
    playSelectedRow(list.selectedRow());
}

void Playback::playSelectedRow(int selected)
{
    PlaylistSource &list = m_playlist;
    if (selected < 0)
        return;
    if (list.rowFileExists(selected))
        openMedia(list.rowPath(selected), 0);
    else
        list.missingRow(selected);
}

void Playback::seekTop()
{
    QString file;
    switch (m_playlist.shownPage()) {
    case ListPage::Files:
    case ListPage::Favourites:
        if (m_playlist.rowCount() > 0 && m_playlist.selectedRow() >= 0)
            file = m_playlist.rowPath(m_playlist.selectedRow());
        break;
    default:
        return; // the search page does nothing; the options page has no selection
    }
    // Only a file that exists is opened: a deleted one would only fail to open.
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return;
    m_view.coverDisplay(true);
    openMedia(file, 0);
    playPause(); // pauses the file just opened
    m_nowPlaying.seek(0);
    m_view.coverDisplay(false);
}
