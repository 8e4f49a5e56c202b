// Start-up (Form_Load) and shutdown (Form_Unload) of the main window.
#include "app/command_line.h"
#include "app/player.h"

#include "lists/file_list_box.h"
#include "lists/okini_list.h"
#include "lists/path.h"
#include "lists/tab_strip.h"
#include "platform/my_module.h"
#include "platform/single_instance.h"
#include "window/twips.h"
#include "playback/cmovie.h"
#include "playback/real_control.h"
#include "window/controls.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

#include <chrono>

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
    movie = std::make_unique<CMovie>([this]() -> std::unique_ptr<MediaBackend> {
        if (!services.movieBackend)
            return nullptr;
        auto backend = services.movieBackend();
        if (backend)
            connect(backend.get(), &MediaBackend::framePainted, this, &Player::framePainted);
        return backend;
    });
    appDir = path::addbackslash(services.appDir);
    myModule::initScreenMetrics(this);
    hide();

    if (!m_instanceLock->acquire(appDir))
        return false; // another copy runs: nothing is shown, nothing is played

    resizeLocked = true;
    alwaysOnTop = true;
    isRenaming = false;
    seekPaused = false;
    isRealMedia = false;
    realStateEvent = false;

    Ver->setText(versionCaption(PLOVANA_VERSION_MAJOR, PLOVANA_VERSION_MINOR, PLOVANA_VERSION_PATCH));
    random.seed(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    // The menus menu, m_item, m_FileMenu, m_tab and m_tab_okini are never part of a menu
    // bar; they are only ever popped up.

    listVisibleBeforeSmall = false;
    BtList->setPicture(ImageLeft);

    const std::uint32_t wave = services.waveOut ? services.waveOut->volume().value_or(0) : 0;
    startWaveVolume = static_cast<int>(wave & 0xFFFF) - 32767;

    loadListColors();
    configureRealControl();

    TabM3u->setTag(TabM3u->selectedIndex(), appDir + QStringLiteral("okini.ini"));

    if (QFileInfo::exists(appDir + QStringLiteral("config.ini"))) {
        loadConfig();
    } else {
        vol->setValueChecked(100);
        volForFullscreen->setValueChecked(100);
        smallMode = false;
        OpenImagePath = appDir;
        homeDir = appDir;
        mode_Click(1);
        bai_Click(2);
        TabDir->setTag(1, appDir);
    }

    resizeLocked = false;
    text_home->setText(homeDir);
    twips::setTop(kyoukai, twips::height(this));

    if (smallMode) {
        smallMode = false;
        show();
        Form_Resize();
        smallMode = true;
        enterSmallMode();
    } else {
        show();
        QCoreApplication::processEvents();
    }
    // The window is mapped now: the window manager's frame can be measured, and the
    // configured outer rectangle applied with it.
    myModule::initScreenMetrics(this);
    correctForFrame();
    twips::setTop(kyoukai, 0);

    imageDir = appDir + QStringLiteral("image/");
    seenFolder = appDir + QStringLiteral("seen/");
    for (const QString &dir : {imageDir, seenFolder})
        if (!QFileInfo::exists(dir))
            QDir().mkdir(dir);

    thumbWidth = 100;
    thumbHeight = 75;
    tmr_okini->setEnabled(true);

    loadKeys();
    loadTabDir();
    twips::setHeight(File, TabDir->clientHeight());
    loadTabM3u();
    twips::setHeight(List_okini, TabM3u->clientHeight() + 40);
    loadSearchData();

    handleCommandLine();

    m_temae->setChecked(alwaysOnTop);
    Check_temae->setChecked(alwaysOnTop);

    show();
    Timer_addIcon->setEnabled(true);
    readAssociations();
    if (Check_show_popup->isChecked())
        createToolTips();
    mainWindowHandle = QApplication::activeWindow();
    applyWindowRegion();

    m_loaded = true;
    return true;
}

void Player::handleCommandLine()
{
    if (commandLineText(services.arguments).isEmpty()) {
        if (check_resume->isChecked())
            loadResume();
        return;
    }
    const QString file = commandLineFile(services.arguments, services.workingDir);
    if (!isExistingFile(file))
        return;
    const qsizetype slash = file.lastIndexOf(u'/');
    const QString folder = file.left(slash + 1);
    const QString name = file.mid(slash + 1);

    const QString media = mediaFileName(file);
    if (!media.isEmpty())
        movie->fileName = media;

    File->setPath(folder);
    TabDir->setTag(1, folder);
    showFilePage();
    Tab1->select(1);

    for (int row = 0; row < File->listCount(); ++row) {
        if (File->list(row) == name) {
            File->setListIndex(row);
            setListTopIndex(File, row);
            break;
        }
    }
    openMedia(movie->fileName, 0);
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
    guarded([&] { save_okini(gStrM3uName); });
    guarded([&] { saveSearchData(); });
    guarded([&] { saveConfig(); });
    guarded([&] { saveResume(); });
    guarded([&] { saveKeys(); });
    guarded([&] { saveTabDir(); });
    guarded([&] { saveTabM3u(); });
    guarded([&] { saveListColors(); });
    guarded([&] { stop_Click(); });
    guarded([&] {
        movie->MediaClear();
        movie->Release();
    });
    // The list editor and the thumbnail chooser windows are closed with the main window.
    guarded([&] { tmrPosition->setEnabled(false); });
    guarded([&] { removeTrayIcon(); });
    // Nothing runs after shutdown.
    for (Timer *t : {tmr_okini, Timer_adjust_volume, Timer_addIcon})
        t->setEnabled(false);
}

void Player::configureRealControl()
{
    rmovie->invoke(221, true);
    rmovie->invoke(307, true);
    rmovie->invoke(305, true);
    rmovie->invoke(295, false);
    rmovie->invoke(275, true);
    rmovie->invoke(283, false);
}
