#pragma once
// The media extensions the program accepts, as the table of media types says.

#include <QString>

// Whether the extension (the text after the last "." of a file name) is an accepted media
// type in any letter case (the nine of old, avi, mpg, asf, wmv, mpeg, mov, rm, ram, dat, and
// today's video containers, mp4, mkv, webm …).
bool check_kakuchousi(const QString &extension);

// Whether a video type's thumbnail can be made by the FFmpeg detector, in any letter case.
bool can_make_thumbnail(const QString &extension);
