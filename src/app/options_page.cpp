// The options page: the tab strip Tab_Config with its five frames and their controls.
#include "app/options_page.h"

#include "lists/tab_strip.h"
#include "widgets/commands.h"
#include "widgets/config_values.h"
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

OptionsPage::OptionsPage(QWidget *configFrame, Commands &commands)
    : QObject(configFrame), m_commands(commands), m_config(configFrame)
{
    m_Tab_Config = new TabStrip(TabStrip::Edge::Bottom, m_config);
    m_Tab_Config->setObjectName(QStringLiteral("Tab_Config"));
    twips::place(m_Tab_Config, -20, 20, 4975, 7380);
    m_Tab_Config->add(0, QStringLiteral("basic"), QStringLiteral("基本"));
    m_Tab_Config->setTabToolTip(1, QStringLiteral("基本設定"));
    m_Tab_Config->add(0, QStringLiteral("clip"), QStringLiteral("表示領域"));
    m_Tab_Config->add(0, QStringLiteral("key"), QStringLiteral("キー＆マウス"));
    m_Tab_Config->add(0, QStringLiteral("other"), QStringLiteral("関連付け"));
    m_Tab_Config->add(0, QStringLiteral("info"), QStringLiteral("ソフト情報"));

    m_Frame_basic = page(m_config, "Frame_basic");
    m_Frame_clip = page(m_config, "Frame_clip");
    m_Frame_Key = page(m_config, "Frame_Key");
    m_Frame_other = page(m_config, "Frame_other");
    m_soft_info = page(m_config, "soft_info");
    m_Frame_basic->show();

    // 基本: the home folder and the general options.
    m_Check_usehome = checkBox(m_Frame_basic, "Check_usehome", "ホームディレクトリを使用する", 60);
    m_text_home = new QLineEdit(m_Frame_basic);
    m_text_home->setObjectName(QStringLiteral("text_home"));
    twips::place(m_text_home, 360, 375, 3900, 300);
    m_bt_selecthome = new QPushButton(QStringLiteral("..."), m_Frame_basic);
    m_bt_selecthome->setObjectName(QStringLiteral("bt_selecthome"));
    twips::place(m_bt_selecthome, 4320, 375, 450, 300);
    m_Check_loadthum = checkBox(m_Frame_basic, "Check_loadthum", "サムネイルをロードしない", 780);
    // Checked at design time: the first list load then unchecks it when thumbnails are
    // wanted, and that change turns the thumbnail view on and reloads the list with them.
    m_Check_loadthum->setChecked(true);
    m_Check_imagedirchange = checkBox(m_Frame_basic, "Check_imagedirchange",
                                    "imageディレクトリをファイルのあるディレクトリの下に作る", 1080);
    m_Check_soutai = checkBox(m_Frame_basic, "Check_soutai", "セーブ時に相対ディレクトリを使用（.\\と..\\まで）", 1380);
    m_Check_SeekTop = checkBox(m_Frame_basic, "Check_SeekTop", "ファイルを選択したら先頭フレームを表示する", 1680);
    m_Check_show_popup = checkBox(m_Frame_basic, "Check_show_popup", "バブルアップヘルプを表示する（次回起動時から）", 1980);
    m_Check_auto_hide = checkBox(m_Frame_basic, "Check_auto_hide", "カーソルの位置から、リストの自動表示・非表示", 2280);
    m_Check_original = checkBox(m_Frame_basic, "Check_original", "再生時は常にオリジナルサイズ", 2580);
    m_Check_temae = checkBox(m_Frame_basic, "Check_temae", "常に手前に表示", 2880);
    m_Check_noTaskbar = checkBox(m_Frame_basic, "Check_noTaskbar", "最小化時にタスクバーにいれない（タスクトレイのみ）", 3180);
    m_check_resume = checkBox(m_Frame_basic, "check_resume", "再生情報の復元（リジューム再生）", 3480);
    label(m_Frame_basic, "（ただし、セーブ先をカレントディレクトリとする）", 360, 3765, 4500);

    // 表示領域: fitting of the picture and the clipping sliders.
    const std::pair<QRadioButton **, std::pair<const char *, const char *>> fitting[] = {
        {&m_check_auto_adjust, {"check_auto_adjust", "リサイズ時にウィンドウサイズを自動で最適化"}},
        {&m_Keep_Aspect, {"Keep_Aspect", "アスペクト比を保持して拡大"}},
        {&m_use_fullWindow, {"use_fullWindow", "再生画面いっぱいに表示"}},
    };
    int top = 60;
    for (const auto &[slot, text] : fitting) {
        auto *r = new QRadioButton(QString::fromUtf8(text.second), m_Frame_clip);
        r->setObjectName(QString::fromLatin1(text.first));
        r->setToolTip(r->text());
        twips::place(r, 120, top, 4700, 285);
        *slot = r;
        top += 300;
    }
    m_Keep_Aspect->setChecked(true); // the design-time choice
    label(m_Frame_clip, "クリッピング", 120, 1080, 2000);
    label(m_Frame_clip, "上", 240, 1380, 300);
    m_Scroll_upper = new QSlider(Qt::Horizontal, m_Frame_clip);
    m_Scroll_upper->setObjectName(QStringLiteral("Scroll_upper"));
    m_Scroll_upper->setRange(0, 100);
    twips::place(m_Scroll_upper, 600, 1380, 4000, 255);
    label(m_Frame_clip, "下", 240, 1680, 300);
    m_scroll_under = new QSlider(Qt::Horizontal, m_Frame_clip);
    m_scroll_under->setObjectName(QStringLiteral("scroll_under"));
    m_scroll_under->setRange(0, 100);
    twips::place(m_scroll_under, 600, 1680, 4000, 255);

    // キー＆マウス: the mouse mode of the video area.
    label(m_Frame_Key, "マウスイベント", 120, 3600, 2000);
    static const char *const tags[] = {
        "Click(なし) dblClick(最小モード)　D＆D(移動)",
        "Click(再生) dblClick(なし)　D＆D(なし)",
        "Click(なし) dblClick(再生)　D＆D(移動)",
        "Click(なし) dblClick(最大化)　D＆D(移動)",
    };
    for (int i = 0; i < 4; ++i) {
        auto *r = new QRadioButton(QStringLiteral("mode%1").arg(i + 1), m_Frame_Key);
        r->setObjectName(QStringLiteral("check_mode%1").arg(i));
        r->setProperty("Tag", QString::fromUtf8(tags[i]));
        twips::place(r, 240 + (i % 2) * 2300, 3900 + (i / 2) * 300, 2200, 285);
        m_check_mode[std::size_t(i)] = r;
    }
    m_check_mode[0]->setChecked(true);
    m_message = new QLabel(m_Frame_Key);
    m_message->setObjectName(QStringLiteral("message"));
    twips::place(m_message, 120, 4560, 4700, 255);

    // ソフト情報: the program and its version.
    auto *name = label(m_soft_info, "Plovana", 240, 240, 4200);
    QFont big = name->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    name->setFont(big);
    twips::setHeight(name, 500);
    m_Ver = new QLabel(m_soft_info);
    m_Ver->setObjectName(QStringLiteral("Ver"));
    twips::place(m_Ver, 240, 840, 4400, 300);

    connectOptions();
}

