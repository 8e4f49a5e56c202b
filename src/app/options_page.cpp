// The options page: the tab strip Tab_Config with its five frames and their controls.
#include "app/options_page.h"

#include "lists/tab_strip.h"
#include "window/controls.h"
#include "window/layout_math.h"
#include "window/twips.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>
#include <type_traits>
#include <vector>

namespace {

// A check box or option button whose caption wraps onto further lines where the box is too
// narrow for it on one; the indicator stays beside the caption's middle.
template <typename Button>
class WrappingButton final : public Button
{
public:
    WrappingButton(const QString &caption, QWidget *parent) : Button(caption, parent) {}

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return sizeFor(width).height(); }
    // As narrow as the caption's longest piece that cannot be broken.
    QSize minimumSizeHint() const override { return sizeFor(0); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter painter(this);
        QStyleOptionButton opt;
        this->initStyleOption(&opt);
        const QString caption = opt.text;
        const QRect textRect = this->style()->subElementRect(kContents, &opt, this);
        opt.text.clear();
        painter.drawControl(kControl, opt); // the indicator
        int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
        if (!this->style()->styleHint(QStyle::SH_UnderlineShortcut, &opt, this))
            flags |= Qt::TextHideMnemonic;
        painter.drawItemText(textRect, flags, opt.palette, this->isEnabled(), caption, QPalette::WindowText);
    }
    // A click anywhere on the box, not only on the caption's middle line, toggles it.
    bool hitButton(const QPoint &pos) const override { return this->rect().contains(pos); }

private:
    static constexpr bool kRadio = std::is_same_v<Button, QRadioButton>;
    static constexpr QStyle::ControlElement kControl = kRadio ? QStyle::CE_RadioButton : QStyle::CE_CheckBox;
    static constexpr QStyle::SubElement kContents = kRadio ? QStyle::SE_RadioButtonContents
                                                           : QStyle::SE_CheckBoxContents;
    static constexpr QStyle::ContentsType kSize = kRadio ? QStyle::CT_RadioButton : QStyle::CT_CheckBox;

    // The box's size at a width, with the caption wrapped to the room the indicator leaves
    // it (as the painting does).
    QSize sizeFor(int width) const
    {
        QStyleOptionButton opt;
        this->initStyleOption(&opt);
        opt.rect = QRect(0, 0, width, this->height());
        const int room = this->style()->subElementRect(kContents, &opt, this).width();
        const QSize text = this->fontMetrics()
                               .boundingRect(QRect(0, 0, std::max(1, room), QWIDGETSIZE_MAX),
                                             Qt::TextWordWrap | Qt::TextShowMnemonic, opt.text)
                               .size();
        return this->style()->sizeFromContents(kSize, &opt, text, this);
    }
};

// The controls of one frame of the page. While the frame is wide enough they stand at their
// design places. In a narrower frame the captions (check boxes, option buttons, labels) wrap
// onto further lines and what lies below them moves down by the lines they gained; text
// boxes and sliders give up width, and what stands right of them in their row moves left.
// The scroll area round it scrolls over what still does not fit.
class OptionFrame final : public QWidget
{
public:
    OptionFrame()
    {
        QSizePolicy policy = sizePolicy();
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }

    // Takes a control already placed at its design rectangle.
    template <typename W>
    W *add(W *w)
    {
        m_items.push_back({w, w->geometry()});
        return w;
    }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return flow(width, false).height(); }
    QSize sizeHint() const override { return flow(QWIDGETSIZE_MAX, false); }
    QSize minimumSizeHint() const override { return {flow(0, false).width(), 0}; }

protected:
    void resizeEvent(QResizeEvent *) override { flow(width(), true); }

