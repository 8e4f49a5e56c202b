// The pages of the list pane.
#include "app/player.h"

#include "lists/file_list_box.h"
#include "lists/okini_list.h"
#include "lists/tab_strip.h"
#include "playback/cmovie.h"

#include <QFrame>
#include <QListWidget>

void Player::showFilePage()
{
    List_okini->hide();
    TabM3u->hide();
    List_Find->hide();
    find->hide();
    config->hide();
    File->show();
    Frame_dummy->show();
    TabDir->show();
    File->raise();
}

void Player::showFavouritesPage()
{
    File->hide();
    Frame_dummy->hide();
    TabDir->hide();
    List_Find->hide();
    find->hide();
    config->hide();
    TabM3u->show();
    List_okini->show();
    List_okini->raise();
}

void Player::showSearchPage()
{
    File->hide();
    TabDir->hide();
    List_okini->hide();
    TabM3u->hide();
    config->hide();
    List_Find->show();
    Frame_dummy->show();
    find->show();
}

void Player::showConfigPage()
{
    File->hide();
    Frame_dummy->hide();
    TabDir->hide();
    List_okini->hide();
    TabM3u->hide();
    List_Find->hide();
    find->hide();
    config->show();
    config->raise();
}

void Player::Tab1_Click()
{
    if (movie && movie->DisplaySize == 1)
        return;
    switch (Tab1->selectedIndex()) {
    case 1:
        showFilePage();
        break;
    case 2:
        showFavouritesPage();
        break;
    case 3:
        showSearchPage();
        break;
    case 4:
        showConfigPage();
        break;
    default:
        break;
    }
}
