#pragma once
// The scene menus of the open file: "シーン移動" and "シーン編集", and the folder of the
// scene files.

#include <QObject>
#include <QString>

class QMenu;
class QWidget;

class SceneMenus : public QObject
{
    Q_OBJECT
public:
    explicit SceneMenus(QWidget *window);

    QString seenFolder;
    QMenu *m_seen_load = nullptr;
    QMenu *m_edit_seen = nullptr;

    // Fills the scene menus for the file just opened.
    void load_scene_menus();
    // The menus can be used only while a file is open.
    void enableForOpenFile(bool open);
};
