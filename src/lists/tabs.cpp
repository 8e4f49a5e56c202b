// The directory tabs (TabDir) and the favourites tabs (TabM3u), their files and menus.
#include "app/player.h"

#include "dialogs/file_dialogs.h"
#include "lists/file_list_box.h"
#include "lists/okini_list.h"
#include "lists/path.h"
#include "lists/tab_files.h"
#include "lists/tab_strip.h"
#include "window/twips.h"
#include "window/controls.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QMenu>
#include <QPixmap>

namespace {

// Folders are compared exactly (the file system tells letter case apart), with or
// without their trailing "/".
bool sameFolder(const QString &a, const QString &b)
{
    return path::addbackslash(a) == path::addbackslash(b);
}

QList<TabRecord> tabsFrom(const TabStrip *strip)
{
    QList<TabRecord> records;
    for (int i = 2; i <= strip->count(); ++i)
        records.append({strip->caption(i), strip->tag(i)});
    return records;
}

} // namespace

void Player::loadTabDir()
{
    const QString current = TabDir->tag(1);
    TabDir->clear();
    TabDir->add(0, QString(), QStringLiteral("current"), current);
    if (const auto records = readTabFile(appDir + QStringLiteral("tabdir.ini"), appDir))
        for (const TabRecord &r : *records)
            TabDir->add(0, QString(), r.caption, r.tag);
}

void Player::saveTabDir()
{
    writeTabFile(appDir + QStringLiteral("tabdir.ini"), tabsFrom(TabDir), appDir, Check_soutai->isChecked(), true);
}

void Player::loadTabM3u()
{
    TabM3u->clear();
    TabM3u->add(0, QString(), QStringLiteral("お気に入り"), appDir + QStringLiteral("okini.ini"));
    if (const auto records = readTabFile(appDir + QStringLiteral("TabM3u.ini"), appDir))
        for (const TabRecord &r : *records)
            TabM3u->add(0, QString(), r.caption, r.tag);
}

void Player::saveTabM3u()
{
    writeTabFile(appDir + QStringLiteral("TabM3u.ini"), tabsFrom(TabM3u), appDir, Check_soutai->isChecked(), false);
}

bool Player::setFilePath(const QString &folder)
{
    while (!File->setPath(folder)) {
        services.dialogs->beep();
        if (services.dialogs->message(this, QStringLiteral("デバイスの準備ができてません。 もう一度試しますか"), QString(),
                                      Dialogs::Buttons::YesNo)
            != Dialogs::Answer::Yes)
            return false;
    }
    return true;
}

void Player::selectTabUnderPointer(TabStrip *strip, QPoint pos)
{
    const int i = strip->tabAt(pos);
    if (i > 0 && i != strip->selectedIndex())
        strip->select(i);
}

void Player::TabDir_MouseUp(Qt::MouseButton button)
{
    const QString before = File->path();
    if (!File->setPath(TabDir->tag(TabDir->selectedIndex()))) {
        services.dialogs->message(this, QStringLiteral("アクセスに失敗しました"), QString(), Dialogs::Buttons::Ok);
        File->setPath(before);
    }
    if (button == Qt::RightButton)
        m_tab->popup(QCursor::pos());
}

void Player::TabM3u_MouseUp(Qt::MouseButton button)
{
    const QString tag = TabM3u->tag(TabM3u->selectedIndex());
    if (tag != gStrM3uName)
        switchOkiniList(tag);
    if (button == Qt::RightButton)
        m_tab_okini->popup(QCursor::pos());
}

void Player::m_add_tab_Click()
{
    const QString folder = browseForFolderWithCallback(*services.dialogs, this,
                                                       QStringLiteral("タブに追加するフォルダを選択してください"),
                                                       File->path(), 16);
    if (folder.isEmpty())
        return;
    for (int i = 2; i <= TabDir->count(); ++i)
        if (sameFolder(TabDir->tag(i), folder))
            return;
    if (!File->setPath(folder))
        return;
    const int at = TabDir->add(TabDir->selectedIndex() + 1, QString(), path::getfiletitle(path::removebackslash(folder)), folder);
    TabDir->select(at);
}

void Player::m_del_tab_Click()
{
    if (TabDir->selectedIndex() == 1) {
        services.dialogs->message(this, QStringLiteral("currentを削除できません"), QStringLiteral("削除不可"),
                                  Dialogs::Buttons::Ok);
        return;
    }
    TabDir->remove(TabDir->selectedIndex());
}

