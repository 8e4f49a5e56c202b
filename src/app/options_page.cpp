// The options page: the tab strip Tab_Config with its five frames and their controls.
#include "app/options_page.h"

#include "app/list_colours.h"
#include "app/shell_associations.h"
#include "app/system_info.h"
#include "dialogs/colour_value.h"
#include "dialogs/dialogs.h"
#include "dialogs/file_dialogs.h"
#include "lists/tab_strip.h"
#include "widgets/commands.h"
#include "widgets/desktop_shell.h"
#include "widgets/config_values.h"
#include "widgets/save_soon.h"
#include "widgets/controls.h"
#include "widgets/layout_math.h"
#include "widgets/twips.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QUrl>

#include <algorithm>
#include <climits>
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

// A button that shows a colour: its face's middle is the colour of its palette's Button role
// as it is (the style's own face only shades it).
class ColourButton final : public QPushButton
{
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *e) override
    {
        QPushButton::paintEvent(e);
        QPainter p(this);
        const int m = std::min(width(), height()) / 5;
        p.fillRect(rect().adjusted(m, m, -m, -m), palette().color(QPalette::Button));
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

    // Takes a control already placed at its design rectangle, into its row (the rows in
    // the order of their design tops, whenever the control is added).
    template <typename W>
    W *add(W *w)
    {
        const QRect design = w->geometry();
        const auto below = std::find_if(m_items.begin(), m_items.end(),
                                        [&](const Item &item) { return item.design.top() > design.top(); });
        m_items.insert(below, {w, design});
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
               || qobject_cast<const QSlider *>(w) || qobject_cast<const QProgressBar *>(w);
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

OptionsPage::OptionsPage(QWidget *configFrame, Commands &commands, std::shared_ptr<Dialogs> dialogs,
                         std::shared_ptr<DesktopShell> shell, const QString &program)
    : QObject(configFrame), m_commands(commands), m_dialogs(std::move(dialogs)), m_shell(std::move(shell)),
      m_config(configFrame)
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
    OptionFrame *const basic = contents(m_Frame_basic);
    m_Check_usehome = checkBox(basic, "Check_usehome", "ホームディレクトリを使用する", 60);
    m_text_home = new QLineEdit(basic);
    m_text_home->setObjectName(QStringLiteral("text_home"));
    twips::place(m_text_home, 360, 375, 3900, 300);
    basic->add(m_text_home);
    m_bt_selecthome = new QPushButton(QStringLiteral("..."), basic);
    m_bt_selecthome->setObjectName(QStringLiteral("bt_selecthome"));
    twips::place(m_bt_selecthome, 4320, 375, 450, 300);
    basic->add(m_bt_selecthome);
    m_Check_loadthum = checkBox(basic, "Check_loadthum", "サムネイルをロードしない", 780);
    // Checked at design time: the first list load then unchecks it when thumbnails are
    // wanted, and that change turns the thumbnail view on and reloads the list with them.
    m_Check_loadthum->setChecked(true);
    m_Check_imagedirchange = checkBox(basic, "Check_imagedirchange",
                                    "imageディレクトリをファイルのあるディレクトリの下に作る", 1080);
    m_Check_soutai = checkBox(basic, "Check_soutai", "セーブ時に相対ディレクトリを使用（.\\と..\\まで）", 1380);
    m_Check_SeekTop = checkBox(basic, "Check_SeekTop", "ファイルを選択したら先頭フレームを表示する", 1680);
    m_Check_show_popup = checkBox(basic, "Check_show_popup", "バブルアップヘルプを表示する（次回起動時から）", 1980);
    m_Check_auto_hide = checkBox(basic, "Check_auto_hide", "カーソルの位置から、リストの自動表示・非表示", 2280);
    m_Check_original = checkBox(basic, "Check_original", "再生時は常にオリジナルサイズ", 2580);
    m_Check_temae = checkBox(basic, "Check_temae", "常に手前に表示", 2880);
    m_Check_noTaskbar = checkBox(basic, "Check_noTaskbar", "最小化時にタスクバーにいれない（タスクトレイのみ）", 3180);
    m_check_resume = checkBox(basic, "check_resume", "再生情報の復元（リジューム再生）", 3480);
    label(basic, "（ただし、セーブ先をカレントディレクトリとする）", 360, 3765, 4500);
    m_Check_SeekPreview = checkBox(basic, "Check_SeekPreview", "シークバーにプレビューを表示", 4080);
    m_Check_SeekPreview->setChecked(true);

    // 表示領域: fitting of the picture and the clipping sliders.
    const std::pair<QRadioButton **, std::pair<const char *, const char *>> fitting[] = {
        {&m_check_auto_adjust, {"check_auto_adjust", "リサイズ時にウィンドウサイズを自動で最適化"}},
        {&m_Keep_Aspect, {"Keep_Aspect", "アスペクト比を保持して拡大"}},
        {&m_use_fullWindow, {"use_fullWindow", "再生画面いっぱいに表示"}},
    };
    OptionFrame *const clip = contents(m_Frame_clip);
    int top = 60;
    for (const auto &[slot, text] : fitting) {
        auto *r = new WrappingButton<QRadioButton>(QString::fromUtf8(text.second), clip);
        r->setObjectName(QString::fromLatin1(text.first));
        r->setToolTip(r->text());
        twips::place(r, 120, top, 4700, 285);
        *slot = clip->add(r);
        top += 300;
    }
    m_Keep_Aspect->setChecked(true); // the design-time choice
    label(clip, "クリッピング", 120, 1080, 2000);
    label(clip, "上", 240, 1380, 300);
    m_Scroll_upper = new QSlider(Qt::Horizontal, clip);
    m_Scroll_upper->setObjectName(QStringLiteral("Scroll_upper"));
    m_Scroll_upper->setRange(0, 100);
    twips::place(m_Scroll_upper, 600, 1380, 4000, 255);
    clip->add(m_Scroll_upper);
    label(clip, "下", 240, 1680, 300);
    m_scroll_under = new QSlider(Qt::Horizontal, clip);
    m_scroll_under->setObjectName(QStringLiteral("scroll_under"));
    m_scroll_under->setRange(0, 100);
    twips::place(m_scroll_under, 600, 1680, 4000, 255);
    clip->add(m_scroll_under);
    buildColourControls();

    // キー＆マウス: the mouse mode of the video area.
    OptionFrame *const key = contents(m_Frame_Key);
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
        m_check_mode[std::size_t(i)] = key->add(r);
    }
    m_check_mode[0]->setChecked(true);
    m_message = label(key, "", 120, 4560, 4700);
    m_message->setObjectName(QStringLiteral("message"));

    // 関連付け: the file-type associations.
    OptionFrame *const other = contents(m_Frame_other);
    m_associations = new ShellAssociations(other, [other](QWidget *w) { other->add(w); }, program, this);

    buildInformation();
    connectOptions();
}

