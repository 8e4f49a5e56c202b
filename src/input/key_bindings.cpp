#include "input/key_bindings.h"

#include "widgets/command_ids.h"
#include "widgets/commands.h"
#include "widgets/save_soon.h"
#include "widgets/twips.h"

#include <QAction>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

#include <vector>

namespace {

struct BoxDesign
{
    const char *name;
    const char *caption;
};
// In the order of the bindings.
const BoxDesign kBoxes[keys::kBindings] = {
    {"Text_play", "再生"},        {"Text_stop", "停止"},     {"Text_haya", "はや送り"},
    {"text_maki", "巻き戻し"},    {"Text_next", "次の動画"}, {"Text_pre", "前の動画"},
    {"Text_tou", "等倍速"},       {"Text_bai", "２倍速"},    {"Text_han", "１／２倍速"},
    {"Text_add", "お気に入りに追加"}, {"Text_cap", "サムネイルキャプチャー"},
};

// The commands whose menu items show a binding's key.
const std::pair<keys::Binding, const QString *> kShortcuts[] = {
    {keys::Play, &command::play},   {keys::Stop, &command::stop},    {keys::Next, &command::next},
    {keys::Pre, &command::pre},     {keys::Add, &command::addOkini}, {keys::Cap, &command::capture},
};

// The rows of the boxes (twips in Frame_Key), above "マウスイベント".
constexpr int kFirstRow = 60;
constexpr int kRowPitch = 285;

const QColor kCyan(0, 255, 255);

void setBoxColours(QLineEdit *box, bool focused)
{
    QPalette p = box->palette();
    p.setColor(QPalette::Base, focused ? kCyan : Qt::black);
    p.setColor(QPalette::Text, focused ? Qt::black : kCyan);
    box->setPalette(p);
}

// The name of a binding's key beside a menu item ("Q", "F1", "Num+1"), or the binding
// itself for a code no key of the map gives.
QString keyName(const QString &binding)
{
    const int code = keys::bindingCode(binding);
    if (code == 0)
        return {};
    if (const auto key = keys::qtKeyOf(code))
        return QKeySequence(*key).toString(QKeySequence::NativeText);
    return binding.left(1);
}

} // namespace

int keyCodeOf(const QKeyEvent *e)
{
    const QString platform = QGuiApplication::platformName();
    const bool keycodes = platform == u"xcb" || platform.startsWith(u"wayland");
    return keys::virtualKey(e->key(), e->modifiers(), keycodes ? e->nativeScanCode() : 0);
}

KeyBindings::KeyBindings(QObject *parent, const Page &page, Commands &commands, QString appDir)
    : QObject(parent), m_commands(commands), m_appDir(std::move(appDir)), m_message(page.message),
      m_frame(page.frame), m_config(page.config), m_keys(keys::defaultKeys())
{
    m_keysSave = new SaveSoon([this] { return keys::writeKeyFile(m_appDir + QStringLiteral("key.ini"), m_keys); },
                              {}, this);
    for (int i = 0; i < keys::kBindings; ++i) {
        const int top = kFirstRow + i * kRowPitch;
        auto *label = new QLabel(QString::fromUtf8(kBoxes[i].caption), m_frame);
        label->setWordWrap(true);
        twips::place(label, 240, top + 15, 2280, 255);
        page.place(label);
        auto *box = new QLineEdit(m_frame);
        box->setObjectName(QString::fromLatin1(kBoxes[i].name));
        box->setAlignment(Qt::AlignCenter);
        box->setContextMenuPolicy(Qt::NoContextMenu);
        box->setAcceptDrops(false);
        box->setDragEnabled(false);
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
        setBoxColours(box, false);
        twips::place(box, 2640, top, 1200, 270);
        page.place(box);
        box->installEventFilter(this);
        m_boxes[std::size_t(i)] = box;
    }
    for (int i = 0; i + 1 < keys::kBindings; ++i)
        QWidget::setTabOrder(m_boxes[std::size_t(i)], m_boxes[std::size_t(i + 1)]);

    m_bt_default = new QLabel(QStringLiteral("デフォルトに戻す"), m_frame);
    m_bt_default->setObjectName(QStringLiteral("bt_default"));
    m_bt_default->setCursor(Qt::PointingHandCursor);
    m_bt_default->setMouseTracking(true);
    m_bt_default->installEventFilter(this);
    twips::place(m_bt_default, 240, kFirstRow + keys::kBindings * kRowPitch + 60, 2280, 255);
    page.place(m_bt_default);
    for (QWidget *w : {m_frame, m_config})
        if (w) {
            w->setMouseTracking(true);
            w->installEventFilter(this);
        }
    showKeys();
}

bool KeyBindings::isBox(const QObject *o) const
{
    return boxIndex(o) >= 0;
}

int KeyBindings::boxIndex(const QObject *o) const
{
    for (int i = 0; i < keys::kBindings; ++i)
        if (m_boxes[std::size_t(i)] == o)
            return i;
    return -1;
}

