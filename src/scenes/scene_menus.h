#pragma once
// The scene menus: ten remembered positions per media file (scene_file.h). Over the video,
// "シーン移動" jumps to a scene of the open file and "シーン編集" registers, shows or
// clears them; the "シーン" of the file popup and of the favourites popup jump into the
// selected file's scenes, opening it first when it is not the open file.

#include "scenes/scene_file.h"

#include <QObject>
#include <QString>

#include <array>

class ControlBar;
class MediaCommands;
class NowPlaying;
class QAction;
class QMenu;
class QWidget;

class SceneMenus : public QObject
{
    Q_OBJECT
public:
    // Positions come from `nowPlaying` and, for the captions, from the seek bar of
    // `controls`; `media` opens a favourites entry before a jump into it.
    SceneMenus(QWidget *window, NowPlaying &nowPlaying, ControlBar &controls, MediaCommands &media);

    QString seenFolder;

    // Over the video: "シーン移動(テンキー)" with the jumps, and "シーン編集" with the
    // registrations, the renames (shown only) and the clears, ten items each.
    QMenu *m_seen_load = nullptr;
    std::array<QAction *, scenes::kSlots> m_seen{};
    QMenu *m_edit_seen = nullptr;
    QMenu *m_regst = nullptr;
    std::array<QAction *, scenes::kSlots> m_reg_seen{};
    QMenu *m_change_seen = nullptr;
    std::array<QAction *, scenes::kSlots> m_chg_seen{};
    QMenu *m_delete_seen = nullptr;
    std::array<QAction *, scenes::kSlots> m_del_seen{};

    // The favourites popup's "シーン" (placed there by the favourites page), and its items.
    QMenu *m_seen_load_okini = nullptr;
    std::array<QAction *, scenes::kSlots> m_seen_okini{};

    // The file popup's "シーン" (placed there by the file page), and its items.
    QMenu *m_seen_load_file = nullptr;
    std::array<QAction *, scenes::kSlots> m_seen_file{};

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

private:
    // The ten slots as the jump menu holds them.
    scenes::SceneSlots seenSlots() const;
    // Writes the open file's scene file with these slots (removing it when none is in use)
    // and refills the menus; nothing when no file is open or the file is not written.
    void saveScenes(const scenes::SceneSlots &slots);
    // Fills a popup's scene submenu from the scene file of `file` ("": none).
    void fillPopupScenes(QMenu *menu, const std::array<QAction *, scenes::kSlots> &items, const QString &file);
    // Opens `file` unless it is open, then jumps to its slot k.
    void jumpInto(const QString &file, int k);

    NowPlaying &m_now;
    ControlBar &m_controls;
    MediaCommands &m_media;
    QString m_okiniEntry; // the entry the favourites' scene submenu was filled for
    QString m_fileEntry;  // the file the file popup's scene submenu was filled for
};