OptionsPage::~OptionsPage() = default;

namespace {

int buttonColour(const QPushButton *b)
{
    const QColor c = b->palette().color(QPalette::Button);
    return colour::value(c.red(), c.green(), c.blue());
}

QColor qColour(int value)
{
    return QColor(colour::red(value), colour::green(value), colour::blue(value));
}

void showColour(QPushButton *b, const QColor &c)
{
    QPalette pal = b->palette();
    pal.setColor(QPalette::Button, c);
    b->setPalette(pal);
}

} // namespace

void OptionsPage::buildColourControls()
{
    // 表示領域, below the clipping: the lists' colours.
    OptionFrame *const clip = contents(m_Frame_clip);
    label(clip, "カラー設定", 120, 2100, 2000);
    const auto colourButton = [clip](const char *name, int left) {
        auto *b = new ColourButton(clip);
        b->setObjectName(QString::fromLatin1(name));
        twips::place(b, left, 2400, 600, 315);
        return clip->add(b);
    };
    // Each caption stays whole beside its button; a narrow frame puts the second pair below.
    label(clip, "文字色", 240, 2400, 700, 315)->setWordWrap(false);
    m_bt_cngForeColor = colourButton("bt_cngForeColor", 960);
    label(clip, "背景色", 1800, 2400, 700, 315)->setWordWrap(false);
    m_bt_cngBackColor = colourButton("bt_cngBackColor", 2520);
    m_bt_default_color = new QPushButton(QStringLiteral("デフォルトに戻す"), clip);
    m_bt_default_color->setObjectName(QStringLiteral("bt_default_color"));
    twips::place(m_bt_default_color, 240, 2820, 2200, 345);
    clip->add(m_bt_default_color);
    // The design colours: the lists show light blue on black, the background button the
    // near-black the first exit then stores.
    showColour(m_bt_cngForeColor, qColour(listcolours::kDesignFore));
    showColour(m_bt_cngBackColor, qColour(listcolours::kDesignBackButton));
}

