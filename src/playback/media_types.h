#pragma once
// The one table of the media types the program accepts: for each extension (matched
// without regard to letter case) which engine plays it, whether it is a video type, whether
// a thumbnail can be made of it, and its MIME type from the shared MIME database. The
// accepted extensions, the file list's pattern, the engine choice, the command line, drops
// and the desktop entry's MIME types all come from here.

#include <QString>
#include <QStringList>

enum class MediaEngine {
    Ordinary,  // CMovie
    RealMedia, // the RealMedia control
};

struct MediaType
{
    const char *extension;
    MediaEngine engine;
    bool video;     // a video container (else audio only, or a playlist)
    bool thumbnail; // the FFmpeg thumbnail maker can open it
    bool accepted;  // opened, dropped and added as a media file
};

// The table's entry for an extension (the text after a name's last "."), or nullptr.
const MediaType *mediaType(const QString &extension);

// Every entry of the table, in the file list's order.
const QList<MediaType> &mediaTypes();

// "*.mpg;*.avi;…": the names the file list shows (every type of the table).
QString fileListPattern();

// The MIME types of the table's accepted types, from the shared MIME database, once each,
// in the table's order; the desktop entry and the metainfo declare these.
QStringList mediaMimeTypes();

// The MIME type of one extension from the shared MIME database ("" when unknown); of
// several, a video type.
QString mimeTypeOf(const QString &extension);
