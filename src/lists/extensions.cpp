#include "lists/extensions.h"

#include <QStringList>

namespace {
bool oneOf(const QString &ext, std::initializer_list<const char16_t *> names)
{
    for (const char16_t *n : names)
        if (ext.compare(QStringView(n), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}
} // namespace

int check_kakuchousi(const QString &extension)
{
    return oneOf(extension, {u"avi", u"mpg", u"asf", u"wmv", u"mpeg", u"mov", u"rm", u"ram", u"dat"})
               ? -1
               : 0;
}

int can_make_thumbnail(const QString &extension)
{
    return oneOf(extension, {u"avi", u"mpg", u"mpeg"}) ? -1 : 0;
}
