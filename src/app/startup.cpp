// Start-up (Form_Load) and shutdown (Form_Unload) of the main window.
#include "app/command_line.h"
#include "app/player.h"

#include "app/options_page.h"
#include "widgets/timer.h"
#include "input/main_menu.h"
#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/file_page.h"
#include "lists/list_pane.h"
#include "lists/okini_list.h"
#include "platform/path.h"
#include "lists/tab_strip.h"
#include "platform/my_module.h"
#include "platform/single_instance.h"
#include "playback/cmovie.h"
#include "playback/playback.h"
#include "playback/real_control.h"
#include "scenes/scene_menus.h"
#include "window/control_bar.h"
#include "widgets/controls.h"
#include "widgets/twips.h"
#include "window/video_area.h"
#include "window/window_modes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QLineEdit>


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
    appDir = path::addbackslash(services.appDir);
    myModule::initScreenMetrics(this);
    hide();

    if (!m_instanceLock->acquire(appDir))
        return false; // another copy runs: nothing is shown, nothing is played

    resizeLocked = true;
    windowModes->alwaysOnTop = true;
    windowModes->isRenaming = false;
    controls->seekPaused = false;
    playback->realStateEvent = false;

    options->Ver->setText(versionCaption(PLOVANA_VERSION_MAJOR, PLOVANA_VERSION_MINOR, PLOVANA_VERSION_PATCH));
    // The menus menu, m_item, m_FileMenu, m_tab and m_tab_okini are never part of a menu
    // bar; they are only ever popped up.

    windowModes->listVisibleBeforeSmall = false;
    controls->showListToggle(true);

    playback->nowPlaying.readStartWaveVolume();

    loadListColors();
    configureRealControl();

    favourites->TabM3u->setTag(favourites->TabM3u->selectedIndex(), appDir + QStringLiteral("okini.ini"));

    if (QFileInfo::exists(appDir + QStringLiteral("config.ini"))) {
        loadConfig();
    } else {
        controls->setVolume(100);
        windowModes->smallMode = false;
        favourites->OpenImagePath = appDir;
        options->homeDir = appDir;
        playback->mode_Click(1);
        playback->bai_Click(2);
        files->TabDir->setTag(1, appDir);
    }

    resizeLocked = false;
    options->text_home->setText(options->homeDir);
    twips::setTop(video->kyoukai, twips::height(this));

    // The decorated window is mapped first: the window manager's frame is measured, and the
    // configured outer rectangle applied with it, before mini mode takes the frame away.
    const bool startSmall = windowModes->smallMode;
    windowModes->smallMode = false;
    show();
    QCoreApplication::processEvents();
    myModule::initScreenMetrics(this);
    correctForFrame();
    if (startSmall) {
        Form_Resize();
        windowModes->enterSmallModeOnceFramed();
    }
    twips::setTop(video->kyoukai, 0);

    favourites->imageDir = appDir + QStringLiteral("image/");
    scenes->seenFolder = appDir + QStringLiteral("seen/");
    for (const QString &dir : {favourites->imageDir, scenes->seenFolder})
        if (!QFileInfo::exists(dir))
            QDir().mkdir(dir);

    favourites->thumbWidth = 100;
    favourites->thumbHeight = 75;
    favourites->tmr_okini->setEnabled(true);

    loadKeys();
    files->loadTabDir();
    twips::setHeight(files->File, files->TabDir->clientHeight());
    favourites->loadTabM3u();
    twips::setHeight(favourites->List_okini, favourites->TabM3u->clientHeight() + 40);
    loadSearchData();

    handleCommandLine();

    // The item, the option box, the toolbar picture and the window itself.
    windowModes->followTopmostOption(windowModes->alwaysOnTop);

    show();
    Timer_addIcon->setEnabled(true);
    readAssociations();
    if (options->showPopup())
        mainMenu->createToolTips();
    mainWindowHandle = QApplication::activeWindow();
    windowModes->applyWindowRegion();

    m_loaded = true;
    // The frame may have come while start-up ran, or come a little later.
    frameMayHaveChanged();
    QTimer::singleShot(500, this, &Player::frameMayHaveChanged);
    return true;
}

void Player::handleCommandLine()
{
    if (commandLineText(services.arguments).isEmpty()) {
        if (options->resume())
            loadResume();
        return;
    }
    const QString file = commandLineFile(services.arguments, services.workingDir);
    if (!isExistingFile(file))
        return;
    const qsizetype slash = file.lastIndexOf(u'/');
    const QString folder = file.left(slash + 1);

    CMovie &movie = *video->movie;
    const QString media = mediaFileName(file);
    if (!media.isEmpty())
        movie.fileName = media;

    files->File->setPath(folder);
    files->TabDir->setTag(1, folder);
    listPane->showFilePage();
    listPane->Tab1->select(1);
    files->showFile(file);
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
    playback->stopTimers(); // nothing sets the mixer again once it is given back its level
    favourites->shutDown();
    guarded([&] { favourites->save_okini(favourites->gStrM3uName); });
    guarded([&] { saveSearchData(); });
    guarded([&] { saveConfig(); });
    guarded([&] { saveResume(); });
    guarded([&] { saveKeys(); });
    guarded([&] { files->saveTabDir(); });
    guarded([&] { favourites->saveTabM3u(); });
    guarded([&] { saveListColors(); });
    guarded([&] { stop_Click(); });
    guarded([&] {
        video->movie->MediaClear();
        video->movie->Release();
    });
    // The list editor and the thumbnail chooser windows are closed with the main window.
    guarded([&] { playback->tmrPosition->setEnabled(false); });
    guarded([&] { removeTrayIcon(); });
    // Nothing runs after shutdown.
    for (Timer *t : {favourites->tmr_okini, Timer_addIcon})
        t->setEnabled(false);
}

void Player::configureRealControl()
{
    RealControl *rmovie = video->rmovie;
    rmovie->invoke(221, true);
    rmovie->invoke(307, true);
    rmovie->invoke(305, true);
    rmovie->invoke(295, false);
    rmovie->invoke(275, true);
    rmovie->invoke(283, false);
}
