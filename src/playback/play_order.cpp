// The play mode menu and the list operations that the play order uses.
#include "app/player.h"

#include "app/images.h"
#include "lists/file_list_box.h"
#include "lists/okini_list.h"

#include <QAction>

void Player::mode_Click(int index)
{
    for (int i = 0; i < static_cast<int>(mode.size()); ++i)
        mode[std::size_t(i)]->setChecked(i == index);
    static const char *const keys[] = {"normal", "rennzoku", "roop", "rnd"};
    if (index >= 0 && index < 4)
        panelButtons[QStringLiteral("mode")]->setIcon(images::buttonImage(QString::fromLatin1(keys[index])));
}

int Player::getPlayMode() const
{
    for (int i = 0; i < static_cast<int>(mode.size()); ++i)
        if (mode[std::size_t(i)]->isChecked())
            return i;
    return 0;
}

void Player::playNext()
{
    // Stepping through the lists comes with the play-order commands.
}

void Player::playPrevious()
{
}

void Player::setListTopIndex(QWidget *list, int row)
{
    if (auto *f = qobject_cast<FileListBox *>(list))
        f->setTopIndex(row);
    else if (auto *o = qobject_cast<OkiniList *>(list))
        o->ensureVisible(row);
}

int Player::get_okini_index() const
{
    return List_okini->selectedIndex();
}
