#include "lists/extensions.h"

#include "playback/media_types.h"

bool check_kakuchousi(const QString &extension)
{
    const MediaType *t = mediaType(extension);
    return t && t->accepted;
}

bool can_make_thumbnail(const QString &extension)
{
    const MediaType *t = mediaType(extension);
    return t && t->video && t->thumbnail;
}
