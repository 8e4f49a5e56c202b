// The main window: its rooms, created in the order in which their controls stack, and
// the wiring between them.
#include "app/player.h"

#include "app/config_autosave.h"
#include "app/media_controls.h"
#include "app/options_page.h"
#include "app/tray_icon.h"
#include "input/key_commands.h"
#include "input/main_menu.h"
#include "lists/favourites_page.h"
#include "lists/file_list_box.h"
#include "lists/file_menu_target.h"
#include "lists/file_page.h"
#include "lists/list_pane.h"
#include "lists/okini_list.h"
#include "lists/search_page.h"
#include "lists/tab_strip.h"
#include "platform/path.h"
#include "platform/single_instance.h"
#include "playback/cmovie.h"
#include "playback/playback.h"
#include "playback/real_control.h"
#include "playback/resume.h"
#include "scenes/scene_file.h"
#include "scenes/scene_menus.h"
#include "widgets/command_ids.h"
#include "widgets/controls.h"
#include "widgets/images.h"
#include "widgets/timer.h"
#include "widgets/twips.h"
#include "window/control_bar.h"
#include "window/seek_preview.h"
#include "window/video_area.h"
#include "window/window_modes.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QCursor>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QScreen>

Player::Player(PlayerServices s, QWidget *parent)
    : QWidget(parent), m_instanceLock(std::make_unique<platform::SingleInstanceLock>()), m_services(std::move(s))
{
    setObjectName(QStringLiteral("player"));
    setWindowTitle(QStringLiteral("Plovana"));
    setWindowIcon(images::appIcon());
    setAcceptDrops(true);
    m_appDir = path::addbackslash(m_services.appDir);
    buildRooms();
    connectRooms();
    registerCommands();
}

Player::~Player()
{
    // The engines go before the controls that show their pictures.
    m_video->releaseMovie();
}

void Player::buildRooms()
{
    // The client area at design time; config.ini or the window manager sizes it later.
    resize(twips::toPixelsX(13500), twips::toPixelsY(8400));

    m_video = new VideoArea(this, m_services.movieBackend, m_services.realBackend);
    m_controls = new ControlBar(this, m_commands);
    m_listPane = new ListPane(this, m_commands);
    if (!m_services.shell)
        m_services.shell = makeDesktopShell();
    m_options = new OptionsPage(m_listPane->config(), m_commands, m_services.dialogs, m_services.shell,
                                m_services.program);
    m_video->attachOptions(*m_options);
    m_windowModes = new WindowModes(this, m_commands);
    m_files = new FilePage(this, m_commands, m_services.dialogs, m_services.shell, m_appDir, *m_options, *this, *m_windowModes);
    if (!m_services.workingDir.isEmpty())
        m_files->File()->setPath(m_services.workingDir);
    m_favourites = new FavouritesPage(this, m_commands, m_services.dialogs, m_appDir, *m_options, *this, *m_windowModes, *m_listPane,
                                    m_services.grabFrame);
    m_search = new SearchPage(this, m_listPane->find(), m_services.dialogs, m_appDir, *m_options, *this, *m_files, *m_favourites);
    m_listPane->attach(m_files, m_favourites, m_search, *m_options, m_appDir);
    m_playback = new Playback(this, m_commands, *m_video->movie(), *m_video->rmovie(), *m_video, *m_windowModes, *m_options, *m_listPane,
                            m_services.waveOut);
    m_windowModes->attach({*this, *m_video, *m_controls, *m_listPane, *m_options, *this, m_playback->state(),
                         m_playback->nowPlaying()});
    m_seekPreview = new SeekPreview(this, *m_controls, m_playback->state(), *m_windowModes, *m_options,
                                    m_services.previewDecoder);
    m_resume = new Resume(this, *m_playback, *m_video->movie(), *m_listPane, *m_options, m_appDir);
    m_scenes = new SceneMenus(this, m_commands, m_playback->nowPlaying(), m_playback->state(), *this);
    m_mainMenu = new MainMenu(this, {m_commands, *m_controls, *m_scenes, *m_windowModes, *m_video, *m_options,
                                     m_services.shell, m_appDir},
                            {m_playback->m(), m_windowModes->m_size(), m_playback->m_speed(), m_playback->m_mode(),
                             m_windowModes->m_window()});
    QComboBox *findText = m_search->FindText();
    const KeyCommands::Rooms keyRooms{*this, m_commands, *m_video, *m_controls, *m_listPane, *m_favourites,
                                      *m_windowModes, *m_playback,
                                      {m_options->text_home(), findText, findText->lineEdit()}};
    const KeyBindings::Page keyPage{m_options->keyFrameContents(), [this](QWidget *w) { m_options->addToKeyFrame(w); },
                                    m_listPane->config(), m_options->message()};
    m_keyCommands = new KeyCommands(keyRooms, keyPage, m_appDir);

    m_trayIcon = new TrayIcon(*this, m_services.tray ? m_services.tray : makeQtSystemTray(), *m_mainMenu);
    if (m_services.mediaControls)
        m_mediaControls = new MediaControls({*this, m_commands, m_playback->state(), m_playback->nowPlaying(), *m_listPane,
                                             *m_controls, [this] { m_trayIcon->bringBackWindow(); },
                                             [this](const QString &file) { return m_favourites->existingThumbnailOf(file); }});
    m_configAutosave = new ConfigAutosave([this] { return currentConfig(); }, m_appDir + QStringLiteral("config.ini"), this);
    m_Timer_addIcon = new Timer(this);
    m_Timer_addIcon->setInterval(100);
}