void OptionsPage::connectOptions()
{
    connect(m_Tab_Config, &TabStrip::clicked, this, &OptionsPage::Tab_Config_Click);
    // Any fitting option that becomes selected fits the picture anew (the one before may
    // have letterboxed it).
    for (QRadioButton *r : {m_Keep_Aspect, m_use_fullWindow})
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                Q_EMIT fittingChosen();
        });
    // The window following the video is a matter of the whole layout.
    connect(m_check_auto_adjust, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Q_EMIT autoAdjustChosen();
    });
    connect(m_Scroll_upper, &QSlider::valueChanged, this, &OptionsPage::upperClipChanged);
    connect(m_scroll_under, &QSlider::valueChanged, this, &OptionsPage::underClipChanged);
    connect(m_Check_usehome, &QCheckBox::stateChanged, this, &OptionsPage::Check_usehome_Click);
    connect(m_text_home, &QLineEdit::textChanged, this, [this](const QString &t) { m_homeDir = t; });
    connect(m_Check_original, &QCheckBox::stateChanged, this, &OptionsPage::Check_original_Click);
    connect(m_Check_temae, &QCheckBox::stateChanged, this, &OptionsPage::Check_temae_Click);
    connect(m_Check_loadthum, &QCheckBox::stateChanged, this, &OptionsPage::loadThumbnailsToggled);
}

void OptionsPage::showHomeDir()
{
    m_text_home->setText(m_homeDir);
}

void OptionsPage::Tab_Config_Click()
{
    QFrame *const frames[] = {m_Frame_basic, m_Frame_clip, m_Frame_Key, m_Frame_other, m_soft_info};
    const int selected = m_Tab_Config->selectedIndex();
    for (int i = 0; i < 5; ++i)
        frames[i]->setVisible(i + 1 == selected);
}

void OptionsPage::Check_usehome_Click()
{
    const bool on = m_Check_usehome->isChecked();
    m_text_home->setEnabled(on);
    m_bt_selecthome->setEnabled(on);
}

void OptionsPage::Check_original_Click()
{
    // The size menu's item shows this option.
    m_commands.refresh();
}

void OptionsPage::Check_temae_Click()
{
    Q_EMIT topmostToggled(m_Check_temae->isChecked());
}

void OptionsPage::layoutOptionsPage(int fileWidth, int tabM3uHeight)
{
    const layout::OptionsPlaces p = layout::optionsPage(fileWidth, tabM3uHeight);
    twips::place(m_Tab_Config, p.tabConfig.left, p.tabConfig.top, p.tabConfig.width, p.tabConfig.height);
    twips::place(m_config, p.config.left, p.config.top, p.config.width, p.config.height);
    const layout::Rect frame = layout::optionsFrame(twips::width(m_config), m_Tab_Config->clientHeight());
    for (QWidget *f : {static_cast<QWidget *>(m_Frame_basic), static_cast<QWidget *>(m_Frame_Key),
                       static_cast<QWidget *>(m_Frame_clip), static_cast<QWidget *>(m_Frame_other),
                       static_cast<QWidget *>(m_soft_info)})
        twips::place(f, frame.left, frame.top, frame.width, frame.height);
}

