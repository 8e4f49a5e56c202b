// The main window's controls, created at their design-time places (twips).
#include "app/player.h"

#include "app/images.h"
#include "lists/file_list_box.h"
#include "lists/okini_list.h"
#include "lists/tab_strip.h"
#include "platform/single_instance.h"
#include "window/twips.h"
#include "playback/cmovie.h"
#include "playback/real_control.h"
#include "window/controls.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QToolButton>

namespace {

// The lists' design colours: light blue text on black.
const QColor kListText(119, 150, 230);
const QColor kListBack(0, 0, 0);

void setListColors(QWidget *w, const QColor &text, const QColor &back)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Base, back);
    pal.setColor(QPalette::Window, back);
    pal.setColor(QPalette::Text, text);
    pal.setColor(QPalette::WindowText, text);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

} // namespace

QString versionCaption(int major, int minor, int revision)
{
    return QStringLiteral("バージョン：　Ver.%1.%2.%3").arg(major).arg(minor).arg(revision);
}

Player::Player(PlayerServices s, QWidget *parent)
    : QWidget(parent), services(std::move(s)), Image_okini(std::make_unique<ImageList>()),
      m_instanceLock(std::make_unique<platform::SingleInstanceLock>())
{
    setObjectName(QStringLiteral("player"));
    setWindowTitle(QStringLiteral("Plovana"));
    buildUi();
    connectHandlers();
}

Player::~Player()
{
    // The engines go before the controls that show their pictures.
    movie.reset();
}

void Player::buildUi()
{
    // The client area at design time; config.ini or the window manager sizes it later.
    resize(twips::toPixelsX(13500), twips::toPixelsY(8400));

    display = new PictureBox(this);
    display->setObjectName(QStringLiteral("display"));
    display->setFocusPolicy(Qt::StrongFocus);
    display->setMouseTracking(true);
    twips::place(display, 0, 0, 4995, 3240);

    logo = new QLabel(display);
    logo->setObjectName(QStringLiteral("logo"));
    logo->setPixmap(images::logo());
    logo->adjustSize();
    logo->setAttribute(Qt::WA_TransparentForMouseEvents);

    Label_Logo = new QLabel(QStringLiteral("= Plovana ="), display);
    Label_Logo->setObjectName(QStringLiteral("Label_Logo"));
    Label_Logo->setAlignment(Qt::AlignCenter);
    Label_Logo->setStyleSheet(QStringLiteral("color: rgb(119,150,230); background: transparent;"));
    twips::place(Label_Logo, 0, 0, 2400, 300);
    Label_Logo->setAttribute(Qt::WA_TransparentForMouseEvents);

    sel = new PictureBox(display);
    sel->setObjectName(QStringLiteral("sel"));
    sel->hide();

    rmovie = new RealControl(services.realBackend, this);
    rmovie->setObjectName(QStringLiteral("rmovie"));
    rmovie->setGeometry(display->geometry());
    rmovie->hide();

    kyoukai = new PictureBox(this);
    kyoukai->setObjectName(QStringLiteral("kyoukai"));
    kyoukai->setBackColor(palette().color(QPalette::Mid));
    kyoukai->setCursor(Qt::SizeHorCursor);
    twips::place(kyoukai, 4920, -120, 80, 6615);

    control = new QFrame(this);
    control->setObjectName(QStringLiteral("control"));
    twips::place(control, 0, 3720, 5415, 555);

    vol = new VolumeBar(control);
    vol->setObjectName(QStringLiteral("vol"));
    twips::place(vol, 0, 0, 1095, 200);

    SeekBar = new SeekSlider(control);
    SeekBar->setObjectName(QStringLiteral("SeekBar"));
    twips::place(SeekBar, 1000, -60, 3135, 375);

    time = new CaptionFrame(control);
    time->setObjectName(QStringLiteral("time"));
    twips::place(time, 4080, 20, 975, 180);
    QFont small = font();
    small.setPixelSize(10);
    lblMedia[4] = new CaptionLabel(QStringLiteral(" 00:00 "), time);
    lblMedia[4]->setObjectName(QStringLiteral("lblMedia4"));
    lblMedia[4]->setFont(small);
    lblMedia[4]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    twips::place(lblMedia[4], 0, 0, 525, 180);
    lblMedia[3] = new CaptionLabel(QStringLiteral("00:00"), time);
    lblMedia[3]->setObjectName(QStringLiteral("lblMedia3"));
    lblMedia[3]->setFont(small);
    twips::place(lblMedia[3], 525, 0, 450, 180);

    right_panel = new QFrame(control);
    right_panel->setObjectName(QStringLiteral("right_panel"));
    twips::place(right_panel, 4680, 240, 300, 260);
    ImageLeft = images::listToggleLeft();
    ImageRight = images::listToggleRight();
    BtList = new PictureBox(right_panel);
    BtList->setObjectName(QStringLiteral("BtList"));
    BtList->setBackColor(palette().color(QPalette::Window));
    BtList->setCursor(Qt::PointingHandCursor);
    twips::place(BtList, 0, 0, 300, 260);

    buildToolbar();

    // The full-screen control strip holds copies of the seek bar, the time and the volume.
    auto *strip = new QFrame(this);
    strip->setObjectName(QStringLiteral("fullscreen_control"));
    strip->hide();
    SeekBarForFullscreen = new QProgressBar(strip);
    SeekBarForFullscreen->setObjectName(QStringLiteral("SeekBarForFullscreen"));
    SeekBarForFullscreen->setTextVisible(false);
    SeekBarForFullscreen->setRange(0, 10);
    SeekBarForFullscreen->setValue(0);
    time_forFullscreen = new CaptionLabel(QStringLiteral(" 00:00 "), strip);
    time_forFullscreen->setObjectName(QStringLiteral("time_forFullscreen"));
    volForFullscreen = new VolumeBar(strip);
    volForFullscreen->setObjectName(QStringLiteral("volForFullscreen"));

    buildListPane();
    buildOptions();
    buildMenus();

    tmrPosition = new Timer(this);
    tmrPosition->setInterval(1000);
    tmrPosition->Tag = QStringLiteral("0");
    tmr_okini = new Timer(this);
    tmr_okini->setInterval(50);
    Timer_adjust_volume = new Timer(this);
    Timer_adjust_volume->setInterval(500);
    Timer_addIcon = new Timer(this);
    Timer_addIcon->setInterval(100);
}