void Player::connectRooms()
{
    connect(m_video, &VideoArea::framePainted, this, &Player::framePainted);
    connect(m_video->display(), &PictureBox::mouseDown, m_mainMenu, &MainMenu::display_MouseDown);
    connect(m_controls, &ControlBar::backgroundPressed, m_mainMenu, &MainMenu::control_MouseDown);
    connect(m_video->rmovie(), &RealControl::mouseDown, m_mainMenu, &MainMenu::rmovie_MouseDown);
    connect(m_video->rmovie(), &RealControl::mouseMove, m_mainMenu,
            [this](Qt::MouseButtons b, Qt::KeyboardModifiers, QPoint) { m_mainMenu->rmovie_MouseMove(b); });
    m_mainMenu->setFileOpen([this] { return !m_video->movie()->fileName.isEmpty(); });
    m_listPane->setInFullScreen([this] { return m_windowModes->inFullScreen(); });
    connect(m_listPane, &ListPane::pageShown, m_controls, [this](int page) {
        m_controls->setButtonImage(QStringLiteral("capture"),
                                 page == 2 ? QStringLiteral("capture") : QStringLiteral("capture_mask"));
        m_commands.refresh();
    });
    connect(m_listPane, &ListPane::laidOut, m_options, &OptionsPage::layoutOptionsPage);
    connect(m_listPane->Tab1(), &TabStrip::gotFocus, this, [this] { m_video->focusDisplay(); });
    connect(m_files, &FilePage::focusVideo, this, [this] { m_video->focusDisplay(); });
    connect(m_options, &OptionsPage::loadThumbnailsToggled, m_favourites, &FavouritesPage::Check_loadthum_Click);
    connect(m_options, &OptionsPage::topmostToggled, m_windowModes, &WindowModes::followTopmostOption);
    connect(m_playback, &Playback::opened, m_scenes, &SceneMenus::load_scene_menus);
    connect(m_playback, &Playback::opened, m_windowModes, &WindowModes::showFileCaption);
    connect(m_playback, &Playback::opened, m_controls, [this] { m_controls->sel()->hide(); });
    connect(m_playback, &Playback::stopped, m_windowModes, [this] {
        if (m_windowModes->inFullScreen())
            m_windowModes->leaveFullScreen();
    });
    // The commands' rules read the playback state.
    connect(&m_playback->state(), &PlaybackState::statusChanged, this, [this] { m_commands.refresh(); });
    connect(&m_playback->state(), &PlaybackState::fileChanged, this, [this] { m_commands.refresh(); });
    m_scenes->attachOkiniMenu(m_favourites->m_seen_load_okini());
    connect(m_favourites, &FavouritesPage::sceneMenuWanted, m_scenes, &SceneMenus::load_okini_scene_menu);
    m_scenes->attachFileMenu(m_files->m_seen_load_file());
    connect(m_files, &FilePage::sceneMenuWanted, m_scenes, &SceneMenus::load_file_scene_menu);
    connect(m_favourites, &FavouritesPage::focusVideo, this, [this] { m_video->focusDisplay(); });
    connect(m_favourites, &FavouritesPage::fileFolderWanted, m_files, &FilePage::openFileFolder);
    connect(m_controls, &ControlBar::listToggleClicked, this, [this] { m_commands.trigger(command::listToggle); });
    connect(m_controls, &ControlBar::focusVideo, this, [this] { m_video->focusDisplay(); });
    m_controls->attach(m_playback->state(), m_playback->nowPlaying(), *m_playback->tmrPosition());
    connect(m_listPane, &ListPane::filesDroppedOnTabs, m_favourites, &FavouritesPage::List_okini_OLEDragDrop);
    m_resume->setOkiniLoadPending([this] { return m_favourites->firstLoadPending(); });
    connect(m_favourites, &FavouritesPage::firstLoadEnded, m_resume, &Resume::okiniLoaded);
    connect(m_video, &VideoArea::filesDropped, m_files, &FilePage::File_Drop);
    m_video->setPlaysRealMedia([this] { return m_playback->nowPlaying().isRealMedia(); });
    connect(m_options, &OptionsPage::fittingChosen, m_video, &VideoArea::fitVideo);
    connect(m_options, &OptionsPage::autoAdjustChosen, this, &Player::Form_Resize);
    connect(m_listPane, &ListPane::sizeBarClicked, this, &Player::size_bar_ButtonClick);
    connectWindowModes();
    connectMediaControls();
    // The search results' popup is the file popup, acting on the selected results.
    connect(m_search, &SearchPage::fileMenuWanted, m_files,
            [this] { m_files->popUpFileMenu(m_search->findTarget(), QCursor::pos()); });
    // The lists' colours reach the lists through their owners (not the search results).
    connect(m_options, &OptionsPage::listForeColorChanged, m_files, &FilePage::setListForeColor);
    connect(m_options, &OptionsPage::listBackColorChanged, m_files, &FilePage::setListBackColor);
    connect(m_options, &OptionsPage::listForeColorChanged, m_favourites, &FavouritesPage::setListForeColor);
    connect(m_options, &OptionsPage::listBackColorChanged, m_favourites, &FavouritesPage::setListBackColor);
    connect(m_options, &OptionsPage::listForeColorChanged, m_search, &SearchPage::setListForeColor);
    connect(m_options, &OptionsPage::listBackColorChanged, m_search, &SearchPage::setListBackColor);
    connect(m_options, &OptionsPage::listForeColorChanged, m_listPane, &ListPane::setListForeColor);
    connect(m_options, &OptionsPage::listBackColorChanged, m_listPane, &ListPane::setListBackColor);
    connect(m_options, &OptionsPage::upperClipChanged, m_video, &VideoArea::applyClipUpper);
    connect(m_options, &OptionsPage::underClipChanged, m_video, &VideoArea::applyClipUnder);
    connect(m_Timer_addIcon, &QTimer::timeout, this, [this] {
        m_trayIcon->addTrayIcon();
        m_Timer_addIcon->setEnabled(false);
    });
}