namespace {

// The rename of a tab: the window leaves always-on-top while the input box is open.
QString askTabName(Player &p, TabStrip *strip)
{
    const int i = strip->selectedIndex();
    p.clearTopmost();
    p.isRenaming = true;
    const QString answer = p.services.dialogs->input(
        &p, QStringLiteral("タブ名を変更します。\n\n") + strip->tag(i) + u'\n', QStringLiteral("タブ名変更"),
        strip->caption(i));
    p.isRenaming = false;
    if (p.m_temae->isChecked())
        p.setTopmost();
    else
        p.clearTopmost();
    return answer;
}

} // namespace

void Player::m_change_name_Click()
{
    if (TabDir->selectedIndex() == 1) {
        services.dialogs->message(this, QStringLiteral("currentのタブ名は変更できません"), QStringLiteral("タブ名変更不可"),
                                  Dialogs::Buttons::Ok);
        return;
    }
    const QString name = askTabName(*this, TabDir);
    if (!name.isEmpty())
        TabDir->setCaption(TabDir->selectedIndex(), name);
}

void Player::m_change_dir_Click()
{
    const QString folder = browseForFolderWithCallback(
        *services.dialogs, this, QStringLiteral("変更するフォルダを選択してください"), File->path(), 16);
    if (folder.isEmpty() || !File->setPath(folder))
        return;
    TabDir->setTag(TabDir->selectedIndex(), folder);
}

void Player::m_add_tab_okini_Click()
{
    FileDialogRequest r = m3uRequest(QStringLiteral("m3uファイルをタブに追加"), appDir, 1);
    if (!showOpenFileDialog(*services.dialogs, this, r))
        return;
    for (int i = 1; i <= TabM3u->count(); ++i)
        if (TabM3u->tag(i) == r.fullPath)
            return;
    // The list shown so far is kept in its own file before another one replaces it.
    switchOkiniList(r.fullPath);
    const int at = TabM3u->add(TabM3u->selectedIndex() + 1, QString(), path::getfiletitle(r.fullPath), r.fullPath);
    TabM3u->select(at);
}

void Player::m_del_tab_okini_Click()
{
    if (TabM3u->selectedIndex() == 1) {
        services.dialogs->message(this, QStringLiteral("okini.iniを削除できません"), QStringLiteral("削除不可"),
                                  Dialogs::Buttons::Ok);
        return;
    }
    TabM3u->remove(TabM3u->selectedIndex());
}

void Player::m_change_name_okini_Click()
{
    if (TabM3u->selectedIndex() == 1) {
        services.dialogs->message(this, QStringLiteral("お気に入りのタブ名は変更できません"),
                                  QStringLiteral("タブ名変更不可"), Dialogs::Buttons::Ok);
        return;
    }
    const QString name = askTabName(*this, TabM3u);
    if (!name.isEmpty())
        TabM3u->setCaption(TabM3u->selectedIndex(), name);
}

void Player::m_change_m3u_Click()
{
    FileDialogRequest r = m3uRequest(QStringLiteral("変更するm3uを選択"), QString(), 0);
    if (!showOpenFileDialog(*services.dialogs, this, r))
        return;
    switchOkiniList(r.fullPath);
    TabM3u->setTag(TabM3u->selectedIndex(), r.fullPath);
}

void Player::m_OpenDirectory_Click()
{
    const QString folder = browseForFolderWithCallback(*services.dialogs, this,
                                                       QStringLiteral("フォルダを選択してください"), File->path(), 16);
    if (folder.isEmpty())
        return; // a cancelled browser asks for nothing
    setFilePath(folder);
    TabDir->select(1);
}

void Player::tmr_okini_Timer()
{
    tmr_okini->setInterval(60000);
    List_okini->setBackgroundPicture(Pic_loading);
    QCoreApplication::processEvents();
    load_okini(TabM3u->tag(TabM3u->selectedIndex()));
    if (m_unloaded)
        return; // the window closed during the load: shutdown has saved everything
    tmr_okini->setEnabled(false);
    List_okini->setBackgroundPicture(QPixmap());
    Check_loadthum->setChecked(thumbnailView == -1);
}