void Player::buildToolbar()
{
    panel = new QToolBar(control);
    panel->setObjectName(QStringLiteral("panel"));
    panel->setIconSize(QSize(16, 16));
    panel->setToolButtonStyle(Qt::ToolButtonIconOnly);
    twips::place(panel, 0, 225, 4600, 330);
    const std::pair<const char *, const char *> buttons[] = {
        {"play", "再生・一時停止"},
        {"stop", ""},
        {"pre", "前の動画"},
        {"next", "次の動画"},
        {"size", "サイズ変更"},
        {"speed", "再生ｽﾋﾟｰﾄﾞ"},
        {"mode", "再生モード"},
        {"temae", "表示設定"},
        {"capture", "サムネイル画像のキャプチャー（失敗しやすいようです・・・最初と最後のフレーム付近の成功率が高いようです)"},
        {"fullscreen", "フルスクリーン表示"},
    };
    for (const auto &[key, tip] : buttons) {
        const QString k = QString::fromUtf8(key);
        const QString imageKey = k == u"speed" ? QStringLiteral("bai10")
                                 : k == u"mode" ? QStringLiteral("rennzoku")
                                 : k == u"capture" ? QStringLiteral("capture_mask")
                                                   : k;
        QAction *a = panel->addAction(images::buttonImage(imageKey), QString());
        a->setObjectName(k);
        a->setToolTip(QString::fromUtf8(tip));
        panelButtons[k] = a;
        connect(a, &QAction::triggered, this, [this, k] { panel_ButtonClick(k); });
    }
}