private:
    struct Item
    {
        QWidget *widget;
        QRect design;
    };
    std::vector<Item> m_items;

    static bool narrows(const QWidget *w)
    {
        return qobject_cast<const QCheckBox *>(w) || qobject_cast<const QRadioButton *>(w)
               || qobject_cast<const QLabel *>(w) || qobject_cast<const QLineEdit *>(w)
               || qobject_cast<const QSlider *>(w);
    }

    // Places the controls for a frame `width` pixels wide (only measures unless `apply`);
    // the room they need.
    QSize flow(int width, bool apply) const
    {
        // The margin at the right matches the one at the left of the frame's controls.
        const int margin = twips::toPixelsX(120);
        const int right = width - margin;
        const int gap = twips::toPixelsY(15); // between the lines of a row that did not fit on one
        int pushed = 0;                       // how far the rows so far have moved down
        QSize needed;
        for (std::size_t first = 0; first < m_items.size();) {
            // One row: the controls with the same design top, left to right.
            const int top = m_items[first].design.top();
            std::size_t end = first;
            int rowRight = 0, rowHeight = 0;
            for (; end < m_items.size() && m_items[end].design.top() == top; ++end) {
                rowRight = std::max(rowRight, m_items[end].design.right());
                rowHeight = std::max(rowHeight, m_items[end].design.height());
            }
            int lineTop = top + pushed, rowBottom = lineTop, given = 0;
            for (std::size_t i = first; i < end; ++i) {
                const Item &item = m_items[i];
                const bool narrowing = narrows(item.widget);
                const int minimum = narrowing ? item.widget->minimumSizeHint().width() : item.design.width();
                QRect r = item.design.translated(-given, 0);
                if (i > first && r.left() + minimum > right) {
                    // No room beside the controls before it: a line of its own below them.
                    lineTop = rowBottom + gap;
                    given = item.design.left() - m_items[first].design.left();
                    r = item.design.translated(-given, 0);
                }
                r.moveTop(lineTop);
                if (narrowing) {
                    // Up to the right margin, less what the controls right of it in the row take.
                    const int room = right - (rowRight - item.design.right()) - r.left();
                    const int w = std::max(minimum, std::min(item.design.width(), room));
                    given += item.design.width() - w;
                    r.setWidth(w);
                    if (item.widget->hasHeightForWidth())
                        r.setHeight(std::max(item.design.height(), item.widget->heightForWidth(w)));
                }
                rowBottom = std::max(rowBottom, r.bottom() + 1);
                if (apply)
                    item.widget->setGeometry(r);
                needed = needed.expandedTo(QSize(r.right() + 1 + margin, r.bottom() + 1));
            }
            pushed = rowBottom - top - rowHeight;
            first = end;
        }
        return needed;
    }
};

OptionFrame *contents(QFrame *page)
{
    return static_cast<OptionFrame *>(static_cast<QScrollArea *>(page)->widget());
}

