#include "scenes/scene_menus.h"

#include "playback/media_commands.h"
#include "playback/now_playing.h"
#include "window/control_bar.h"
#include "widgets/controls.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QWidget>

using namespace scenes;

namespace {

// The ten slot items of a menu; choosing item k calls `chosen`(k) (none: nothing happens).
std::array<QAction *, kSlots> addSlots(QMenu *menu, const QString &objectName, SceneMenus *owner = nullptr,
                                       void (SceneMenus::*chosen)(int) = nullptr)
{
    std::array<QAction *, kSlots> items{};
    for (int k = 0; k < kSlots; ++k) {
        items[std::size_t(k)] = menu->addAction(unusedCaption(k));
        items[std::size_t(k)]->setObjectName(objectName + QString::number(k));
        if (chosen)
            QObject::connect(items[std::size_t(k)], &QAction::triggered, owner, [owner, chosen, k] { (owner->*chosen)(k); });
    }
    return items;
}

} // namespace

SceneMenus::SceneMenus(QWidget *window, NowPlaying &nowPlaying, ControlBar &controls, MediaCommands &media)
    : QObject(window), m_now(nowPlaying), m_controls(controls), m_media(media)
{
    m_seen_load = new QMenu(QStringLiteral("シーン移動(テンキー)"), window);
    m_seen_load->setObjectName(QStringLiteral("m_seen_load"));
    m_seen = addSlots(m_seen_load, QStringLiteral("m_seen"), this, &SceneMenus::m_seen_Click);

    m_edit_seen = new QMenu(QStringLiteral("シーン編集"), window);
    m_edit_seen->setObjectName(QStringLiteral("m_edit_seen"));
    m_regst = m_edit_seen->addMenu(QStringLiteral("シーン登録(ctr+テンキー)"));
    m_regst->setObjectName(QStringLiteral("m_regst"));
    m_reg_seen = addSlots(m_regst, QStringLiteral("m_reg_seen"), this, &SceneMenus::m_reg_seen_Click);
    m_change_seen = m_edit_seen->addMenu(QStringLiteral("シーン名変更"));
    m_change_seen->setObjectName(QStringLiteral("m_change_seen"));
    // The items of "シーン名変更" show the scenes; choosing one does nothing.
    m_chg_seen = addSlots(m_change_seen, QStringLiteral("m_chg_seen"));
    m_delete_seen = m_edit_seen->addMenu(QStringLiteral("シーン削除"));
    m_delete_seen->setObjectName(QStringLiteral("m_delete_seen"));
    m_del_seen = addSlots(m_delete_seen, QStringLiteral("m_del_seen"), this, &SceneMenus::m_del_seen_Click);

    load_scene_menus();
}

void SceneMenus::attachOkiniMenu(QMenu *menu)
{
    m_seen_load_okini = menu;
    m_seen_okini = addSlots(menu, QStringLiteral("m_seen_okini"), this, &SceneMenus::m_seen_okini_Click);
    load_okini_scene_menu(QString());
}

QString SceneMenus::openFileName() const
{
    return localName(m_now.source());
}

void SceneMenus::load_scene_menus()
{
    const QString file = openFileName();
    // With nothing open there is no scene file to read (not even seen/.txt).
    const SceneFile scenes = file.isEmpty() ? SceneFile{false, unusedSlots()}
                                            : readSceneFile(sceneFilePath(seenFolder, file));
    for (int k = 0; k < kSlots; ++k) {
        const auto i = std::size_t(k);
        const SceneSlot &slot = scenes.slots[i];
        const SlotMenuTexts texts = slotMenuTexts(slot);
        m_seen[i]->setText(texts.seen);
        m_seen[i]->setData(slot.tag);
        m_reg_seen[i]->setText(texts.reg);
        m_chg_seen[i]->setText(texts.chg);
        m_del_seen[i]->setText(texts.del);
        for (QAction *a : {m_seen[i], m_chg_seen[i], m_del_seen[i]})
            a->setEnabled(slot.inUse());
        m_reg_seen[i]->setEnabled(true);
    }
    m_seen_load->setEnabled(scenes.exists);
    m_change_seen->setEnabled(scenes.exists);
    m_delete_seen->setEnabled(scenes.exists);
}