void OptionsPage::buildInformation()
{
    // ソフト情報: the program, its version, the memory, the screen and the home page.
    OptionFrame *const info = contents(m_soft_info);
    auto *name = label(info, "ソフト名：　Plovana", 240, 240, 4400, 420);
    QFont big = name->font();
    big.setPointSize(big.pointSize() + 2);
    big.setBold(true);
    name->setFont(big);
    m_Ver = label(info, "", 240, 720, 4400, 300);
    m_Ver->setObjectName(QStringLiteral("Ver"));
    label(info, "使用可能なメモリ", 240, 1200, 4400);
    m_pbMem = new QProgressBar(info);
    m_pbMem->setObjectName(QStringLiteral("pbMem"));
    m_pbMem->setTextVisible(false);
    m_pbMem->setRange(0, 1);
    m_pbMem->setValue(0);
    twips::place(m_pbMem, 360, 1500, 4200, 240);
    info->add(m_pbMem);
    m_lblMem = label(info, "", 360, 1800, 4200);
    m_lblMem->setObjectName(QStringLiteral("lblMem"));
    label(info, "画面の解像度", 240, 2280, 4400);
    m_lblDisplay = label(info, "", 360, 2580, 4200);
    m_lblDisplay->setObjectName(QStringLiteral("lblDisplay"));
    m_homePageCaption = label(info, "ホームページ", 240, 3060, 4400);
    m_LHomepage = label(info, "", 360, 3360, 4400);
    m_LHomepage->setObjectName(QStringLiteral("LHomepage"));
    m_LHomepage->setCursor(Qt::PointingHandCursor);
    QPalette link = m_LHomepage->palette();
    link.setColor(QPalette::WindowText, QColor(0, 0, 238));
    m_LHomepage->setPalette(link);
    setHomePage(QStringLiteral(PLOVANA_HOMEPAGE_URL));
}

