// The options page: the tab strip Tab_Config with its five frames and their controls.
#include "app/options_page.h"

#include "lists/tab_strip.h"
#include "widgets/controls.h"
#include "widgets/layout_math.h"
#include "widgets/twips.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>

namespace {

QCheckBox *checkBox(QWidget *parent, const char *name, const char *caption, int top)
{
    auto *c = new QCheckBox(QString::fromUtf8(caption), parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setToolTip(c->text());
    // As wide as its caption needs (the longest ones pass the design width of 4700); the
    // frame round it clips what the pane's width leaves no room for.
    twips::place(c, 120, top, std::max(4700, twips::fromPixelsX(c->sizeHint().width())), 285);
    return c;
}

QLabel *label(QWidget *parent, const char *caption, int left, int top, int width)
{
    auto *l = new QLabel(QString::fromUtf8(caption), parent);
    twips::place(l, left, top, width, 255);
    return l;
}

QFrame *page(QWidget *parent, const char *name)
{
    auto *f = new QFrame(parent);
    f->setObjectName(QString::fromLatin1(name));
    twips::place(f, 0, 20, 4935, 6900);
    f->hide();
    return f;
}

} // namespace

QString versionCaption(int major, int minor, int revision)
{
    return QStringLiteral("バージョン：　Ver.%1.%2.%3").arg(major).arg(minor).arg(revision);
}

OptionsPage::OptionsPage(QWidget *configFrame) : QObject(configFrame), config(configFrame)
{
    Tab_Config = new TabStrip(TabStrip::Edge::Bottom, config);
    Tab_Config->setObjectName(QStringLiteral("Tab_Config"));
    twips::place(Tab_Config, -20, 20, 4975, 7380);
    Tab_Config->add(0, QStringLiteral("basic"), QStringLiteral("基本"));
    Tab_Config->setTabToolTip(1, QStringLiteral("基本設定"));
    Tab_Config->add(0, QStringLiteral("clip"), QStringLiteral("表示領域"));
    Tab_Config->add(0, QStringLiteral("key"), QStringLiteral("キー＆マウス"));
    Tab_Config->add(0, QStringLiteral("other"), QStringLiteral("関連付け"));
    Tab_Config->add(0, QStringLiteral("info"), QStringLiteral("ソフト情報"));

    Frame_basic = page(config, "Frame_basic");
    Frame_clip = page(config, "Frame_clip");
    Frame_Key = page(config, "Frame_Key");
    Frame_other = page(config, "Frame_other");
    soft_info = page(config, "soft_info");
    Frame_basic->show();

    // 基本: the home folder and the general options.
    Check_usehome = checkBox(Frame_basic, "Check_usehome", "ホームディレクトリを使用する", 60);
    text_home = new QLineEdit(Frame_basic);
    text_home->setObjectName(QStringLiteral("text_home"));
    twips::place(text_home, 360, 375, 3900, 300);
    bt_selecthome = new QPushButton(QStringLiteral("..."), Frame_basic);
    bt_selecthome->setObjectName(QStringLiteral("bt_selecthome"));
    twips::place(bt_selecthome, 4320, 375, 450, 300);
    Check_loadthum = checkBox(Frame_basic, "Check_loadthum", "サムネイルをロードしない", 780);
    // Checked at design time: the first list load then unchecks it when thumbnails are
    // wanted, and that change turns the thumbnail view on and reloads the list with them.
    Check_loadthum->setChecked(true);
    Check_imagedirchange = checkBox(Frame_basic, "Check_imagedirchange",
                                    "imageディレクトリをファイルのあるディレクトリの下に作る", 1080);
    Check_soutai = checkBox(Frame_basic, "Check_soutai", "セーブ時に相対ディレクトリを使用（.\\と..\\まで）", 1380);
    Check_SeekTop = checkBox(Frame_basic, "Check_SeekTop", "ファイルを選択したら先頭フレームを表示する", 1680);
    Check_show_popup = checkBox(Frame_basic, "Check_show_popup", "バブルアップヘルプを表示する（次回起動時から）", 1980);
    Check_auto_hide = checkBox(Frame_basic, "Check_auto_hide", "カーソルの位置から、リストの自動表示・非表示", 2280);
    Check_original = checkBox(Frame_basic, "Check_original", "再生時は常にオリジナルサイズ", 2580);
    Check_temae = checkBox(Frame_basic, "Check_temae", "常に手前に表示", 2880);
    Check_noTaskbar = checkBox(Frame_basic, "Check_noTaskbar", "最小化時にタスクバーにいれない（タスクトレイのみ）", 3180);
    check_resume = checkBox(Frame_basic, "check_resume", "再生情報の復元（リジューム再生）", 3480);
    label(Frame_basic, "（ただし、セーブ先をカレントディレクトリとする）", 360, 3765, 4500);

    // 表示領域: fitting of the picture and the clipping sliders.
    const std::pair<QRadioButton **, std::pair<const char *, const char *>> fitting[] = {
        {&check_auto_adjust, {"check_auto_adjust", "リサイズ時にウィンドウサイズを自動で最適化"}},
        {&Keep_Aspect, {"Keep_Aspect", "アスペクト比を保持して拡大"}},
        {&use_fullWindow, {"use_fullWindow", "再生画面いっぱいに表示"}},
    };
    int top = 60;
    for (const auto &[slot, text] : fitting) {
        auto *r = new QRadioButton(QString::fromUtf8(text.second), Frame_clip);
        r->setObjectName(QString::fromLatin1(text.first));
        r->setToolTip(r->text());
        twips::place(r, 120, top, 4700, 285);
        *slot = r;
        top += 300;
    }
    Keep_Aspect->setChecked(true); // the design-time choice
    label(Frame_clip, "クリッピング", 120, 1080, 2000);
    label(Frame_clip, "上", 240, 1380, 300);
    Scroll_upper = new QSlider(Qt::Horizontal, Frame_clip);
    Scroll_upper->setObjectName(QStringLiteral("Scroll_upper"));
    Scroll_upper->setRange(0, 100);
    twips::place(Scroll_upper, 600, 1380, 4000, 255);
    label(Frame_clip, "下", 240, 1680, 300);
    scroll_under = new QSlider(Qt::Horizontal, Frame_clip);
    scroll_under->setObjectName(QStringLiteral("scroll_under"));
    scroll_under->setRange(0, 100);
    twips::place(scroll_under, 600, 1680, 4000, 255);

    // キー＆マウス: the mouse mode of the video area.
    label(Frame_Key, "マウスイベント", 120, 3600, 2000);
    static const char *const tags[] = {
        "Click(なし) dblClick(最小モード)　D＆D(移動)",
        "Click(再生) dblClick(なし)　D＆D(なし)",
        "Click(なし) dblClick(再生)　D＆D(移動)",
        "Click(なし) dblClick(最大化)　D＆D(移動)",
    };
    for (int i = 0; i < 4; ++i) {
        auto *r = new QRadioButton(QStringLiteral("mode%1").arg(i + 1), Frame_Key);
        r->setObjectName(QStringLiteral("check_mode%1").arg(i));
        r->setProperty("Tag", QString::fromUtf8(tags[i]));
        twips::place(r, 240 + (i % 2) * 2300, 3900 + (i / 2) * 300, 2200, 285);
        check_mode[std::size_t(i)] = r;
    }
    check_mode[0]->setChecked(true);
    message = new QLabel(Frame_Key);
    message->setObjectName(QStringLiteral("message"));
    twips::place(message, 120, 4560, 4700, 255);

    // ソフト情報: the program and its version.
    auto *name = label(soft_info, "Plovana", 240, 240, 4200);
    QFont big = name->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    name->setFont(big);
    twips::setHeight(name, 500);
    Ver = new QLabel(soft_info);
    Ver->setObjectName(QStringLiteral("Ver"));
    twips::place(Ver, 240, 840, 4400, 300);

    original = new QAction(QStringLiteral("再生時は常にオリジナルサイズ"), this);
    original->setCheckable(true);
    connectOptions();
}

void OptionsPage::connectOptions()
{
    connect(Tab_Config, &TabStrip::clicked, this, &OptionsPage::Tab_Config_Click);
    // Any fitting option that becomes selected fits the picture anew (the one before may
    // have letterboxed it).
    for (QRadioButton *r : {Keep_Aspect, use_fullWindow})
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                Q_EMIT fittingChosen();
        });
    // The window following the video is a matter of the whole layout.
    connect(check_auto_adjust, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Q_EMIT autoAdjustChosen();
    });
    connect(Scroll_upper, &QSlider::valueChanged, this, &OptionsPage::upperClipChanged);
    connect(scroll_under, &QSlider::valueChanged, this, &OptionsPage::underClipChanged);
    connect(Check_usehome, &QCheckBox::stateChanged, this, &OptionsPage::Check_usehome_Click);
    connect(text_home, &QLineEdit::textChanged, this, [this](const QString &t) { homeDir = t; });
    connect(Check_original, &QCheckBox::stateChanged, this, &OptionsPage::Check_original_Click);
    connect(Check_temae, &QCheckBox::stateChanged, this, &OptionsPage::Check_temae_Click);
    connect(Check_loadthum, &QCheckBox::stateChanged, this, &OptionsPage::loadThumbnailsToggled);
}

