#pragma once
// INI profile functions with the behaviour the settings files were written for:
// section and key names are compared without regard to letter case, every other line of
// the file is kept on writing, a string is read into a buffer of 256 bytes (so at most 255
// bytes of a value come back), and an integer is an optional "-" followed by the digits
// up to the first other character. Writes replace the file atomically.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// The lines of one INI file, with lookups and in-place edits.
class IniDocument
{
public:
    IniDocument() = default;
    explicit IniDocument(QStringList lines) : m_lines(std::move(lines)) {}

    // Reads the file; a missing or unreadable file gives an empty document.
    static IniDocument load(const QString &path);
    // The document of a file's bytes.
    static IniDocument fromBytes(const QByteArray &bytes);

    const QStringList &lines() const { return m_lines; }
    // The bytes a save writes (UTF-8, CR LF).
    QByteArray toBytes() const;

    // The trimmed value of the first matching key of the first matching section, with one
    // pair of enclosing quotes removed; nullopt when the section or key is absent.
    std::optional<QString> value(const QString &section, const QString &key) const;

    // Replaces the key's line, or adds it at the end of its section, or adds the section
    // at the end of the file. value() gives the value back: one with blanks at either end
    // or enclosing quotes is written in double quotes; a value is written up to its first
    // line break.
    void setValue(const QString &section, const QString &key, const QString &value);

private:
    QStringList m_lines;
};

// The value cut to at most maxBytes bytes of UTF-8, never inside a character.
QString truncateToBytes(const QString &text, int maxBytes);

// An optional "-" and the digits up to the first other character; no digits read as 0.
// Values beyond the 32-bit range are clamped to it.
int parseProfileInt(const QString &text);

QString getPrivateProfileString(const QString &section, const QString &key,
                                const QString &defaultValue, const QString &file,
                                int bufferSize = 256);

int getPrivateProfileInt(const QString &section, const QString &key, int defaultValue,
                         const QString &file);

// Creates the file and the section as needed. Returns false when the file cannot be written.
bool writePrivateProfileString(const QString &section, const QString &key,
                               const QString &value, const QString &file);

} // namespace platform
