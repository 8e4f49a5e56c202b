#include "lists/file_search.h"

#include "lists/extensions.h"
#include "platform/path.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

namespace filesearch {

namespace {

std::u32string folded(const QString &s)
{
    const QList<uint> units = s.toCaseFolded().toUcs4();
    return std::u32string(units.begin(), units.end());
}

// "*" any run, "?" one character, everything else itself. Greedy with one backtrack point,
// linear in practice and never worse than name length × pattern length.
bool globMatch(const std::u32string &name, const std::u32string &pattern)
{
    std::size_t n = 0, p = 0;
    std::size_t starP = std::u32string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == U'?' || (pattern[p] != U'*' && pattern[p] == name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == U'*') {
            starP = p++;
            starN = n;
        } else if (starP != std::u32string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*')
        ++p;
    return p == pattern.size();
}

struct Matcher
{
    std::u32string pattern;
    explicit Matcher(const QString &text) : pattern(folded(u'*' + text + u'*')) {}
    bool operator()(const QString &name) const { return globMatch(folded(name), pattern); }
};

// A name as the file system holds it, as text; nullopt-like empty result for bytes that
// are not valid UTF-8 (such a file could not be named in a list file either).
bool decodeName(const char *bytes, QString &out)
{
    const std::size_t len = std::strlen(bytes);
    bool ascii = true;
    for (std::size_t i = 0; i < len; ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) {
        out = QString::fromLatin1(bytes, static_cast<qsizetype>(len));
        return true;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    out = decoder(QByteArrayView(bytes, static_cast<qsizetype>(len)));
    return !decoder.hasError();
}

struct Entry
{
    QString name;
    QByteArray bytes;
    bool folder = false; // a real folder, not a link to one
};

bool nameOrder(const Entry &a, const Entry &b)
{
    const int c = a.name.compare(b.name, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a.name < b.name;
}

class Walk
{
public:
    Walk(const QString &text, int limit, const std::atomic<bool> &cancel,
         const std::function<void(const Found &)> &found)
        : m_match(text), m_limit(limit), m_cancel(cancel), m_found(found)
    {
    }

    int count() const { return m_count; }

    bool stopped() const { return m_count >= m_limit || m_cancel.load(std::memory_order_relaxed); }

    // A folder: read once, its matching files listed, then each subfolder in turn.
    void folder(const QByteArray &dirBytes, const QString &dir)
    {
        std::vector<Entry> files;
        std::vector<Entry> folders;
        if (!read(dirBytes, files, folders))
            return; // unreadable: skipped
        search_dir(dir, files);
        search_subdirs(dirBytes, dir, folders);
    }

    // The matching media files of one folder, in name order.
    void search_dir(const QString &dir, std::vector<Entry> &files)
    {
        std::sort(files.begin(), files.end(), nameOrder);
        for (const Entry &f : files) {
            if (stopped())
                return;
            m_found(Found{dir, f.name});
            ++m_count;
        }
    }

    // Each subfolder of one folder in name order, depth first; none once the search is
    // full or stopped.
    void search_subdirs(const QByteArray &dirBytes, const QString &dir, std::vector<Entry> &folders)
    {
        std::sort(folders.begin(), folders.end(), nameOrder);
        for (const Entry &d : folders) {
            if (stopped())
                return;
            folder(dirBytes + d.bytes + '/', dir + d.name + u'/');
        }
    }

private:
    // The folder's matching media files and its subfolders. False when it cannot be read.
    bool read(const QByteArray &dirBytes, std::vector<Entry> &files, std::vector<Entry> &folders)
    {
        DIR *d = opendir(dirBytes.constData());
        if (!d)
            return false;
        while (const dirent *e = readdir(d)) {
            if (m_cancel.load(std::memory_order_relaxed))
                break;
            const char *raw = e->d_name;
            if (raw[0] == '.' && (raw[1] == 0 || (raw[1] == '.' && raw[2] == 0)))
                continue;
            Entry entry;
            if (!decodeName(raw, entry.name))
                continue;
            unsigned char type = e->d_type;
            if (type == DT_UNKNOWN) {
                struct stat st{};
                if (lstat((dirBytes + raw).constData(), &st) != 0)
                    continue;
                type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : S_ISLNK(st.st_mode) ? DT_LNK : 0;
            }
            if (type == DT_DIR) {
                entry.bytes = QByteArray(raw);
                entry.folder = true;
                folders.push_back(std::move(entry));
                continue;
            }
            if (type != DT_REG && type != DT_LNK)
                continue;
            const qsizetype dot = entry.name.lastIndexOf(u'.');
            if (dot < 0 || !check_kakuchousi(entry.name.mid(dot + 1)) || !m_match(entry.name))
                continue;
            if (type == DT_LNK) {
                // A link counts when it leads to a regular file.
                struct stat st{};
                if (stat((dirBytes + raw).constData(), &st) != 0 || !S_ISREG(st.st_mode))
                    continue;
            }
            files.push_back(std::move(entry));
        }
        closedir(d);
        return true;
    }

    Matcher m_match;
    int m_limit;
    const std::atomic<bool> &m_cancel;
    const std::function<void(const Found &)> &m_found;
    int m_count = 0;
};

} // namespace

bool nameMatches(const QString &name, const QString &text)
{
    return Matcher(text)(name);
}

int searchTree(const QString &root, const QString &text, int limit, const std::atomic<bool> &cancel,
               const std::function<void(const Found &)> &found)
{
    if (root.isEmpty() || !root.startsWith(u'/') || limit <= 0)
        return 0;
    const QString dir = path::addbackslash(root);
    const QByteArray dirBytes = QFile::encodeName(dir);
    struct stat st{};
    if (stat(dirBytes.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return 0;
    Walk walk(text, limit, cancel, found);
    walk.folder(dirBytes, dir);
    return walk.count();
}

} // namespace filesearch