void Player::buildListPane()
{
    list = new QFrame(this);
    list->setObjectName(QStringLiteral("list"));
    twips::place(list, 5160, 0, 6255, 9975);

    Tab1 = new TabStrip(TabStrip::Edge::Right, list);
    Tab1->setObjectName(QStringLiteral("Tab1"));
    twips::place(Tab1, 0, 0, 5055, 7455);
    Tab1->add(0, QStringLiteral("file"), QStringLiteral("ファイル"));
    Tab1->add(0, QStringLiteral("okini"), QStringLiteral("お気に入り"));
    Tab1->add(0, QStringLiteral("find"), QStringLiteral("検索"));
    Tab1->add(0, QStringLiteral("config"), QStringLiteral("設定"));

    find = new QFrame(list);
    find->setObjectName(QStringLiteral("find"));
    twips::place(find, 40, 3240, 3975, 540);
    find->hide();

    config = new QFrame(list);
    config->setObjectName(QStringLiteral("config"));
    twips::place(config, 20, 20, 4935, 7400);
    config->hide();

    // The lists are children of the window itself, laid over the pane.
    TabDir = new TabStrip(TabStrip::Edge::Bottom, this);
    TabDir->setObjectName(QStringLiteral("TabDir"));
    twips::place(TabDir, 5280, 2280, 2655, 375);
    TabDir->add(0, QString(), QStringLiteral("current"));

    TabM3u = new TabStrip(TabStrip::Edge::Bottom, this);
    TabM3u->setObjectName(QStringLiteral("TabM3u"));
    twips::place(TabM3u, 5160, 0, 4935, 7400);
    TabM3u->add(0, QString(), QStringLiteral("お気に入り"));
    TabM3u->hide();

    File = new FileListBox(this);
    File->setObjectName(QStringLiteral("File"));
    File->setPattern(QStringLiteral("*.mpg;*.avi;*.mpeg;*.asf;*.wmv;*.mov;*.rm;*.ram;*.ra;*.dat"));
    setListColors(File, kListText, kListBack);
    twips::place(File, 5160, 0, 4935, 7000);
    if (!services.workingDir.isEmpty())
        File->setPath(services.workingDir);

    List_okini = new OkiniList(this);
    List_okini->setObjectName(QStringLiteral("List_okini"));
    List_okini->setColors(kListText, kListBack);
    List_okini->setIconSize(QSize(thumbWidth, thumbHeight));
    twips::place(List_okini, 5160, 0, 4935, 7000);
    List_okini->hide();

    List_Find = new QListWidget(this);
    List_Find->setObjectName(QStringLiteral("List_Find"));
    setListColors(List_Find, kListText, kListBack);
    List_Find->hide();

    NoImage = images::noImage();
    Pic_loading = images::loadingPicture();
    AddMeter = new QProgressBar(this);
    AddMeter->setObjectName(QStringLiteral("AddMeter"));
    AddMeter->hide();
    bt_msg_add = new QPushButton(this);
    bt_msg_add->setObjectName(QStringLiteral("bt_msg_add"));
    bt_msg_add->hide();

    Frame_dummy = new QFrame(this);
    Frame_dummy->setObjectName(QStringLiteral("Frame_dummy"));
    setListColors(Frame_dummy, kListText, kListBack);

}

void Player::buildMenus()
{
    menu = new QMenu(QStringLiteral("メニュー"), this);
    menu->setObjectName(QStringLiteral("menu"));
    m_addOkiniForMenu = menu->addAction(QStringLiteral("お気に入りに追加"));
    m_addOkiniForMenu->setEnabled(false);

    m = menu->addMenu(QStringLiteral("再生メニュー"));
    play = m->addAction(QStringLiteral("再生・一次停止(enter)"));
    stop = m->addAction(QStringLiteral("停止"));
    pre = m->addAction(QStringLiteral("前の動画"));
    next = m->addAction(QStringLiteral("次の動画"));
    mTopSeek = m->addAction(QStringLiteral("動画の先頭へシーク(F6)"));
    mTopSeek->setEnabled(false);

    m_size = menu->addMenu(QStringLiteral("再生サイズ"));
    original = m_size->addAction(QStringLiteral("再生時は常にオリジナルサイズ"));
    original->setCheckable(true);
    const char *sizes[] = {"フルスクリーン(Alt+Enter)", "２００％", "１５０％", "１００％(Home)", "７５％", "５０％"};
    for (std::size_t i = 0; i < size.size(); ++i) {
        size[i] = m_size->addAction(QString::fromUtf8(sizes[i]));
        size[i]->setEnabled(false);
    }

    m_speed = menu->addMenu(QStringLiteral("再生スピード"));
    const char *speeds[] = {"２．０倍", "１．５倍", "等倍速", "０．５倍"};
    for (std::size_t i = 0; i < bai.size(); ++i) {
        bai[i] = m_speed->addAction(QString::fromUtf8(speeds[i]));
        bai[i]->setCheckable(true);
    }

    m_mode = menu->addMenu(QStringLiteral("再生モード"));
    const char *modes[] = {"通常", "連続", "ループ", "ランダム"};
    for (std::size_t i = 0; i < mode.size(); ++i) {
        mode[i] = m_mode->addAction(QString::fromUtf8(modes[i]));
        mode[i]->setCheckable(true);
    }

    menu->addSeparator();
    m_seen_load = menu->addMenu(QStringLiteral("シーン移動(テンキー)"));
    m_edit_seen = menu->addMenu(QStringLiteral("シーン編集"));
    for (const char *t : {"シーン登録(ctr+テンキー)", "シーン名変更", "シーン削除"})
        m_edit_seen->addAction(QString::fromUtf8(t))->setEnabled(false);
    menu->addSeparator();
    m_window = menu->addMenu(QStringLiteral("ウィンドウ操作"));
    m_temae = m_window->addAction(QStringLiteral("常に手前表示(Ctrl+T)"));
    m_temae->setCheckable(true);
    m_saiteki = m_window->addAction(QStringLiteral("ｳｨﾝﾄﾞｳｻｲｽﾞ最適化(F8)"));
    m_saiteki->setEnabled(false);
    m_small = m_window->addAction(QStringLiteral("最小表示(Ctrl+M)"));
    m_small->setEnabled(false);
    menu->addSeparator();
    help = menu->addAction(QStringLiteral("ヘルプ(F1)"));
    help->setEnabled(false);
    m_exit = menu->addAction(QStringLiteral("終了(Ctrl+W)"));

    // The favourites popup; the item commands join it with the item menus.
    m_item = new QMenu(this);
    m_item->setObjectName(QStringLiteral("m_item"));
    m_open_m3u = m_item->addAction(QStringLiteral("新規タブ追加"));
    m_save_m3u = m_item->addAction(QStringLiteral("m3uファイルを保存"));
    m_chage_list = m_item->addAction(QStringLiteral("サムネイル／リスト切り替え"));
    m_custom_list = m_item->addAction(QStringLiteral("リストの編集"));
    m_custom_list->setEnabled(false);

    // The file popup; the item commands join it with the item menus.
    m_FileMenu = new QMenu(this);
    m_FileMenu->setObjectName(QStringLiteral("m_FileMenu"));
    m_OpenDirectory = m_FileMenu->addAction(QStringLiteral("currentディレクトリの変更(F4)"));

    m_tab = new QMenu(this);
    m_tab->setObjectName(QStringLiteral("m_tab"));
    m_add_tab = m_tab->addAction(QStringLiteral("新規タブ追加"));
    m_del_tab = m_tab->addAction(QStringLiteral("選択しているタブ削除"));
    m_change_name = m_tab->addAction(QStringLiteral("選択しているタブ名変更"));
    m_change_dir = m_tab->addAction(QStringLiteral("選択しているタブのディレクトリ変更"));
    m_custom_dir = m_tab->addAction(QStringLiteral("タブ位置の編集"));
    m_custom_dir->setEnabled(false); // the list editor comes later

    m_tab_okini = new QMenu(this);
    m_tab_okini->setObjectName(QStringLiteral("m_tab_okini"));
    m_add_tab_okini = m_tab_okini->addAction(QStringLiteral("新規タブ追加"));
    m_del_tab_okini = m_tab_okini->addAction(QStringLiteral("選択しているタブ削除"));
    m_change_name_okini = m_tab_okini->addAction(QStringLiteral("選択しているタブ名変更"));
    m_change_m3u = m_tab_okini->addAction(QStringLiteral("選択しているタブのM3uファイル変更"));
    m_tab_custom = m_tab_okini->addAction(QStringLiteral("タブ位置の編集"));
    m_tab_custom->setEnabled(false);
}

