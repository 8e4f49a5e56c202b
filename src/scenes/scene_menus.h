#pragma once
// The scene menus: ten remembered positions per media file (scene_file.h). Over the video,
// "シーン移動" jumps to a scene of the open file and "シーン編集" registers, shows or
// clears them; the "シーン" of the file popup and of the favourites popup jump into the
// selected file's scenes, opening it first when it is not the open file.

#include "scenes/scene_file.h"

#include <QObject>
#include <QString>

#include <array>

class Commands;
class MediaCommands;
class NowPlaying;
class PlaybackState;
class QAction;
class QMenu;
class QWidget;

class SceneMenus : public QObject
{
    Q_OBJECT
public:
    // Positions come from `nowPlaying` and, for the captions, from the playback state;
    // `media` opens a favourites entry before a jump into it. The slot items are the
    // commands "scene.jump.N", "scene.register.N", "scene.rename.N", "scene.delete.N",
    // "scene.favourites.N" and "scene.file.N".
    SceneMenus(QWidget *window, Commands &commands, NowPlaying &nowPlaying, const PlaybackState &state,
               MediaCommands &media);





    // The folder of the scene files (seen/ in the state folder).
    void setSeenFolder(const QString &folder) { m_seenFolder = folder; }

    // Fills the items of `m_seen_load_okini`, the favourites popup's scene submenu.
    void attachOkiniMenu(QMenu *menu);
    // Fills the items of `m_seen_load_file`, the file popup's scene submenu.
    void attachFileMenu(QMenu *menu);

    // Fills the scene menus over the video from the scene file of the open file.
    void load_scene_menus();
    // Fills the favourites popup's scene submenu for the entry `entryPath` (folder and
    // name); an empty path (no single entry selected) leaves it disabled.
    void load_okini_scene_menu(const QString &entryPath);
    // Fills the file popup's scene submenu for the selected file `file`; "" leaves it
    // disabled.
    void load_file_scene_menu(const QString &file);
    // The menus over the video can be used only while a file is open.
    void enableForOpenFile(bool open);

    // Registers the current position into slot k.
    void m_reg_seen_Click(int k);
    // Jumps to slot k of the open file.
    void m_seen_Click(int k);
    // Clears slot k.
    void m_del_seen_Click(int k);
    // Opens the favourites entry the submenu was filled for, unless it is the open file,
    // and jumps to its slot k.
    void m_seen_okini_Click(int k);
    // The same for the file the file popup's submenu was filled for.
    void m_seen_file_Click(int k);

    // The open file's name: the RealMedia control's source without "file://", else
    // CMovie's file; empty when nothing is open.
    QString openFileName() const;

    // ---- What other rooms read
    const QString &seenFolder() const { return m_seenFolder; }
    // Over the video: "シーン移動(テンキー)" with the jumps, and "シーン編集" with the
    // registrations, the renames (shown only) and the clears, ten items each.
    QMenu *m_seen_load() const { return m_m_seen_load; }
    const std::array<QAction*, scenes::kSlots> &m_seen() const { return m_m_seen; }
    QMenu *m_edit_seen() const { return m_m_edit_seen; }
    QMenu *m_regst() const { return m_m_regst; }
    const std::array<QAction*, scenes::kSlots> &m_reg_seen() const { return m_m_reg_seen; }
    QMenu *m_change_seen() const { return m_m_change_seen; }
    const std::array<QAction*, scenes::kSlots> &m_chg_seen() const { return m_m_chg_seen; }
    QMenu *m_delete_seen() const { return m_m_delete_seen; }
    const std::array<QAction*, scenes::kSlots> &m_del_seen() const { return m_m_del_seen; }
    // The favourites popup's "シーン" (placed there by the favourites page), and its items.
    QMenu *m_seen_load_okini() const { return m_m_seen_load_okini; }
    const std::array<QAction*, scenes::kSlots> &m_seen_okini() const { return m_m_seen_okini; }
    // The file popup's "シーン" (placed there by the file page), and its items.
    QMenu *m_seen_load_file() const { return m_m_seen_load_file; }
    const std::array<QAction*, scenes::kSlots> &m_seen_file() const { return m_m_seen_file; }

private:
    // The ten slots of the open file, as the jump menu shows them.
    scenes::SceneSlots seenSlots() const { return m_slots; }
    // Writes the open file's scene file with these slots (removing it when none is in use)
    // and refills the menus; nothing when no file is open or the file is not written.
    void saveScenes(const scenes::SceneSlots &slots);
    // Fills a popup's scene submenu from the scene file of `file` ("": none).
    void fillPopupScenes(QMenu *menu, const std::array<QAction *, scenes::kSlots> &items, scenes::SceneSlots &slots,
                         const QString &file);
    // The ten slot items of a menu, the commands id(0) .. id(9); choosing item k runs
    // `chosen`(k) (none: nothing happens); item k is enabled while slots[k] is in use.
    std::array<QAction *, scenes::kSlots> addSlots(QMenu *menu, const QString &objectName, QString (*id)(int),
                                                   void (SceneMenus::*chosen)(int), const scenes::SceneSlots *slots);
    // Opens `file` unless it is open, then jumps to its slot k.
    void jumpInto(const QString &file, int k);

    Commands &m_commands;
    NowPlaying &m_now;
    const PlaybackState &m_state;
    MediaCommands &m_media;
    scenes::SceneSlots m_slots;      // the open file's
    scenes::SceneSlots m_okiniSlots; // the favourites popup's entry's
    scenes::SceneSlots m_fileSlots;  // the file popup's file's
    QString m_okiniEntry; // the entry the favourites' scene submenu was filled for
    QString m_fileEntry;  // the file the file popup's scene submenu was filled for

private:
    QString m_seenFolder;
    // Over the video: "シーン移動(テンキー)" with the jumps, and "シーン編集" with the
    // registrations, the renames (shown only) and the clears, ten items each.
    QMenu *m_m_seen_load = nullptr;
    std::array<QAction *, scenes::kSlots> m_m_seen{};
    QMenu *m_m_edit_seen = nullptr;
    QMenu *m_m_regst = nullptr;
    std::array<QAction *, scenes::kSlots> m_m_reg_seen{};
    QMenu *m_m_change_seen = nullptr;
    std::array<QAction *, scenes::kSlots> m_m_chg_seen{};
    QMenu *m_m_delete_seen = nullptr;
    std::array<QAction *, scenes::kSlots> m_m_del_seen{};
    // The favourites popup's "シーン" (placed there by the favourites page), and its items.
    QMenu *m_m_seen_load_okini = nullptr;
    std::array<QAction *, scenes::kSlots> m_m_seen_okini{};
    // The file popup's "シーン" (placed there by the file page), and its items.
    QMenu *m_m_seen_load_file = nullptr;
    std::array<QAction *, scenes::kSlots> m_m_seen_file{};
};