void Player::connectMediaControls()
{
    if (!m_mediaControls)
        return;
    connect(m_playback, &Playback::opened, m_mediaControls, &MediaControls::fileOpened);
    connect(m_listPane, &ListPane::playlistChanged, m_mediaControls, &MediaControls::changesMayHaveHappened);
}

void Player::connectWindowModes()
{
    WindowModes *modes = m_windowModes;
    PictureBox *display = m_video->display();
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
    RealControl *rmovie = m_video->rmovie();
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
    connect(m_video->kyoukai(), &PictureBox::mouseMove, this,
            [this](Qt::MouseButtons b, Qt::KeyboardModifiers, QPoint p) { kyoukai_MouseMove(b, twips::fromPixelsX(p.x())); });
    connect(m_video->kyoukai(), &PictureBox::mouseUp, this, [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPoint) {
        if (b == Qt::LeftButton)
            kyoukai_MouseUp();
    });
}

void Player::removeTrayIcon() { m_trayIcon->removeTrayIcon(); }

void Player::registerCommands()
{
    m_commands.add(command::exit, QStringLiteral("終了(Ctrl+W)"), [this] { m_exit_Click(); });
    m_commands.add(command::listToggle, QStringLiteral("リスト表示切り替え"), [this] { BtList_Click(); });
    m_commands.add(command::addOkini, QStringLiteral("お気に入りに追加(Ctrl+D)"), [this] {
        if (m_listPane->shownPage() == ListPage::Files)
            m_favourites->add_selected_files(m_files->File()->path(), m_files->selectedNamesLastFirst());
        else if (m_listPane->shownPage() == ListPage::Search)
            m_search->add_selected_found();
    });
    // Something to add: the selected files of the file page, or the selected results.
    m_commands.setEnabledRule(command::addOkini, [this] {
        const ListPage page = m_listPane->shownPage();
        return (page == ListPage::Files && !m_files->File()->selectedItems().isEmpty())
               || (page == ListPage::Search && !m_search->List_Find()->selectedItems().isEmpty());
    });
    m_commands.add(command::addPlaying, QStringLiteral("お気に入りに追加"),
                 [this] { m_favourites->m_addOkiniForMenu_Click(scenes::localName(m_playback->nowPlaying().source())); });
    // The favourites entry that plays: the remembered entry may have been another file's since.
    const auto playingEntry = [this] {
        const int i = m_video->movie()->okini_index;
        const OkiniList *list = m_favourites->List_okini();
        return i >= 1 && i <= list->count()
                       && list->folder(i) + list->text(i) == scenes::localName(m_playback->nowPlaying().source())
                   ? i
                   : 0;
    };
    m_commands.add(command::capture, QStringLiteral("キャプチャー"), [this, playingEntry] {
        const NowPlaying &np = m_playback->nowPlaying();
        const auto units = np.position();
        m_favourites->capture_thumbnail(playingEntry(),
                                      units ? std::optional<double>(*units / np.unitsPerSecond()) : std::nullopt);
    });
    // Only on the favourites page, for the entry that plays.
    m_commands.setEnabledRule(command::capture,
                            [this, playingEntry] { return m_listPane->shownPage() == ListPage::Favourites && playingEntry() > 0; });
    m_commands.add(command::rename, QStringLiteral("名前を変更"), [this] {
        switch (m_listPane->shownPage()) {
        case ListPage::Files:
            if (m_files->fileTarget().selectedPaths().size() == 1)
                m_files->renameSelected(m_files->fileTarget());
            break;
        case ListPage::Favourites:
            m_favourites->m_renameOkini_Click();
            break;
        case ListPage::Search:
            if (m_search->findTarget().selectedPaths().size() == 1)
                m_files->renameSelected(m_search->findTarget());
            break;
        default:
            break;
        }
    });
    m_commands.add(command::refreshLists, QStringLiteral("最新の情報に更新"), [this] {
        m_files->File()->refresh();
        m_favourites->relink_okini_icons();
    });
    m_commands.add(command::properties, QStringLiteral("プロパティ"), [this] {
        if (m_listPane->shownPage() == ListPage::Files)
            m_files->showProperties(m_files->fileTarget());
        else if (m_listPane->shownPage() == ListPage::Search)
            m_files->showProperties(m_search->findTarget());
    });
}

