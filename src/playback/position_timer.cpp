// The position timer: follows playback and handles the end of a file.
#include "app/player.h"

void Player::tmrPosition_Timer()
{
}
