// The main window: its rooms, created in the order in which their controls stack, and
// the wiring between them.
#include "app/player.h"

#include "app/options_page.h"
#include "app/images.h"
#include "app/timer.h"
#include "app/tray_icon.h"
#include "input/main_menu.h"
#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/file_menu_target.h"
#include "lists/file_page.h"
#include "lists/list_pane.h"
#include "lists/path.h"
#include "lists/search_page.h"
#include "lists/tab_strip.h"
#include "platform/single_instance.h"
#include "playback/cmovie.h"
#include "playback/playback.h"
#include "playback/real_control.h"
#include "playback/resume.h"
#include "scenes/scene_file.h"
#include "scenes/scene_menus.h"
#include "lists/okini_list.h"
#include "window/control_bar.h"
#include "window/controls.h"
#include "window/twips.h"
#include "window/video_area.h"
#include "window/window_modes.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QDropEvent>
#include <QMimeData>
#include <QMenu>
#include <QScreen>

Player::Player(PlayerServices s, QWidget *parent)
    : QWidget(parent), services(std::move(s)), m_instanceLock(std::make_unique<platform::SingleInstanceLock>())
{
    setObjectName(QStringLiteral("player"));
    setWindowTitle(QStringLiteral("Plovana"));
    setWindowIcon(images::appIcon());
    setAcceptDrops(true);
    appDir = path::addbackslash(services.appDir);
    buildRooms();
    connectRooms();
    registerCommands();
}

Player::~Player()
{
    // The engines go before the controls that show their pictures.
    video->movie.reset();
}

void Player::buildRooms()
{
    // The client area at design time; config.ini or the window manager sizes it later.
    resize(twips::toPixelsX(13500), twips::toPixelsY(8400));

    video = new VideoArea(this, services.movieBackend, services.realBackend);
    controls = new ControlBar(this);
    listPane = new ListPane(this);
    options = new OptionsPage(listPane->config);
    video->attachOptions(*options);
    windowModes = new WindowModes(this, options->original);
    if (!services.shell)
        services.shell = makeDesktopShell();
    files = new FilePage(this, services.dialogs, services.shell, appDir, *options, *this, *windowModes);
    if (!services.workingDir.isEmpty())
        files->File->setPath(services.workingDir);
    favourites = new FavouritesPage(this, services.dialogs, appDir, *options, *this, *windowModes, *listPane,
                                    services.grabFrame);
    search = new SearchPage(this, listPane->find, services.dialogs, appDir, *options, *this, *files, *favourites);
    listPane->attach(files, favourites, search);
    playback = new Playback(this, *video, *controls, *options, *listPane, *windowModes, services.waveOut);
    windowModes->attach({*this, *video, *controls, *listPane, *options, *this, playback->nowPlaying,
                         *playback->tmrPosition});
    resume = new Resume(this, *playback, *video->movie, *listPane, *options, appDir);
    scenes = new SceneMenus(this, playback->nowPlaying, *controls, *this);
    mainMenu = new MainMenu(this, commands, *controls,
                            {playback->m, windowModes->m_size, playback->m_speed, playback->m_mode,
                             windowModes->m_window},
                            *scenes);

    trayIcon = new TrayIcon(*this, services.tray ? services.tray : makeQtSystemTray(), *mainMenu);
    Timer_addIcon = new Timer(this);
    Timer_addIcon->setInterval(100);
}

