#pragma once
// Whole-file text reading and atomic writing for every state file of the program.
//
// Files are written as UTF-8 with CR LF line ends. Reading accepts CR LF and LF and
// decodes UTF-8; bytes that are not valid UTF-8 are taken for a file made on Windows
// and decoded as CP932 (Shift-JIS).

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// Decodes file bytes: UTF-8 (a leading byte-order mark is dropped), or CP932 when the
// bytes are not valid UTF-8.
QString decodeText(const QByteArray &bytes);

// Splits text at CR LF, LF or a lone CR. A final line end does not add an empty line.
QStringList splitLines(const QString &text);

// Each line encoded as UTF-8 and followed by CR LF.
QByteArray encodeLines(const QStringList &lines);

// All lines of a file; nullopt when the file cannot be opened or read.
std::optional<QStringList> readTextLines(const QString &path);

// Replaces the file with the bytes: they go to a temporary file in the same folder,
// which is then renamed over the old one, so a failing write leaves the old file
// as it was. Returns false on any failure.
bool writeFileAtomically(const QString &path, const QByteArray &bytes);

bool writeTextLines(const QString &path, const QStringList &lines);

} // namespace platform
