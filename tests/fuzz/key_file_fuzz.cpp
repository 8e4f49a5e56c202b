// key.ini: a notice line, then the eleven shortcut keys, one quoted value per line. The
// file is read with the one-value-per-line quoted-record reader; the bindings are taken
// from its values by keyBindings below, which stands in for the key-binding feature's own
// reader until that exists: eleven bindings of at most one character each, and a save and
// a load give the same eleven back.
#include "platform/quoted_records.h"

#include "fuzz_support.h"

#include <array>

namespace {

constexpr int kBindings = 11;
using Bindings = std::array<QString, kBindings>;

// Play, stop, fast forward, rewind, next, previous, normal, double and half speed, add to
// favourites, capture: the keys a missing or empty value gives.
const char *const kDefaults[kBindings] = {"Q", "W", "X", "Z", "S", "A", "1", "2", "3", "D", "C"};
const QString kNotice = QStringLiteral("このファイルを編集しないでください");

// The first character (a whole code point, never half a surrogate pair) of the value on
// line 2 + i; the default where the value is empty or the line is missing.
Bindings keyBindings(const QList<QStringList> &records)
{
    Bindings b;
    for (int i = 0; i < kBindings; ++i) {
        const QString value = records.value(i + 1).value(0);
        if (value.isEmpty()) {
            b[std::size_t(i)] = QString::fromLatin1(kDefaults[i]);
            continue;
        }
        const qsizetype n = value.size() > 1 && value.at(0).isHighSurrogate() && value.at(1).isLowSurrogate() ? 2 : 1;
        b[std::size_t(i)] = value.left(n);
    }
    return b;
}

QByteArray formatKeys(const Bindings &b)
{
    QList<QStringList> records{{kNotice}};
    for (const QString &key : b)
        records.append({key});
    return platform::formatQuotedRecords(records);
}

std::string shown(const Bindings &b)
{
    std::string out;
    for (const QString &key : b)
        out += fuzz::shown(key) + " ";
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const Bindings keys = keyBindings(platform::parseQuotedRecords(fuzz::bytes(data, size), 1));
    for (const QString &key : keys)
        FUZZ_CHECK(!key.isEmpty() && key.toUcs4().size() == 1, shown(keys));
    const QByteArray saved = formatKeys(keys);
    const Bindings back = keyBindings(platform::parseQuotedRecords(saved, 1));
    FUZZ_CHECK(back == keys, shown(keys) + "\n" + fuzz::shown(saved) + "\n" + shown(back));
    return 0;
}