bool KeyBindings::eventFilter(QObject *o, QEvent *e)
{
    if (const int box = boxIndex(o); box >= 0) {
        switch (e->type()) {
        case QEvent::KeyPress: {
            auto *k = static_cast<QKeyEvent *>(e);
            const int code = keyCodeOf(k);
            // A held key's repeats are no new presses: the box the focus moved to binds nothing.
            const bool repeat = k->isAutoRepeat()
                                || (k->timestamp() != 0 && k->timestamp() == m_lastReleaseTime
                                    && code == m_lastReleaseCode);
            if (!repeat)
                m_pressed[box].insert(code);
            // Tab still moves the focus; nothing else is typed into the box (a Backspace
            // would erase the binding).
            return k->key() != Qt::Key_Tab && k->key() != Qt::Key_Backtab;
        }
        case QEvent::KeyRelease: {
            auto *k = static_cast<QKeyEvent *>(e);
            if (k->isAutoRepeat())
                return true;
            const int code = keyCodeOf(k);
            m_lastReleaseCode = code;
            m_lastReleaseTime = k->timestamp();
            // A key pressed before the box had the focus (the Shift of Shift+Q, released
            // after the focus moved on) binds nothing.
            if (m_pressed[box].erase(code) == 0)
                return true;
            Text_KeyUp(box, code);
            return true;
        }
        case QEvent::FocusIn:
            Text_GotFocus(box);
            break;
        case QEvent::FocusOut:
            m_pressed.erase(box);
            Text_LostFocus(box);
            break;
        default:
            break;
        }
        return false;
    }
    if (o == m_bt_default) {
        if (e->type() == QEvent::MouseMove) {
            setBold(true);
            return true; // not on to the frame round it, which would make it regular again
        }
        if (e->type() == QEvent::MouseButtonRelease) {
            auto *m = static_cast<QMouseEvent *>(e);
            if (m->button() == Qt::LeftButton && m_bt_default->rect().contains(m->position().toPoint()))
                bt_default_Click();
        }
        return false;
    }
    if ((o == m_frame || o == m_config) && e->type() == QEvent::MouseMove)
        setBold(false);
    return false;
}

void KeyBindings::setBold(bool bold)
{
    QFont f = m_bt_default->font();
    if (f.bold() == bold)
        return;
    f.setBold(bold);
    m_bt_default->setFont(f);
}

void KeyBindings::Text_GotFocus(int box)
{
    setBoxColours(m_boxes[std::size_t(box)], true);
}

void KeyBindings::Text_LostFocus(int box)
{
    setBoxColours(m_boxes[std::size_t(box)], false);
}

bool KeyBindings::isKeyUnused(const QString &key) const
{
    for (int i = keys::Play; i <= keys::Han; ++i)
        if (m_boxes[std::size_t(i)]->text() == key)
            return false;
    return true;
}

void KeyBindings::Text_KeyUp(int box, int keyCode)
{
    if (box < 0 || box >= keys::kBindings)
        return;
    QLineEdit *edit = m_boxes[std::size_t(box)];
    m_message->setText(QString());
    const QString character = keys::bindingCharacter(keyCode);
    if (keyCode == keys::kAlt || keyCode == keys::kEnter || keyCode == keys::kEscape
        || !keys::isKeyCodeAllowed(keyCode) || character.isEmpty()) {
        m_message->setText(QStringLiteral("そのキーは使えません"));
        return;
    }
    // The box's own binding never clashes with itself.
    const QString old = edit->text();
    edit->clear();
    if (!isKeyUnused(character)) {
        edit->setText(old);
        m_message->setText(QStringLiteral("そのショートカットキーは他の機能に登録されています"));
        return;
    }
    edit->setText(character);
    if (box + 1 < keys::kBindings)
        m_boxes[std::size_t(box + 1)]->setFocus();
    m_keys[std::size_t(box)] = edit->text();
    m_message->setText(QStringLiteral("OK"));
    showShortcuts();
    m_keysSave->changed();
    Q_EMIT keysChanged();
}

void KeyBindings::bt_default_Click()
{
    m_keys = keys::defaultKeys();
    showKeys();
    m_keysSave->changed();
    Q_EMIT keysChanged();
}

void KeyBindings::loadKeys()
{
    m_keys = keys::readKeyFile(m_appDir + QStringLiteral("key.ini"));
    showKeys();
    Q_EMIT keysChanged();
}

void KeyBindings::saveKeys()
{
    m_keysSave->cancel();
    keys::writeKeyFile(m_appDir + QStringLiteral("key.ini"), m_keys);
}

void KeyBindings::stopSaving()
{
    m_keysSave->stop();
}

void KeyBindings::showKeys()
{
    for (int i = 0; i < keys::kBindings; ++i)
        m_boxes[std::size_t(i)]->setText(m_keys[std::size_t(i)]);
    showShortcuts();
}

void KeyBindings::showShortcuts()
{
    // The speeds' items: 等倍速, ２倍速 and １／２倍速 are the speed menu's 1.0, 2.0 and 0.5.
    std::vector<std::pair<keys::Binding, QString>> items;
    for (const auto &[binding, id] : kShortcuts)
        items.emplace_back(binding, *id);
    items.emplace_back(keys::Tou, command::speed(2));
    items.emplace_back(keys::Bai, command::speed(0));
    items.emplace_back(keys::Han, command::speed(3));
    for (const auto &[binding, id] : items) {
        QAction *a = m_commands.action(id);
        const QString base = a->text().section(u'\t', 0, 0);
        const QString key = keyName(m_keys[std::size_t(binding)]);
        // Text only: the key commands handle the key, not Qt's shortcuts.
        a->setText(key.isEmpty() ? base : base + u'\t' + key);
        // A tooltip that was the text (the stop button has none of its own) stays the text.
        if (a->toolTip().contains(u'\t'))
            a->setToolTip(a->toolTip().section(u'\t', 0, 0));
    }
}
