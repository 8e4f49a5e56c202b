#include "app/shell_associations.h"

#include "app/associations.h"
#include "platform/text_file.h"
#include "playback/media_types.h"
#include "widgets/twips.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

const char *const kExtensions[8] = {"mpg", "mpeg", "avi", "asf", "wmv", "mov", "rm", "ram"};

const QString &ownId()
{
    static const QString id = QLatin1String(associations::kDesktopId);
    return id;
}

// Only a regular file is read (a named pipe would wait for a writer for good).
std::optional<QByteArray> readFile(const QString &path)
{
    return platform::readFileBytes(path);
}

} // namespace

ShellAssociations::ShellAssociations(QWidget *frame, const std::function<void(QWidget *)> &place, QString program,
                                     QObject *parent)
    : QObject(parent), m_program(std::move(program))
{
    const auto label = [&](const QString &caption, int top) {
        auto *l = new QLabel(caption, frame);
        l->setWordWrap(true);
        twips::place(l, 120, top, 4600, 255);
        place(l);
    };
    // Four boxes to a row; each default box stands below its extension's association box.
    const auto box = [&](const char *name, int index, int column, int top) {
        auto *c = new QCheckBox(QString::fromLatin1(kExtensions[column]), frame);
        c->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(name)).arg(index));
        twips::place(c, 240 + (column % 4) * 1140, top + (column / 4) * 300, 1050, 285);
        place(c);
        return c;
    };
    label(QStringLiteral("Plovanaを関連付ける"), 120);
    for (int i = 0; i < 8; ++i)
        m_Check_kanren[std::size_t(i)] = box("Check_kanren", i, i, 420);
    label(QStringLiteral("デフォルトにする"), 1140);
    for (int column = 0; column < 8; ++column) {
        const int i = pairedIndex(column);
        m_Check_default[std::size_t(i)] = box("Check_default", i, column, 1440);
    }
    m_BtDeleteAll = new QPushButton(QStringLiteral("関連付け全解除"), frame);
    m_BtDeleteAll->setObjectName(QStringLiteral("BtDeleteAll"));
    twips::place(m_BtDeleteAll, 240, 2160, 2200, 360);
    place(m_BtDeleteAll);

    for (int i = 0; i < 8; ++i) {
        connect(m_Check_kanren[std::size_t(i)], &QCheckBox::toggled, this, [this, i] { Check_kanren_Click(i); });
        connect(m_Check_default[std::size_t(i)], &QCheckBox::toggled, this, [this, i] { Check_default_Click(i); });
    }
    connect(m_BtDeleteAll, &QPushButton::clicked, this, &ShellAssociations::BtDeleteAll_Click);
}

QString ShellAssociations::extensionOf(int index)
{
    return index >= 0 && index < 8 ? QString::fromLatin1(kExtensions[index]) : QString();
}

int ShellAssociations::pairedIndex(int index)
{
    return index == 6 ? 7 : index == 7 ? 6 : index;
}

QString ShellAssociations::mimeTypeOf(int index)
{
    return ::mimeTypeOf(extensionOf(index));
}

std::optional<QByteArray> ShellAssociations::readList()
{
    // A missing file is an empty list; one that is there but cannot be read is nullopt, and
    // is never written over (its other programs' lines would be lost).
    const QString file = associations::mimeappsListFile();
    if (!QFileInfo(file).exists() && !QFileInfo(file).isSymLink())
        return QByteArray();
    return readFile(file);
}

void ShellAssociations::writeList(const std::optional<QByteArray> &before, const QByteArray &after)
{
    if (!before || after == *before)
        return;
    QDir().mkpath(associations::configHome());
    platform::writeFileAtomically(associations::mimeappsListFile(), after);
}

void ShellAssociations::ensureDesktopEntry()
{
    // An installed entry is named as it is: a copy of our own would hide it.
    if (!associations::installedDesktopEntryFile().isEmpty())
        return;
    const QString file = associations::userDesktopEntryFile();
    if (const auto text = readFile(file)) {
        for (const QByteArray &line : text->split('\n')) {
            const QByteArray t = line.trimmed();
            if (t.startsWith("Exec=") || t.startsWith("Exec ")) {
                const QString exec = QString::fromUtf8(t.mid(t.indexOf('=') + 1).trimmed());
                if (associations::execProgram(exec) == m_program)
                    return;
                break;
            }
        }
    }
    QDir().mkpath(QFileInfo(file).path());
    platform::writeFileAtomically(file, associations::desktopEntryText(m_program));
}

void ShellAssociations::removeStaleDesktopEntry()
{
    const QString file = associations::userDesktopEntryFile();
    const auto text = readFile(file);
    if (!text)
        return;
    const auto program = associations::ownDesktopEntryProgram(*text);
    if (program && !QFileInfo::exists(*program))
        QFile::remove(file);
}

void ShellAssociations::Check_kanren_Click(int index)
{
    const QString type = mimeTypeOf(index);
    if (type.isEmpty())
        return; // no type: nothing is written (an empty type would claim every unknown file)
    QCheckBox *defaultBox = m_Check_default[std::size_t(pairedIndex(index))];
    const std::optional<QByteArray> before = readList();
    const QByteArray text = before.value_or(QByteArray());
    if (m_Check_kanren[std::size_t(index)]->isChecked()) {
        if (before)
            ensureDesktopEntry();
        QByteArray after = associations::appendId(text, associations::group::added, type, ownId());
        after = associations::removeId(after, associations::group::removed, type, ownId());
        writeList(before, after);
        defaultBox->setEnabled(true);
        return;
    }
    QByteArray after = associations::removeId(text, associations::group::added, type, ownId());
    after = associations::removeId(after, associations::group::defaults, type, ownId());
    writeList(before, after);
    defaultBox->setEnabled(false);
    defaultBox->setChecked(false);
}

void ShellAssociations::Check_default_Click(int index)
{
    const QString type = mimeTypeOf(pairedIndex(index));
    if (type.isEmpty())
        return;
    const std::optional<QByteArray> before = readList();
    const QByteArray text = before.value_or(QByteArray());
    const QByteArray after = m_Check_default[std::size_t(index)]->isChecked()
                                 ? associations::putIdFirst(text, associations::group::defaults, type, ownId())
                                 : associations::removeId(text, associations::group::defaults, type, ownId());
    writeList(before, after);
}

void ShellAssociations::BtDeleteAll_Click()
{
    for (QCheckBox *c : m_Check_kanren)
        c->setChecked(false);
}

void ShellAssociations::readAssociations()
{
    removeStaleDesktopEntry();
    const QByteArray list = readList().value_or(QByteArray());
    for (int i = 0; i < 8; ++i) {
        QCheckBox *kanren = m_Check_kanren[std::size_t(i)];
        QCheckBox *defaultBox = m_Check_default[std::size_t(pairedIndex(i))];
        // The boxes show the file: their handlers (which write) do not run.
        const QSignalBlocker blockKanren(kanren), blockDefault(defaultBox);
        const QString type = mimeTypeOf(i);
        if (type.isEmpty()) {
            kanren->setEnabled(false);
            defaultBox->setEnabled(false);
            continue;
        }
        if (associations::isListed(list, associations::group::added, type, ownId())) {
            kanren->setChecked(true);
            defaultBox->setEnabled(true);
        } else {
            defaultBox->setEnabled(false);
        }
        defaultBox->setChecked(associations::isListedFirst(list, associations::group::defaults, type, ownId()));
    }
}
