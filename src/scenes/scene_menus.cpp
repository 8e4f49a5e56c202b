#include "scenes/scene_menus.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

SceneMenus::SceneMenus(QWidget *window) : QObject(window)
{
    m_seen_load = new QMenu(QStringLiteral("シーン移動(テンキー)"), window);
    m_edit_seen = new QMenu(QStringLiteral("シーン編集"), window);
    for (const char *t : {"シーン登録(ctr+テンキー)", "シーン名変更", "シーン削除"})
        m_edit_seen->addAction(QString::fromUtf8(t))->setEnabled(false);
}

void SceneMenus::load_scene_menus()
{
    // The scene files of the open file come with the scene bookmarks.
}

void SceneMenus::enableForOpenFile(bool open)
{
    m_seen_load->setEnabled(open);
    m_edit_seen->setEnabled(open);
}
