// The favourites list: its entries, the list files it is loaded from and saved to.
#include "app/player.h"

#include "lists/okini_list.h"

void Player::setThumbnailView(int flag)
{
    thumbnailView = flag;
    List_okini->setThumbnails(flag == -1);
}