void Player::loadListColors() { m_options->loadListColors(m_appDir); }
void Player::saveListColors() { m_options->saveListColors(m_appDir); }
void Player::readAssociations() { m_options->readAssociations(); }
void Player::loadSearchData() { m_search->loadSearchData(); }
void Player::saveSearchData() { m_search->saveSearchData(); }
void Player::loadResume() { m_resume->loadResume(); }
void Player::saveResume() { m_resume->saveResume(); }
void Player::loadKeys() { m_keyCommands->bindings()->loadKeys(); }
void Player::saveKeys() { m_keyCommands->bindings()->saveKeys(); }

void Player::openMedia(const QString &path, double pos) { m_playback->openMedia(path, pos); }
void Player::playPause() { m_playback->playPause(); }
void Player::stop_Click() { m_playback->stop_Click(); }
void Player::playNext() { m_playback->playNext(); }
void Player::playPrevious() { m_playback->playPrevious(); }
void Player::resumeIfPaused(const QString &path) { m_playback->resumeIfPaused(path); }
QString Player::openFileName() const { return scenes::localName(m_playback->nowPlaying().source()); }

void Player::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    frameMayHaveChanged();
    Form_Resize();
    rememberNormalRect();
}

void Player::moveEvent(QMoveEvent *e)
{
    QWidget::moveEvent(e);
    frameMayHaveChanged();
    rememberNormalRect();
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
    m_video->movie()->MediaClear();
    m_playback->nowPlaying().syncStatus();
}

void Player::closeEvent(QCloseEvent *e)
{
    Form_Unload();
    e->accept();
}