int OptionsPage::mouseMode() const
{
    for (int i = 0; i < 3; ++i)
        if (m_check_mode[std::size_t(i)]->isChecked())
            return i;
    return 3;
}

void OptionsPage::setFitMode(int mode)
{
    QRadioButton *const fitting[] = {m_check_auto_adjust, m_Keep_Aspect, m_use_fullWindow};
    if (mode >= 0 && mode <= 2) {
        setOptionChecked(fitting[mode], true);
    } else {
        for (QRadioButton *r : fitting)
            setOptionChecked(r, false);
    }
}

bool OptionsPage::soutai() const { return m_Check_soutai->isChecked(); }
bool OptionsPage::imageDirBesideFiles() const { return m_Check_imagedirchange->isChecked(); }
bool OptionsPage::loadThumbnailsOff() const { return m_Check_loadthum->isChecked(); }
void OptionsPage::setLoadThumbnailsOff(bool on) { m_Check_loadthum->setChecked(on); }
bool OptionsPage::originalSize() const { return m_Check_original->isChecked(); }

int OptionsPage::fitMode() const
{
    return m_check_auto_adjust->isChecked() ? 0 : m_Keep_Aspect->isChecked() ? 1 : m_use_fullWindow->isChecked() ? 2 : -1;
}

int OptionsPage::upperClip() const { return m_Scroll_upper->value(); }
int OptionsPage::underClip() const { return m_scroll_under->value(); }

void OptionsPage::setAutoAdjust(bool on) { setOptionChecked(m_check_auto_adjust, on); }
bool OptionsPage::noTaskbar() const { return m_Check_noTaskbar->isChecked(); }
bool OptionsPage::showPopup() const { return m_Check_show_popup->isChecked(); }
bool OptionsPage::resume() const { return m_check_resume->isChecked(); }
bool OptionsPage::autoListHide() const { return m_Check_auto_hide->isChecked(); }

void OptionsPage::setTopmostCheck(bool on)
{
    // Only a change: the box's own handler asks the window modes for the same state.
    if (m_Check_temae->isChecked() != on)
        m_Check_temae->setChecked(on);
}

void OptionsPage::setOriginalSize(bool on)
{
    m_Check_original->setChecked(on);
}

namespace {

// A check box takes 0 or 1; anything else is refused and the box keeps its value.
void setCheckValue(QCheckBox *c, int v)
{
    if (v == 0 || v == 1)
        c->setChecked(v == 1);
}

int checkValue(const QCheckBox *c) { return c->isChecked() ? 1 : 0; }

// A slider refuses a value outside its range.
void setSliderValue(QSlider *s, int v)
{
    if (v >= s->minimum() && v <= s->maximum())
        s->setValue(v);
}

} // namespace

void OptionsPage::restoreConfig(const ConfigValues &c)
{
    m_homeDir = c.homeDir;
    setCheckValue(m_Check_usehome, c.use_homedir);
    // From here a value that a control refuses is skipped and loading goes on.
    setCheckValue(m_check_resume, c.Resume);
    setFitMode(c.AutoAdjust);
    if (c.mouse_mode >= 0 && c.mouse_mode <= 3)
        setOptionChecked(m_check_mode[std::size_t(c.mouse_mode)], true);
    setCheckValue(m_Check_noTaskbar, c.NoTaskBar);
    setCheckValue(m_Check_auto_hide, c.AutoListHide);
    setCheckValue(m_Check_show_popup, c.HidePopup);
    setCheckValue(m_Check_SeekTop, c.SeekTop);
    setCheckValue(m_Check_imagedirchange, c.image_path_root);
    setCheckValue(m_Check_soutai, c.soutai);
    m_Check_original->setChecked(c.OriginalSize != 0);
    setSliderValue(m_Scroll_upper, c.upper_clip);
    setSliderValue(m_scroll_under, c.under_clip);
    Check_usehome_Click();
}

void OptionsPage::saveConfig(ConfigValues &c) const
{
    c.homeDir = m_homeDir;
    c.Resume = checkValue(m_check_resume);
    c.AutoAdjust = fitMode() < 0 ? 2 : fitMode();
    c.NoTaskBar = checkValue(m_Check_noTaskbar);
    c.AutoListHide = checkValue(m_Check_auto_hide);
    c.HidePopup = checkValue(m_Check_show_popup);
    c.SeekTop = checkValue(m_Check_SeekTop);
    c.OriginalSize = originalSize() ? 1 : 0;
    c.upper_clip = m_Scroll_upper->value();
    c.under_clip = m_scroll_under->value();
    c.image_path_root = checkValue(m_Check_imagedirchange);
    c.soutai = checkValue(m_Check_soutai);
    c.use_homedir = checkValue(m_Check_usehome);
    c.mouse_mode = mouseMode();
}