void SceneMenus::attachFileMenu(QMenu *menu)
{
    m_seen_load_file = menu;
    m_seen_file = addSlots(menu, QStringLiteral("m_seen_file"), this, &SceneMenus::m_seen_file_Click);
    load_file_scene_menu(QString());
}

void SceneMenus::fillPopupScenes(QMenu *menu, const std::array<QAction *, kSlots> &items, const QString &file)
{
    const SceneFile scenes =
        file.isEmpty() ? SceneFile{false, unusedSlots()} : readSceneFile(sceneFilePath(seenFolder, file));
    for (int k = 0; k < kSlots; ++k) {
        const auto i = std::size_t(k);
        items[i]->setText(scenes.slots[i].caption);
        items[i]->setData(scenes.slots[i].tag);
        items[i]->setEnabled(scenes.slots[i].inUse());
    }
    menu->setEnabled(scenes.exists);
}

void SceneMenus::load_okini_scene_menu(const QString &entryPath)
{
    if (!m_seen_load_okini)
        return;
    m_okiniEntry = entryPath;
    fillPopupScenes(m_seen_load_okini, m_seen_okini, entryPath);
}

void SceneMenus::load_file_scene_menu(const QString &file)
{
    if (!m_seen_load_file)
        return;
    m_fileEntry = file;
    fillPopupScenes(m_seen_load_file, m_seen_file, file);
}

void SceneMenus::enableForOpenFile(bool open)
{
    m_seen_load->setEnabled(open);
    m_edit_seen->setEnabled(open);
}

SceneSlots SceneMenus::seenSlots() const
{
    SceneSlots slots;
    for (int k = 0; k < kSlots; ++k)
        slots[std::size_t(k)] = {m_seen[std::size_t(k)]->text(), m_seen[std::size_t(k)]->data().toString()};
    return slots;
}

void SceneMenus::saveScenes(const SceneSlots &slots)
{
    const QString file = openFileName();
    if (file.isEmpty())
        return;
    const QString sceneFile = sceneFilePath(seenFolder, file);
    if (!writeSceneFile(sceneFile, slots))
        return;
    if (allUnused(slots))
        QFile::remove(sceneFile);
    load_scene_menus();
}

void SceneMenus::m_reg_seen_Click(int k)
{
    if (k < 0 || k >= kSlots || openFileName().isEmpty())
        return;
    const auto position = m_now.enginePosition();
    if (!position)
        return;
    const SceneUnit unit = m_now.engineCountsMilliseconds() ? SceneUnit::Milliseconds : SceneUnit::Seconds;
    SceneSlots slots = seenSlots();
    slots[std::size_t(k)] = {sceneCaption(k, m_controls.SeekBar->value() / m_now.unitsPerSecond()),
                             positionText(*position, unit)};
    saveScenes(slots);
}

void SceneMenus::m_del_seen_Click(int k)
{
    if (k < 0 || k >= kSlots)
        return;
    SceneSlots slots = seenSlots();
    slots[std::size_t(k)] = {clearedCaption(), QString()};
    saveScenes(slots);
}

void SceneMenus::m_seen_Click(int k)
{
    if (k < 0 || k >= kSlots)
        return;
    QAction *item = m_seen[std::size_t(k)];
    if (!item->isEnabled())
        return;
    const auto tag = parseSceneTag(item->data().toString());
    if (!tag)
        return;
    // a.avi and a.rm share a.txt: the caption's time tells seconds from milliseconds.
    const SceneUnit engine = m_now.engineCountsMilliseconds() ? SceneUnit::Milliseconds : SceneUnit::Seconds;
    const SceneUnit unit = tagUnit(*tag, captionSeconds(item->text()), engine);
    if (const auto units = jumpUnits(*tag, unit, engine, m_now.unitsPerSecond()))
        m_now.seek(*units);
}

void SceneMenus::m_seen_okini_Click(int k)
{
    jumpInto(m_okiniEntry, k);
}

void SceneMenus::m_seen_file_Click(int k)
{
    jumpInto(m_fileEntry, k);
}

void SceneMenus::jumpInto(const QString &file, int k)
{
    const QString entry = file;
    if (entry.isEmpty())
        return;
    if (entry != openFileName())
        m_media.openMedia(entry, 0);
    // An entry that did not open leaves the scenes of another file in the jump menu.
    if (entry != openFileName())
        return;
    m_seen_Click(k);
}