void OptionsPage::Tab_Config_Click()
{
    QFrame *const frames[] = {Frame_basic, Frame_clip, Frame_Key, Frame_other, soft_info};
    const int selected = Tab_Config->selectedIndex();
    for (int i = 0; i < 5; ++i)
        frames[i]->setVisible(i + 1 == selected);
}

void OptionsPage::Check_usehome_Click()
{
    const bool on = Check_usehome->isChecked();
    text_home->setEnabled(on);
    bt_selecthome->setEnabled(on);
}

void OptionsPage::Check_original_Click()
{
    original->setChecked(Check_original->isChecked());
}

void OptionsPage::Check_temae_Click()
{
    Q_EMIT topmostToggled(Check_temae->isChecked());
}

void OptionsPage::layoutOptionsPage(int fileWidth, int tabM3uHeight)
{
    const layout::OptionsPlaces p = layout::optionsPage(fileWidth, tabM3uHeight);
    twips::place(Tab_Config, p.tabConfig.left, p.tabConfig.top, p.tabConfig.width, p.tabConfig.height);
    twips::place(config, p.config.left, p.config.top, p.config.width, p.config.height);
    const layout::Rect frame = layout::optionsFrame(twips::width(config), Tab_Config->clientHeight());
    for (QWidget *f : {static_cast<QWidget *>(Frame_basic), static_cast<QWidget *>(Frame_Key),
                       static_cast<QWidget *>(Frame_clip), static_cast<QWidget *>(Frame_other),
                       static_cast<QWidget *>(soft_info)})
        twips::place(f, frame.left, frame.top, frame.width, frame.height);
}

