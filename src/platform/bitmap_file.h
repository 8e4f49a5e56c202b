#pragma once
// Pictures as 24-bit Windows bitmap files, the format of the thumbnails in the image folder.

#include <QByteArray>
#include <QString>

namespace platform {

// An RGB picture in memory: rows from the top, 3 bytes per pixel (red, green, blue), no
// padding between rows, so pixels holds width × height × 3 bytes.
struct RgbImage
{
    int width = 0;
    int height = 0;
    QByteArray pixels;

    bool isValid() const
    {
        return width > 0 && height > 0 && pixels.size() == static_cast<qsizetype>(width) * height * 3;
    }
};

// The bytes of a 24-bit bitmap file of the picture: a 14-byte file header, a 40-byte info
// header, then the rows from the bottom up in blue, green, red order, each padded to a
// multiple of 4 bytes. 100 × 75 pixels make 22,554 bytes. Empty for an invalid picture.
QByteArray bitmapBytes(const RgbImage &image);

// Writes the picture as a bitmap file, through a temporary file in the same folder that
// replaces the old file only when it is complete. False on any failure.
bool writeBitmapFile(const QString &path, const RgbImage &image);

} // namespace platform
