#pragma once
// The media extensions the program accepts.

#include <QString>

// -1 when the extension (the text after the last "." of a file name) is one of avi, mpg,
// asf, wmv, mpeg, mov, rm, ram, dat in any letter case; else 0.
int check_kakuchousi(const QString &extension);

// -1 for avi, mpg and mpeg in any letter case (the files a thumbnail is made of); else 0.
int can_make_thumbnail(const QString &extension);