int OptionsPage::mouseMode() const
{
    for (int i = 0; i < 3; ++i)
        if (check_mode[std::size_t(i)]->isChecked())
            return i;
    return 3;
}

void OptionsPage::setFitMode(int mode)
{
    QRadioButton *const fitting[] = {check_auto_adjust, Keep_Aspect, use_fullWindow};
    if (mode >= 0 && mode <= 2) {
        setOptionChecked(fitting[mode], true);
    } else {
        for (QRadioButton *r : fitting)
            setOptionChecked(r, false);
    }
}

bool OptionsPage::soutai() const { return Check_soutai->isChecked(); }
bool OptionsPage::imageDirBesideFiles() const { return Check_imagedirchange->isChecked(); }
bool OptionsPage::loadThumbnailsOff() const { return Check_loadthum->isChecked(); }
void OptionsPage::setLoadThumbnailsOff(bool on) { Check_loadthum->setChecked(on); }
bool OptionsPage::originalSize() const { return original->isChecked(); }

int OptionsPage::fitMode() const
{
    return check_auto_adjust->isChecked() ? 0 : Keep_Aspect->isChecked() ? 1 : use_fullWindow->isChecked() ? 2 : -1;
}

int OptionsPage::upperClip() const { return Scroll_upper->value(); }
int OptionsPage::underClip() const { return scroll_under->value(); }

void OptionsPage::setAutoAdjust(bool on) { setOptionChecked(check_auto_adjust, on); }
bool OptionsPage::noTaskbar() const { return Check_noTaskbar->isChecked(); }
bool OptionsPage::showPopup() const { return Check_show_popup->isChecked(); }
bool OptionsPage::resume() const { return check_resume->isChecked(); }
bool OptionsPage::autoListHide() const { return Check_auto_hide->isChecked(); }

void OptionsPage::setTopmostCheck(bool on)
{
    // Only a change: the box's own handler asks the window modes for the same state.
    if (Check_temae->isChecked() != on)
        Check_temae->setChecked(on);
}

void OptionsPage::setOriginalSize(bool on)
{
    Check_original->setChecked(on);
    original->setChecked(on);
}