void OptionsPage::connectOptions()
{
    connect(m_Tab_Config, &TabStrip::clicked, this, &OptionsPage::Tab_Config_Click);
    connect(m_bt_selecthome, &QPushButton::clicked, this, &OptionsPage::bt_selecthome_Click);
    connect(m_bt_cngForeColor, &QPushButton::clicked, this, &OptionsPage::bt_cngForeColor_Click);
    connect(m_bt_cngBackColor, &QPushButton::clicked, this, &OptionsPage::bt_cngBackColor_Click);
    connect(m_bt_default_color, &QPushButton::clicked, this, &OptionsPage::bt_default_color_Click);
    // The pointer over a mouse mode, over the home page's link and over the rest of
    // ソフト情報.
    for (QWidget *w : {static_cast<QWidget *>(m_check_mode[0]), static_cast<QWidget *>(m_check_mode[1]),
                       static_cast<QWidget *>(m_check_mode[2]), static_cast<QWidget *>(m_check_mode[3]),
                       static_cast<QWidget *>(m_LHomepage), static_cast<QScrollArea *>(m_soft_info)->widget()}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
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

QWidget *OptionsPage::keyFrameContents() const
{
    return contents(m_Frame_Key);
}

void OptionsPage::addToKeyFrame(QWidget *control)
{
    contents(m_Frame_Key)->add(control);
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
    if (selected == 5) {
        showMemoryInfo();
        showDisplayInfo();
    }
}

bool OptionsPage::eventFilter(QObject *o, QEvent *e)
{
    const QEvent::Type t = e->type();
    if (t == QEvent::MouseMove || t == QEvent::Enter) {
        for (int i = 0; i < 4; ++i)
            if (o == m_check_mode[std::size_t(i)])
                check_mode_MouseMove(i);
        if (o == m_LHomepage)
            LHomepage_MouseMove();
        else if (QWidget *info = static_cast<QScrollArea *>(m_soft_info)->widget();
                 o == info && t == QEvent::MouseMove
                 && info->childAt(static_cast<QMouseEvent *>(e)->position().toPoint()) != m_LHomepage)
            soft_info_MouseMove(); // not the link's own move, which comes on to the frame
    } else if (o == m_LHomepage && t == QEvent::MouseButtonRelease
               && static_cast<QMouseEvent *>(e)->button() == Qt::LeftButton
               && m_LHomepage->rect().contains(static_cast<QMouseEvent *>(e)->position().toPoint())) {
        LHomepage_Click();
    }
    return QObject::eventFilter(o, e);
}

void OptionsPage::bt_selecthome_Click()
{
    const QString folder = browseForFolderFromRoot(*m_dialogs, m_config->window(), QStringLiteral("フォルダを選択してね"),
                                                   QString());
    if (!folder.isEmpty())
        m_text_home->setText(folder);
}

void OptionsPage::check_mode_MouseMove(int index)
{
    if (index >= 0 && index < 4)
        m_message->setText(m_check_mode[std::size_t(index)]->property("Tag").toString());
}

int OptionsPage::listForeColor() const { return buttonColour(m_bt_cngForeColor); }
int OptionsPage::listBackColor() const { return buttonColour(m_bt_cngBackColor); }

void OptionsPage::CngListForeColor(int value)
{
    const QColor c = qColour(colour::normalized(value));
    showColour(m_bt_cngForeColor, c);
    Q_EMIT listForeColorChanged(c);
}

void OptionsPage::CngListbackColor(int value)
{
    const QColor c = qColour(colour::normalized(value));
    showColour(m_bt_cngBackColor, c);
    Q_EMIT listBackColorChanged(c);
}

void OptionsPage::bt_cngForeColor_Click()
{
    int chosen = 0;
    if (m_dialogs->color(m_Frame_basic, chosen)) {
        CngListForeColor(chosen);
        colorsChosen();
    }
}

void OptionsPage::bt_cngBackColor_Click()
{
    int chosen = 0;
    if (m_dialogs->color(m_Frame_basic, chosen)) {
        CngListbackColor(chosen);
        colorsChosen();
    }
}

void OptionsPage::bt_default_color_Click()
{
    CngListForeColor(listcolours::kDefaultFore);
    CngListbackColor(listcolours::kDefaultBack);
    colorsChosen();
}

void OptionsPage::colorsChosen()
{
    if (m_colorsSave)
        m_colorsSave->changed();
}

void OptionsPage::loadListColors(const QString &appDir)
{
    m_colorsFile = appDir + QStringLiteral("color.ini");
    if (!m_colorsSave)
        m_colorsSave = new SaveSoon(
            [this] { return writeColorIni(m_colorsFile, {listForeColor(), listBackColor()}); }, {}, this);
    const auto colours = readColorIni(m_colorsFile);
    if (!colours)
        return; // the design colours stay
    CngListForeColor(colours->fore);
    CngListbackColor(colours->back);
}

void OptionsPage::saveListColors(const QString &appDir) const
{
    if (m_colorsSave)
        m_colorsSave->cancel();
    writeColorIni(appDir + QStringLiteral("color.ini"), {listForeColor(), listBackColor()});
}

void OptionsPage::stopSaving()
{
    if (m_colorsSave)
        m_colorsSave->stop();
}

void OptionsPage::readAssociations()
{
    m_associations->readAssociations();
}

void OptionsPage::showMemoryInfo()
{
    const std::optional<MemoryInfo> m = readMeminfo();
    if (!m)
        return;
    const auto bar = [](std::int64_t kb) { return int(std::clamp<std::int64_t>(kb, 0, INT_MAX)); };
    m_pbMem->setMaximum(bar(m->totalKb));
    m_pbMem->setValue(std::min(bar(m->availableKb), m_pbMem->maximum()));
    m_lblMem->setText(memoryText(*m));
}

void OptionsPage::showDisplayInfo()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The mode's pixels: size() counts logical pixels.
    const QSize pixels = screen->size() * screen->devicePixelRatio();
    m_lblDisplay->setText(displayText(pixels.width(), pixels.height(), screen->depth()));
}

void OptionsPage::setHomePage(const QString &address)
{
    m_homePage = address;
    m_LHomepage->setText(address);
    m_LHomepage->setToolTip(address);
    m_LHomepage->setVisible(!address.isEmpty());
    m_homePageCaption->setVisible(!address.isEmpty());
}

void OptionsPage::LHomepage_Click()
{
    if (!m_homePage.isEmpty())
        m_shell->openUrl(QUrl(m_homePage));
}

namespace {

void setUnderline(QLabel *l, bool on)
{
    if (l->font().underline() == on)
        return;
    QFont f = l->font();
    f.setUnderline(on);
    l->setFont(f);
}

} // namespace

void OptionsPage::LHomepage_MouseMove() { setUnderline(m_LHomepage, true); }
void OptionsPage::soft_info_MouseMove() { setUnderline(m_LHomepage, false); }

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
bool OptionsPage::seekPreview() const { return m_Check_SeekPreview->isChecked(); }
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
    setCheckValue(m_Check_SeekPreview, c.SeekPreview);
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
    c.SeekPreview = checkValue(m_Check_SeekPreview);
    c.OriginalSize = originalSize() ? 1 : 0;
    c.upper_clip = m_Scroll_upper->value();
    c.under_clip = m_scroll_under->value();
    c.image_path_root = checkValue(m_Check_imagedirchange);
    c.soutai = checkValue(m_Check_soutai);
    c.use_homedir = checkValue(m_Check_usehome);
    c.mouse_mode = mouseMode();
}
