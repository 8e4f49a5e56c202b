// Loaders and savers that start-up and shutdown call in their places, and that belong to
// parts of the program still to come. Each is a named step that does nothing yet.
#include "app/player.h"

void Player::loadListColors() {}
void Player::saveListColors() {}
void Player::readAssociations() {}
