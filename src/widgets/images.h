#pragma once
// The program's pictures, drawn once at start-up: the program's icon, the logo, the list-toggle arrows, the
// toolbar images (image list "button_image") and the thumbnail placeholders.

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace images {

// The program's icon (a film frame with a play triangle) in every size the desktop's
// icon theme gets it: the window's and the tray's icon. Rendered at build time from
// data/icons/ and linked in as resources.
QIcon appIcon();
// The sizes appIcon holds, in pixels.
QList<int> appIconSizes();

QPixmap logo();
// The list-toggle button: "hide the list" (left arrow) and "show the list" (right arrow).
QPixmap listToggleLeft();
QPixmap listToggleRight();
// A toolbar image by key: play, stop, pre, next, size, speed images bai20 bai15 bai10
// bai05, mode images normal rennzoku roop rnd, temae, usiro, capture, capture_mask, fullscreen,
// and the list editor's up, down and del.
QIcon buttonImage(const QString &key);
// The 100 × 75 picture of an entry without a thumbnail.
QPixmap noImage();
// The list background shown while the favourites load.
QPixmap loadingPicture();

} // namespace images
