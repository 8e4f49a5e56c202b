#pragma once

class Player;

// Runs the main window's shutdown when the process gets SIGTERM, SIGINT or SIGHUP, or the
// desktop session ends, so the state files are written then too.
void endOnSignals(Player *player);
