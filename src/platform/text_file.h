#pragma once
// Whole-file text reading and atomic writing for every state file of the program.
//
// Files are written as UTF-8 with CR LF line ends. Reading accepts CR LF and LF and
// decodes each line on its own: UTF-8 where the line is valid UTF-8, else CP932
// (Shift-JIS, a line made on Windows). A file that mixes both keeps every line.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// Decodes file bytes line by line: each line as UTF-8 when it is valid UTF-8, else as
// CP932 (a line made on Windows). A leading byte-order mark is dropped; line ends are kept.
QString decodeText(const QByteArray &bytes);

// Splits text at CR LF, LF or a lone CR. A final line end does not add an empty line.
QStringList splitLines(const QString &text);

// The lines of a file's bytes: decodeText, then splitLines.
QStringList decodeLines(const QByteArray &bytes);

// Each line encoded as UTF-8 and followed by CR LF.
QByteArray encodeLines(const QStringList &lines);

// A file's bytes; nullopt when the file cannot be opened or read, or is not a regular file
// (a named pipe, a device, a folder: they are never opened).
std::optional<QByteArray> readFileBytes(const QString &path);

// All lines of a file (decodeLines of its bytes); nullopt as for readFileBytes.
std::optional<QStringList> readTextLines(const QString &path);

// Replaces the file with the bytes: they go to a temporary file in the same folder,
// which is then renamed over the old one, so a failing write leaves the old file
// as it was. A file that holds these bytes already is not written again. Returns false
// on any failure.
bool writeFileAtomically(const QString &path, const QByteArray &bytes);

bool writeTextLines(const QString &path, const QStringList &lines);

} // namespace platform
