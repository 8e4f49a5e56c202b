// Start-up (Form_Load) and shutdown (Form_Unload) of the main window.
#include "app/command_line.h"
#include "app/player.h"

#include "app/config_autosave.h"
#include "app/media_controls.h"
#include "app/options_page.h"
#include "input/key_commands.h"
#include "input/main_menu.h"
#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/file_page.h"
#include "lists/list_pane.h"
#include "lists/search_page.h"
#include "lists/okini_list.h"
#include "lists/tab_strip.h"
#include "platform/my_module.h"
#include "platform/path.h"
#include "platform/single_instance.h"
#include "playback/cmovie.h"
#include "playback/playback.h"
#include "playback/resume.h"
#include "playback/real_control.h"
#include "scenes/scene_menus.h"
#include "widgets/controls.h"
#include "widgets/timer.h"
#include "widgets/twips.h"
#include "window/control_bar.h"
#include "window/seek_preview.h"
#include "window/video_area.h"
#include "window/window_modes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>


namespace {

// One step of shutdown: a failure in it never keeps the next step from running.
template <typename F>
void guarded(F &&step)
{
    try {
        step();
    } catch (...) {
    }
}

} // namespace

bool Player::Form_Load()
{
    m_appDir = path::addbackslash(m_services.appDir);
    myModule::initScreenMetrics(this);
    hide();

    if (!m_instanceLock->acquire(m_appDir))
        return false; // another copy runs: nothing is shown, nothing is played

    // Always on top, no rename, no seek-bar drag and no pane kept for mini mode are the
    // rooms' own starting state.
    m_resizeLocked = true;

    m_options->Ver()->setText(versionCaption(PLOVANA_VERSION_MAJOR, PLOVANA_VERSION_MINOR, PLOVANA_VERSION_PATCH));
    // The menus menu, m_item, m_FileMenu, m_tab and m_tab_okini are never part of a menu
    // bar; they are only ever popped up.

    m_controls->showListToggle(true);

    m_playback->nowPlaying().readStartWaveVolume();

    loadListColors();
    configureRealControl();

    m_favourites->TabM3u()->setTag(m_favourites->TabM3u()->selectedIndex(), m_appDir + QStringLiteral("okini.ini"));

    if (QFileInfo::exists(m_appDir + QStringLiteral("config.ini"))) {
        loadConfig();
    } else {
        m_controls->setVolume(100);
        m_favourites->setOpenImagePath(m_appDir);
        m_options->setHomeDir(m_appDir);
        m_playback->mode_Click(1);
        m_playback->bai_Click(2);
        m_files->TabDir()->setTag(1, m_appDir);
    }

    m_resizeLocked = false;
    m_options->showHomeDir();
    twips::setTop(m_video->kyoukai(), twips::height(this));

    // The decorated window is mapped first: the window manager's frame is measured, and the
    // configured outer rectangle applied with it, before mini mode takes the frame away.
    const bool startSmall = m_windowModes->takeStartInSmallMode();
    show();
    QCoreApplication::processEvents();
    myModule::initScreenMetrics(this);
    correctForFrame();
    if (startSmall) {
        Form_Resize();
        m_windowModes->enterSmallModeOnceFramed();
    }
    twips::setTop(m_video->kyoukai(), 0);

    m_favourites->setImageDir(m_appDir + QStringLiteral("image/"));
    m_scenes->setSeenFolder(m_appDir + QStringLiteral("seen/"));
    for (const QString &dir : {m_favourites->imageDir(), m_scenes->seenFolder()})
        if (!QFileInfo::exists(dir))
            QDir().mkdir(dir);

    m_favourites->tmr_okini()->setEnabled(true);

    loadKeys();
    m_files->loadTabDir();
    twips::setHeight(m_files->File(), m_files->TabDir()->clientHeight());
    m_favourites->loadTabM3u();
    twips::setHeight(m_favourites->List_okini(), m_favourites->TabM3u()->clientHeight() + 40);
    loadSearchData();

    handleCommandLine();

    // The item, the option box, the toolbar picture and the window itself.
    m_windowModes->followTopmostOption(m_windowModes->alwaysOnTop());

    show();
    m_Timer_addIcon->setEnabled(true);
    if (m_mediaControls)
        m_mediaControls->registerOnBus();
    readAssociations();
    if (m_options->showPopup())
        m_mainMenu->createToolTips();
    m_mainWindowHandle = QApplication::activeWindow();
    m_windowModes->applyWindowRegion();

    m_loaded = true;
    // From here config.ini follows the options and the window as they change.
    rememberNormalRect();
    m_configAutosave->start();
    // The frame may have come while start-up ran, or come a little later.
    frameMayHaveChanged();
    QTimer::singleShot(500, this, &Player::frameMayHaveChanged);
    return true;
}

void Player::handleCommandLine()
{
    if (commandLineText(m_services.arguments).isEmpty()) {
        if (m_options->resume())
            loadResume();
        return;
    }
    const QString file = commandLineFile(m_services.arguments, m_services.workingDir);
    if (!isExistingFile(file))
        return;
    const qsizetype slash = file.lastIndexOf(u'/');
    const QString folder = file.left(slash + 1);

    CMovie &movie = *m_video->movie();
    const QString media = mediaFileName(file);
    if (!media.isEmpty())
        movie.fileName = media;

    m_files->File()->setPath(folder);
    m_files->TabDir()->setTag(1, folder);
    m_listPane->showFilePage();
    m_listPane->Tab1()->select(1);
    m_files->showFile(file);
    openMedia(movie.fileName, 0);
}

void Player::m_exit_Click()
{
    close();
}

void Player::Form_Unload()
{
    if (!m_loaded || m_unloaded)
        return;
    m_unloaded = true;
    m_playback->stopTimers(); // nothing sets the mixer again once it is given back its level
    // Each file is written once below: the saves soon after a change stop first.
    m_configAutosave->stop();
    m_files->stopSaving();
    m_search->stopSaving();
    m_resume->stopSaving();
    m_keyCommands->bindings()->stopSaving();
    m_options->stopSaving();
    m_favourites->shutDown();
    guarded([&] { m_seekPreview->shutdown(); });
    guarded([&] { m_favourites->save_okini(m_favourites->gStrM3uName()); });
    guarded([&] { saveSearchData(); });
    guarded([&] { saveConfig(); });
    guarded([&] { saveResume(); });
    guarded([&] { saveKeys(); });
    guarded([&] { m_files->saveTabDir(); });
    guarded([&] { m_favourites->saveTabM3u(); });
    guarded([&] { saveListColors(); });
    guarded([&] { stop_Click(); });
    guarded([&] {
        m_video->movie()->MediaClear();
        m_video->movie()->Release();
    });
    // The list editor closes without bringing the main window back (the process would
    // live on); the thumbnail chooser is closed with the main window.
    guarded([&] { m_listPane->unloadListEditor(); });
    guarded([&] { m_playback->tmrPosition()->setEnabled(false); });
    guarded([&] { removeTrayIcon(); });
    // Nothing runs after shutdown.
    for (Timer *t : {m_favourites->tmr_okini(), m_Timer_addIcon})
        t->setEnabled(false);
}

void Player::configureRealControl()
{
    RealControl *rmovie = m_video->rmovie();
    rmovie->invoke(221, true);
    rmovie->invoke(307, true);
    rmovie->invoke(305, true);
    rmovie->invoke(295, false);
    rmovie->invoke(275, true);
    rmovie->invoke(283, false);
}
