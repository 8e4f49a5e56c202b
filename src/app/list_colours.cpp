#include "app/list_colours.h"

#include "platform/profile.h"

#include <QFileInfo>

std::optional<ListColours> readColorIni(const QString &file)
{
    if (!QFileInfo(file).isFile())
        return std::nullopt;
    ListColours c;
    c.fore = platform::getPrivateProfileInt(QStringLiteral("list"), QStringLiteral("ForeColor"), 0, file);
    c.back = platform::getPrivateProfileInt(QStringLiteral("list"), QStringLiteral("BackColor"), 0, file);
    return c;
}

bool writeColorIni(const QString &file, const ListColours &colours)
{
    const bool fore = platform::writePrivateProfileString(QStringLiteral("list"), QStringLiteral("ForeColor"),
                                                          QString::number(colours.fore), file);
    const bool back = platform::writePrivateProfileString(QStringLiteral("list"), QStringLiteral("BackColor"),
                                                          QString::number(colours.back), file);
    return fore && back;
}