void Player::connectRooms()
{
    connect(video, &VideoArea::framePainted, this, &Player::framePainted);
    connect(video->display, &PictureBox::mouseDown, mainMenu, &MainMenu::display_MouseDown);
    mainMenu->fileOpen = [this] { return !video->movie->fileName.isEmpty(); };
    listPane->inFullScreen = [this] { return video->movie->DisplaySize == 1; };
    connect(listPane, &ListPane::pageShown, controls, [this](int page) {
        controls->setButtonImage(QStringLiteral("capture"),
                                 page == 2 ? QStringLiteral("capture") : QStringLiteral("capture_mask"));
    });
    connect(listPane, &ListPane::laidOut, options, &OptionsPage::layoutOptionsPage);
    connect(listPane->Tab1, &TabStrip::gotFocus, this, [this] {
        if (video->display->isVisible())
            video->display->setFocus();
    });
    connect(files, &FilePage::focusVideo, this, [this] {
        if (video->display->isVisible())
            video->display->setFocus();
    });
    connect(options, &OptionsPage::loadThumbnailsToggled, favourites, &FavouritesPage::Check_loadthum_Click);
    connect(options, &OptionsPage::topmostToggled, windowModes, &WindowModes::followTopmostOption);
    connect(playback, &Playback::opened, scenes, &SceneMenus::load_scene_menus);
    scenes->attachOkiniMenu(favourites->m_seen_load_okini);
    connect(favourites, &FavouritesPage::sceneMenuWanted, scenes, &SceneMenus::load_okini_scene_menu);
    scenes->attachFileMenu(files->m_seen_load_file);
    connect(files, &FilePage::sceneMenuWanted, scenes, &SceneMenus::load_file_scene_menu);
    connect(favourites, &FavouritesPage::focusVideo, this, [this] {
        if (video->display->isVisible())
            video->display->setFocus();
    });
    connect(favourites, &FavouritesPage::fileFolderWanted, files, &FilePage::openFileFolder);
    connect(controls, &ControlBar::listToggleClicked, this, [this] { commands.trigger(command::listToggle); });
    connect(controls, &ControlBar::focusVideo, this, [this] {
        if (video->display->isVisible())
            video->display->setFocus();
    });
    controls->attach(playback->nowPlaying, *playback->tmrPosition);
    connect(files, &FilePage::addToFavourites, this, [this] { commands.trigger(command::addOkini); });
    connect(listPane, &ListPane::filesDroppedOnTabs, favourites, &FavouritesPage::List_okini_OLEDragDrop);
    resume->okiniLoadPending = [this] { return favourites->firstLoadPending(); };
    connect(favourites, &FavouritesPage::firstLoadEnded, resume, &Resume::okiniLoaded);
    connect(video, &VideoArea::filesDropped, files, &FilePage::File_Drop);
    video->playsRealMedia = [this] { return playback->nowPlaying.isRealMedia(); };
    connect(options, &OptionsPage::fittingChosen, video, &VideoArea::fitVideo);
    connect(options, &OptionsPage::autoAdjustChosen, this, &Player::Form_Resize);
    connect(listPane, &ListPane::sizeBarClicked, this, &Player::size_bar_ButtonClick);
    connectWindowModes();
    // The search results' popup is the file popup, acting on the selected results.
    connect(search, &SearchPage::fileMenuWanted, files,
            [this] { files->popUpFileMenu(search->findTarget(), QCursor::pos()); });
    connect(options, &OptionsPage::upperClipChanged, video, &VideoArea::applyClipUpper);
    connect(options, &OptionsPage::underClipChanged, video, &VideoArea::applyClipUnder);
    connect(Timer_addIcon, &QTimer::timeout, this, [this] {
        trayIcon->addTrayIcon();
        Timer_addIcon->setEnabled(false);
    });
}

void Player::connectWindowModes()
{
    WindowModes *modes = windowModes;
    PictureBox *display = video->display;
    const auto tx = [](int px) { return twips::fromPixelsX(px); };
    const auto ty = [](int px) { return twips::fromPixelsY(px); };
    const auto screenY = [this](QWidget *w, QPoint p) {
        const QScreen *s = screen();
        return w->mapToGlobal(p).y() - (s ? s->geometry().top() : 0);
    };
    connect(display, &PictureBox::mouseMove, modes, [=](Qt::MouseButtons, Qt::KeyboardModifiers, QPoint p) {
        modes->display_MouseMove(tx(p.x()), ty(p.y()), twips::width(display), screenY(display, p));
    });
    // The RealMedia control over the video: its right edge stands for the video area's.
    RealControl *rmovie = video->rmovie;
    connect(rmovie, &RealControl::mouseMove, modes, [=](Qt::MouseButtons, Qt::KeyboardModifiers, QPoint p) {
        const QPoint d = rmovie->mapTo(display->parentWidget(), p) - display->pos();
        modes->display_MouseMove(tx(d.x()), ty(d.y()), twips::left(rmovie) + twips::width(rmovie),
                                 screenY(rmovie, p));
    });
    connect(display, &PictureBox::dblClick, modes, &WindowModes::display_DblClick);
    connect(display, &PictureBox::mouseDown, modes, [modes](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) {
        if (b == Qt::RightButton)
            modes->display_RightClick();
    });
    connect(rmovie, &RealControl::mouseDown, modes, [modes](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) {
        if (b == Qt::RightButton)
            modes->display_RightClick();
    });
    connect(video->kyoukai, &PictureBox::mouseMove, this,
            [this](Qt::MouseButtons b, Qt::KeyboardModifiers, QPoint p) { kyoukai_MouseMove(b, twips::fromPixelsX(p.x())); });
    connect(video->kyoukai, &PictureBox::mouseUp, this, [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) {
        if (b == Qt::LeftButton)
            kyoukai_MouseUp();
    });

    commands.add(command::fullScreen, [modes] { modes->enterFullScreen(); });
    commands.add(command::smallMode, [modes] { modes->m_small_Click(); });
    commands.add(command::topmost, [modes] { modes->m_temae_Click(!modes->m_temae->isChecked()); });
    commands.add(command::optimizeWindow, [modes] { modes->m_saiteki_Click(); });
    for (int i = 0; i < 6; ++i) {
        commands.add(command::size(i), [modes, i] { modes->size_Click(i); });
        connect(modes->size[std::size_t(i)], &QAction::triggered, this, [this, i] { commands.trigger(command::size(i)); });
    }
    connect(modes->m_small, &QAction::triggered, this, [this] { commands.trigger(command::smallMode); });
    connect(modes->m_saiteki, &QAction::triggered, this, [this] { commands.trigger(command::optimizeWindow); });
    // Checkable items have flipped before they report: the handlers are told the new state.
    connect(modes->m_temae, &QAction::triggered, modes, &WindowModes::m_temae_Click);
    connect(modes->original, &QAction::triggered, modes, &WindowModes::original_Click);
}

