#include "lists/extensions.h"

#include "playback/media_types.h"

int check_kakuchousi(const QString &extension)
{
    const MediaType *t = mediaType(extension);
    return t && t->accepted ? -1 : 0;
}

int can_make_thumbnail(const QString &extension)
{
    const MediaType *t = mediaType(extension);
    return t && t->video && t->thumbnail ? -1 : 0;
}
