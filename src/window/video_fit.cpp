// Fitting the picture into the video area.
#include "app/player.h"

#include "playback/cmovie.h"
#include "window/controls.h"

void Player::fitVideo()
{
    // Until the fitting options are built, the picture fills the video area.
    if (movie)
        movie->SetWindowSize(display->width(), display->height());
}

void Player::setVideoScale(double)
{
}

void Player::optimizeWindowSize()
{
}

void Player::applyClipping()
{
}