void Player::removeTrayIcon() { trayIcon->removeTrayIcon(); }

void Player::registerCommands()
{
    commands.add(command::play, [this] { playback->play_Click(); });
    commands.add(command::stop, [this] { stop_Click(); });
    commands.add(command::pre, [this] { playPrevious(); });
    commands.add(command::next, [this] { playNext(); });
    commands.add(command::exit, [this] { m_exit_Click(); });
    commands.add(command::listToggle, [this] { BtList_Click(); });
    commands.add(command::topSeek, [this] { playback->seekTop(); });
    commands.add(command::addOkini, [this] {
        if (listPane->shownPage() == 1)
            favourites->add_selected_files(files->File->path(), files->selectedNamesLastFirst());
        else if (listPane->shownPage() == 3)
            search->add_selected_found();
    });
    commands.add(command::addPlaying,
                 [this] { favourites->m_addOkiniForMenu_Click(scenes::localName(playback->nowPlaying.source())); });
    commands.add(command::capture, [this] {
        if (listPane->shownPage() != 2)
            return; // only on the favourites page
        const NowPlaying &np = playback->nowPlaying;
        const int i = video->movie->okini_index;
        // Only the entry that plays: the remembered entry may have been another file's since.
        if (i < 1 || i > favourites->List_okini->count()
            || favourites->List_okini->folder(i) + favourites->List_okini->text(i) != scenes::localName(np.source()))
            return;
        const auto units = np.position();
        favourites->capture_thumbnail(i, units ? std::optional<double>(*units / np.unitsPerSecond()) : std::nullopt);
    });
    commands.add(command::rename, [this] {
        switch (listPane->shownPage()) {
        case 1:
            if (files->fileTarget().selectedPaths().size() == 1)
                files->renameSelected(files->fileTarget());
            break;
        case 2:
            favourites->m_renameOkini_Click();
            break;
        case 3:
            if (search->findTarget().selectedPaths().size() == 1)
                files->renameSelected(search->findTarget());
            break;
        default:
            break;
        }
    });
    commands.add(command::deleteItems, [this] { favourites->m_item_del_Click(); });
    commands.add(command::properties, [this] {
        if (listPane->shownPage() == 1)
            files->showProperties(files->fileTarget());
        else if (listPane->shownPage() == 3)
            files->showProperties(search->findTarget());
    });
    for (int i = 0; i < 4; ++i) {
        commands.add(command::mode(i), [this, i] { playback->mode_Click(i); });
        commands.add(command::speed(i), [this, i] { playback->bai_Click(i); });
    }
    // The menus trigger the commands by id.
    const std::pair<QAction *, QString> items[] = {
        {playback->play, command::play}, {playback->stop, command::stop}, {playback->pre, command::pre},
        {playback->next, command::next}, {playback->mTopSeek, command::topSeek}};
    for (const auto &[action, id] : items)
        connect(action, &QAction::triggered, this, [this, id = id] { commands.trigger(id); });
    for (int i = 0; i < 4; ++i) {
        connect(playback->mode[std::size_t(i)], &QAction::triggered, this, [this, i] { commands.trigger(command::mode(i)); });
        connect(playback->bai[std::size_t(i)], &QAction::triggered, this, [this, i] { commands.trigger(command::speed(i)); });
    }
}

void Player::loadSearchData() { search->loadSearchData(); }
void Player::saveSearchData() { search->saveSearchData(); }
void Player::loadResume() { resume->loadResume(); }
void Player::saveResume() { resume->saveResume(); }

void Player::openMedia(const QString &path, double pos) { playback->openMedia(path, pos); }
void Player::playPause() { playback->playPause(); }
void Player::stop_Click() { playback->stop_Click(); }
void Player::playNext() { playback->playNext(); }
void Player::playPrevious() { playback->playPrevious(); }
void Player::resumeIfPaused(const QString &path) { playback->resumeIfPaused(path); }
QString Player::openFileName() const { return scenes::localName(playback->nowPlaying.source()); }

void Player::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    frameMayHaveChanged();
    Form_Resize();
}

void Player::moveEvent(QMoveEvent *e)
{
    QWidget::moveEvent(e);
    frameMayHaveChanged();
}

void Player::dragEnterEvent(QDragEnterEvent *e)
{
    if (!droppedLocalFiles(e->mimeData()).isEmpty())
        e->acceptProposedAction();
}

void Player::dropEvent(QDropEvent *e)
{
    if (droppedLocalFiles(e->mimeData()).isEmpty())
        return;
    e->acceptProposedAction();
    video->movie->MediaClear();
}

void Player::closeEvent(QCloseEvent *e)
{
    Form_Unload();
    e->accept();
}
