// Mini mode, full screen and always on top.
#include "app/player.h"

void Player::enterSmallMode()
{
}

void Player::leaveSmallMode()
{
}

void Player::leaveFullScreen()
{
}

void Player::setTopmost()
{
}

void Player::clearTopmost()
{
}

void Player::applyWindowRegion()
{
}