void Player::connectHandlers()
{
    connect(display, &PictureBox::mouseDown, this, &Player::display_MouseDown);
    connect(display, &PictureBox::resized, this, &Player::display_Resize);
    connect(rmovie, &RealControl::gotFocus, this, [this] { display->setFocus(); });
    connect(rmovie, &RealControl::stateChange, this, [this](int s) {
        if (s == 3)
            fitVideo();
    });
    connect(lblMedia[3], &CaptionLabel::changed, this, [this] { lblMedia_Change(3); });
    connect(lblMedia[4], &CaptionLabel::changed, this, [this] { lblMedia_Change(4); });

    connect(play, &QAction::triggered, this, &Player::play_Click);
    connect(stop, &QAction::triggered, this, &Player::stop_Click);
    connect(pre, &QAction::triggered, this, &Player::playPrevious);
    connect(next, &QAction::triggered, this, &Player::playNext);
    connect(m_exit, &QAction::triggered, this, &Player::m_exit_Click);
    for (int i = 0; i < 4; ++i) {
        connect(mode[std::size_t(i)], &QAction::triggered, this, [this, i] { mode_Click(i); });
        connect(bai[std::size_t(i)], &QAction::triggered, this, [this, i] { bai_Click(i); });
    }

    connect(tmrPosition, &QTimer::timeout, this, &Player::tmrPosition_Timer);
    connect(Timer_adjust_volume, &QTimer::timeout, this, &Player::Timer_adjust_volume_Timer);
    connect(Tab1, &TabStrip::clicked, this, &Player::Tab1_Click);
    connect(BtList, &PictureBox::mouseUp, this, [this](Qt::MouseButton b) {
        if (b == Qt::LeftButton)
            BtList_Click();
    });
    connect(BtList, &PictureBox::dblClick, this, &Player::BtList_Click);
    connectOptions();
    connectLists();
}

void Player::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    Form_Resize();
}

void Player::closeEvent(QCloseEvent *e)
{
    Form_Unload();
    e->accept();
}