QCheckBox *checkBox(OptionFrame *parent, const char *name, const char *caption, int top)
{
    auto *c = new WrappingButton<QCheckBox>(QString::fromUtf8(caption), parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setToolTip(c->text());
    // As wide as its caption needs on one line (the longest ones pass the design width of
    // 4700); a narrower frame wraps it.
    twips::place(c, 120, top, std::max(4700, twips::fromPixelsX(c->sizeHint().width())), 285);
    return parent->add(c);
}

QLabel *label(OptionFrame *parent, const char *caption, int left, int top, int width, int height = 255)
{
    auto *l = new QLabel(QString::fromUtf8(caption), parent);
    l->setWordWrap(true);
    twips::place(l, left, top, width, height);
    return parent->add(l);
}

// A frame of the page: a scroll area round the frame's controls.
QFrame *page(QWidget *parent, const char *name)
{
    auto *f = new QScrollArea(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->setFrameShape(QFrame::NoFrame);
    f->setFocusPolicy(Qt::NoFocus);
    f->setWidgetResizable(true);
    f->setWidget(new OptionFrame);
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
    OptionFrame *const basic = contents(Frame_basic);
    Check_usehome = checkBox(basic, "Check_usehome", "ホームディレクトリを使用する", 60);
    text_home = new QLineEdit(basic);
    text_home->setObjectName(QStringLiteral("text_home"));
    twips::place(text_home, 360, 375, 3900, 300);
    basic->add(text_home);
    bt_selecthome = new QPushButton(QStringLiteral("..."), basic);
    bt_selecthome->setObjectName(QStringLiteral("bt_selecthome"));
    twips::place(bt_selecthome, 4320, 375, 450, 300);
    basic->add(bt_selecthome);
    Check_loadthum = checkBox(basic, "Check_loadthum", "サムネイルをロードしない", 780);
    // Checked at design time: the first list load then unchecks it when thumbnails are
    // wanted, and that change turns the thumbnail view on and reloads the list with them.
    Check_loadthum->setChecked(true);
    Check_imagedirchange = checkBox(basic, "Check_imagedirchange",
                                    "imageディレクトリをファイルのあるディレクトリの下に作る", 1080);
    Check_soutai = checkBox(basic, "Check_soutai", "セーブ時に相対ディレクトリを使用（.\\と..\\まで）", 1380);
    Check_SeekTop = checkBox(basic, "Check_SeekTop", "ファイルを選択したら先頭フレームを表示する", 1680);
    Check_show_popup = checkBox(basic, "Check_show_popup", "バブルアップヘルプを表示する（次回起動時から）", 1980);
    Check_auto_hide = checkBox(basic, "Check_auto_hide", "カーソルの位置から、リストの自動表示・非表示", 2280);
    Check_original = checkBox(basic, "Check_original", "再生時は常にオリジナルサイズ", 2580);
    Check_temae = checkBox(basic, "Check_temae", "常に手前に表示", 2880);
    Check_noTaskbar = checkBox(basic, "Check_noTaskbar", "最小化時にタスクバーにいれない（タスクトレイのみ）", 3180);
    check_resume = checkBox(basic, "check_resume", "再生情報の復元（リジューム再生）", 3480);
    label(basic, "（ただし、セーブ先をカレントディレクトリとする）", 360, 3765, 4500);

    // 表示領域: fitting of the picture and the clipping sliders.
    const std::pair<QRadioButton **, std::pair<const char *, const char *>> fitting[] = {
        {&check_auto_adjust, {"check_auto_adjust", "リサイズ時にウィンドウサイズを自動で最適化"}},
        {&Keep_Aspect, {"Keep_Aspect", "アスペクト比を保持して拡大"}},
        {&use_fullWindow, {"use_fullWindow", "再生画面いっぱいに表示"}},
    };
    OptionFrame *const clip = contents(Frame_clip);
    int top = 60;
    for (const auto &[slot, text] : fitting) {
        auto *r = new WrappingButton<QRadioButton>(QString::fromUtf8(text.second), clip);
        r->setObjectName(QString::fromLatin1(text.first));
        r->setToolTip(r->text());
        twips::place(r, 120, top, 4700, 285);
        *slot = clip->add(r);
        top += 300;
    }
    Keep_Aspect->setChecked(true); // the design-time choice
    label(clip, "クリッピング", 120, 1080, 2000);
    label(clip, "上", 240, 1380, 300);
    Scroll_upper = new QSlider(Qt::Horizontal, clip);
    Scroll_upper->setObjectName(QStringLiteral("Scroll_upper"));
    Scroll_upper->setRange(0, 100);
    twips::place(Scroll_upper, 600, 1380, 4000, 255);
    clip->add(Scroll_upper);
    label(clip, "下", 240, 1680, 300);
    scroll_under = new QSlider(Qt::Horizontal, clip);
    scroll_under->setObjectName(QStringLiteral("scroll_under"));
    scroll_under->setRange(0, 100);
    twips::place(scroll_under, 600, 1680, 4000, 255);
    clip->add(scroll_under);

    // キー＆マウス: the mouse mode of the video area.
    OptionFrame *const key = contents(Frame_Key);
    label(key, "マウスイベント", 120, 3600, 2000);
    static const char *const tags[] = {
        "Click(なし) dblClick(最小モード)　D＆D(移動)",
        "Click(再生) dblClick(なし)　D＆D(なし)",
        "Click(なし) dblClick(再生)　D＆D(移動)",
        "Click(なし) dblClick(最大化)　D＆D(移動)",
    };
    for (int i = 0; i < 4; ++i) {
        auto *r = new WrappingButton<QRadioButton>(QStringLiteral("mode%1").arg(i + 1), key);
        r->setObjectName(QStringLiteral("check_mode%1").arg(i));
        r->setProperty("Tag", QString::fromUtf8(tags[i]));
        twips::place(r, 240 + (i % 2) * 2300, 3900 + (i / 2) * 300, 2200, 285);
        check_mode[std::size_t(i)] = key->add(r);
    }
    check_mode[0]->setChecked(true);
    message = label(key, "", 120, 4560, 4700);
    message->setObjectName(QStringLiteral("message"));

    // ソフト情報: the program and its version.
    OptionFrame *const info = contents(soft_info);
    auto *name = label(info, "Plovana", 240, 240, 4200, 500);
    QFont big = name->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    name->setFont(big);
    Ver = label(info, "", 240, 840, 4400, 300);
    Ver->setObjectName(QStringLiteral("Ver"));

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
