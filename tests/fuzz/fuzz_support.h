#pragma once
// What the fuzz targets share: the input as bytes, and a property check that stops the run
// (libFuzzer keeps the input as a crash artifact) with the values that broke it.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

inline QByteArray bytes(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

// A string with every character outside printable ASCII as \uXXXX, for the messages.
inline std::string shown(const QString &s)
{
    std::string out = "\"";
    for (const QChar c : s) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F && c != u'\\') {
            out += static_cast<char>(c.unicode());
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", c.unicode());
            out += buf;
        }
    }
    return out + "\"";
}

// File bytes with every byte outside printable ASCII as \xNN, a new line after each LF.
inline std::string shown(const QByteArray &bytes)
{
    std::string out;
    for (const char b : bytes) {
        const unsigned char c = static_cast<unsigned char>(b);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
            if (c == '\n')
                out += '\n';
        }
    }
    return out;
}

inline std::string shown(const QStringList &l)
{
    std::string out = "{";
    for (const QString &s : l)
        out += shown(s) + " ";
    return out + "}";
}

// A path with every run of "/" made one: the same path to the file system. A path saved
// in its relative form may come back with a "//" spelled "/".
inline QString samePath(QString path)
{
    while (path.contains(QStringLiteral("//")))
        path.replace(QStringLiteral("//"), QStringLiteral("/"));
    return path;
}

[[noreturn]] inline void broken(const char *property, const char *file, int line, const std::string &detail)
{
    std::fprintf(stderr, "property broken: %s (%s:%d)\n%s\n", property, file, line, detail.c_str());
    std::abort();
}

} // namespace fuzz

// Aborts with the property's text and `detail` (a std::string) when `cond` is false.
#define FUZZ_CHECK(cond, detail)                                                                 \
    do {                                                                                         \
        if (!(cond))                                                                             \
            ::fuzz::broken(#cond, __FILE__, __LINE__, (detail));                                 \
    } while (0)
