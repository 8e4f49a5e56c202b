#include "platform/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <cerrno>
#include <iconv.h>

namespace platform {

namespace {

// Converts CP932 (Shift-JIS as Windows writes it) to text. One converter serves every
// line of a file, so a file with many such lines opens iconv once.
class Cp932Decoder
{
public:
    Cp932Decoder() : m_cd(iconv_open("UTF-8", "CP932")) {}
    ~Cp932Decoder()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    Cp932Decoder(const Cp932Decoder &) = delete;
    Cp932Decoder &operator=(const Cp932Decoder &) = delete;

    QString decode(const QByteArray &bytes)
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            return QString::fromLatin1(bytes);
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr); // a fresh start for each line
        QByteArray out;
        out.resize(bytes.size() * 3 + 16);
        char *in = const_cast<char *>(bytes.constData());
        size_t inLeft = static_cast<size_t>(bytes.size());
        char *dst = out.data();
        size_t outLeft = static_cast<size_t>(out.size());
        while (inLeft > 0) {
            if (iconv(m_cd, &in, &inLeft, &dst, &outLeft) != static_cast<size_t>(-1))
                break;
            if (errno == E2BIG)
                break; // cannot happen with three bytes out per byte in
            // An invalid or truncated sequence: keep the byte as U+FFFD and go on, so
            // one bad byte never hides the rest of the line.
            if (outLeft < 3)
                break;
            *dst++ = '\xEF';
            *dst++ = '\xBF';
            *dst++ = '\xBD';
            outLeft -= 3;
            ++in;
            --inLeft;
        }
        out.resize(static_cast<qsizetype>(dst - out.data()));
        return QString::fromUtf8(out);
    }

private:
    iconv_t m_cd;
};

// One line's bytes as UTF-8 when they are valid UTF-8, else as CP932.
QString decodeLine(const QByteArray &bytes, Cp932Decoder &cp932)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return cp932.decode(bytes);
}

} // namespace

QString decodeText(const QByteArray &bytes)
{
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF"))
        data.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(data);
    if (!utf8.hasError())
        return text; // the usual case: the whole file is UTF-8
    // Some line is not UTF-8. Each line is decoded on its own, so that one line made on
    // Windows does not turn every UTF-8 line of the file into nonsense. CR and LF never
    // occur inside a CP932 character (its second bytes are 0x40 and above), so the bytes
    // can be split at them before decoding. The line ends themselves are kept.
    Cp932Decoder cp932;
    text.clear();
    text.reserve(data.size());
    qsizetype start = 0;
    const qsizetype n = data.size();
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && data.at(i) != '\r' && data.at(i) != '\n')
            continue;
        text += decodeLine(data.mid(start, i - start), cp932);
        if (i < n)
            text += QChar::fromLatin1(data.at(i));
        start = i + 1;
    }
    return text;
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QStringList decodeLines(const QByteArray &bytes)
{
    return splitLines(decodeText(bytes));
}

QByteArray encodeLines(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines) {
        out += line.toUtf8();
        out += "\r\n";
    }
    return out;
}

std::optional<QByteArray> readFileBytes(const QString &path)
{
    // Only a regular file (a link to one included) is read: opening a named pipe waits for
    // a writer that never comes, and a device may never end.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

std::optional<QStringList> readTextLines(const QString &path)
{
    const auto bytes = readFileBytes(path);
    if (!bytes)
        return std::nullopt;
    return decodeLines(*bytes);
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    // A file that holds these bytes already is left as it is (no new file, no new time).
    {
        QFile old(path);
        if (old.exists() && old.size() == bytes.size() && old.open(QIODevice::ReadOnly) && old.readAll() == bytes)
            return true;
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

bool writeTextLines(const QString &path, const QStringList &lines)
{
    return writeFileAtomically(path, encodeLines(lines));
}

} // namespace platform
