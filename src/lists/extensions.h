#pragma once
// The media extensions the program accepts, as the table of media types says.

#include <QString>

// -1 when the extension (the text after the last "." of a file name) is an accepted media
// type in any letter case (the nine of old, avi, mpg, asf, wmv, mpeg, mov, rm, ram, dat, and
// today's video containers, mp4, mkv, webm …); else 0.
int check_kakuchousi(const QString &extension);

// -1 for a video type whose thumbnail the FFmpeg detector can make, in any letter case; else 0.
int can_make_thumbnail(const QString &extension);
