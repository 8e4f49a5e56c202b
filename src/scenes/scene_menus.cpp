#include "scenes/scene_menus.h"

#include "playback/media_commands.h"
#include "playback/now_playing.h"
#include "playback/playback_state.h"
#include "widgets/command_ids.h"
#include "widgets/commands.h"
#include "widgets/seek_math.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QWidget>

using namespace scenes;

SceneMenus::SceneMenus(QWidget *window, Commands &commands, NowPlaying &nowPlaying, const PlaybackState &state,
                       MediaCommands &media)
    : QObject(window), m_commands(commands), m_now(nowPlaying), m_state(state), m_media(media),
      m_slots(unusedSlots()), m_okiniSlots(unusedSlots()), m_fileSlots(unusedSlots())
{
    m_m_seen_load = new QMenu(QStringLiteral("シーン移動(テンキー)"), window);
    m_m_seen_load->setObjectName(QStringLiteral("m_seen_load"));
    m_m_seen = addSlots(m_m_seen_load, QStringLiteral("m_seen"), &command::sceneJump, &SceneMenus::m_seen_Click, &m_slots);

    m_m_edit_seen = new QMenu(QStringLiteral("シーン編集"), window);
    m_m_edit_seen->setObjectName(QStringLiteral("m_edit_seen"));
    m_m_regst = m_m_edit_seen->addMenu(QStringLiteral("シーン登録(ctr+テンキー)"));
    m_m_regst->setObjectName(QStringLiteral("m_regst"));
    m_m_reg_seen = addSlots(m_m_regst, QStringLiteral("m_reg_seen"), &command::sceneRegister, &SceneMenus::m_reg_seen_Click,
                          nullptr);
    m_m_change_seen = m_m_edit_seen->addMenu(QStringLiteral("シーン名変更"));
    m_m_change_seen->setObjectName(QStringLiteral("m_change_seen"));
    // The items of "シーン名変更" show the scenes; choosing one does nothing.
    m_m_chg_seen = addSlots(m_m_change_seen, QStringLiteral("m_chg_seen"), &command::sceneRename, nullptr, &m_slots);
    m_m_delete_seen = m_m_edit_seen->addMenu(QStringLiteral("シーン削除"));
    m_m_delete_seen->setObjectName(QStringLiteral("m_delete_seen"));
    m_m_del_seen = addSlots(m_m_delete_seen, QStringLiteral("m_del_seen"), &command::sceneDelete, &SceneMenus::m_del_seen_Click,
                          &m_slots);

    load_scene_menus();
}

std::array<QAction *, kSlots> SceneMenus::addSlots(QMenu *menu, const QString &objectName, QString (*id)(int),
                                                   void (SceneMenus::*chosen)(int), const SceneSlots *slots)
{
    std::array<QAction *, kSlots> items{};
    for (int k = 0; k < kSlots; ++k) {
        QAction *a = m_commands.add(id(k), unusedCaption(k), [this, chosen, k] {
            if (chosen)
                (this->*chosen)(k);
        });
        a->setObjectName(objectName + QString::number(k));
        if (slots)
            m_commands.setEnabledRule(id(k), [slots, k] { return (*slots)[std::size_t(k)].inUse(); });
        menu->addAction(a);
        items[std::size_t(k)] = a;
    }
    return items;
}

void SceneMenus::attachOkiniMenu(QMenu *menu)
{
    m_m_seen_load_okini = menu;
    m_m_seen_okini = addSlots(menu, QStringLiteral("m_seen_okini"), &command::sceneOkini, &SceneMenus::m_seen_okini_Click,
                            &m_okiniSlots);
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
                                            : readSceneFile(sceneFilePath(m_seenFolder, file));
    m_slots = scenes.slots;
    for (int k = 0; k < kSlots; ++k) {
        const auto i = std::size_t(k);
        const SlotMenuTexts texts = slotMenuTexts(m_slots[i]);
        m_m_seen[i]->setText(texts.seen);
        m_m_reg_seen[i]->setText(texts.reg);
        m_m_chg_seen[i]->setText(texts.chg);
        m_m_del_seen[i]->setText(texts.del);
    }
    m_commands.refresh();
    m_m_seen_load->setEnabled(scenes.exists);
    m_m_change_seen->setEnabled(scenes.exists);
    m_m_delete_seen->setEnabled(scenes.exists);
}

void SceneMenus::attachFileMenu(QMenu *menu)
{
    m_m_seen_load_file = menu;
    m_m_seen_file = addSlots(menu, QStringLiteral("m_seen_file"), &command::sceneFile, &SceneMenus::m_seen_file_Click,
                           &m_fileSlots);
    load_file_scene_menu(QString());
}

void SceneMenus::fillPopupScenes(QMenu *menu, const std::array<QAction *, kSlots> &items, SceneSlots &slots,
                                 const QString &file)
{
    const SceneFile scenes =
        file.isEmpty() ? SceneFile{false, unusedSlots()} : readSceneFile(sceneFilePath(m_seenFolder, file));
    slots = scenes.slots;
    for (int k = 0; k < kSlots; ++k)
        items[std::size_t(k)]->setText(slots[std::size_t(k)].caption);
    m_commands.refresh();
    menu->setEnabled(scenes.exists);
}

void SceneMenus::load_okini_scene_menu(const QString &entryPath)
{
    if (!m_m_seen_load_okini)
        return;
    m_okiniEntry = entryPath;
    fillPopupScenes(m_m_seen_load_okini, m_m_seen_okini, m_okiniSlots, entryPath);
}

void SceneMenus::load_file_scene_menu(const QString &file)
{
    if (!m_m_seen_load_file)
        return;
    m_fileEntry = file;
    fillPopupScenes(m_m_seen_load_file, m_m_seen_file, m_fileSlots, file);
}

void SceneMenus::enableForOpenFile(bool open)
{
    m_m_seen_load->setEnabled(open);
    m_m_edit_seen->setEnabled(open);
}

void SceneMenus::saveScenes(const SceneSlots &slots)
{
    const QString file = openFileName();
    if (file.isEmpty())
        return;
    const QString sceneFile = sceneFilePath(m_seenFolder, file);
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
    // The caption's time is the seek bar's: the position in its units, in whole seconds.
    const int ups = m_now.unitsPerSecond();
    slots[std::size_t(k)] = {sceneCaption(k, seek::roundHalfEven(m_state.position() * ups) / ups),
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
    const SceneSlot &slot = m_slots[std::size_t(k)];
    if (!slot.inUse())
        return;
    const auto tag = parseSceneTag(slot.tag);
    if (!tag)
        return;
    // a.avi and a.rm share a.txt: the caption's time tells seconds from milliseconds.
    const SceneUnit engine = m_now.engineCountsMilliseconds() ? SceneUnit::Milliseconds : SceneUnit::Seconds;
    const SceneUnit unit = tagUnit(*tag, captionSeconds(slot.caption), engine);
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
