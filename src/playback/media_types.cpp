#include "playback/media_types.h"

#include <QMimeDatabase>

namespace {

// The nine types of old (avi, mpg, asf, wmv, mpeg, mov, rm, ram, dat) and the audio-only
// .ra that the file list shows, then the video containers people keep today. Audio-only
// formats stay out, as before. A RealMedia playlist (.ram) is text, so no thumbnail.
const QList<MediaType> kTypes = {
    {"mpg", MediaEngine::Ordinary, true, true, true},
    {"avi", MediaEngine::Ordinary, true, true, true},
    {"mpeg", MediaEngine::Ordinary, true, true, true},
    {"asf", MediaEngine::Ordinary, true, true, true},
    {"wmv", MediaEngine::Ordinary, true, true, true},
    {"mov", MediaEngine::Ordinary, true, true, true},
    {"rm", MediaEngine::RealMedia, true, true, true},
    {"ram", MediaEngine::RealMedia, true, false, true},
    {"ra", MediaEngine::RealMedia, false, false, false},
    {"dat", MediaEngine::Ordinary, true, true, true},
    {"mp4", MediaEngine::Ordinary, true, true, true},
    {"m4v", MediaEngine::Ordinary, true, true, true},
    {"mkv", MediaEngine::Ordinary, true, true, true},
    {"webm", MediaEngine::Ordinary, true, true, true},
    {"ogv", MediaEngine::Ordinary, true, true, true},
    {"ogm", MediaEngine::Ordinary, true, true, true},
    {"flv", MediaEngine::Ordinary, true, true, true},
    {"ts", MediaEngine::Ordinary, true, true, true},
    {"m2ts", MediaEngine::Ordinary, true, true, true},
    {"mts", MediaEngine::Ordinary, true, true, true},
    {"3gp", MediaEngine::Ordinary, true, true, true},
    {"vob", MediaEngine::Ordinary, true, true, true},
    {"mpe", MediaEngine::Ordinary, true, true, true},
    {"m2v", MediaEngine::Ordinary, true, true, true},
    {"divx", MediaEngine::Ordinary, true, true, true},
    {"f4v", MediaEngine::Ordinary, true, true, true},
};

} // namespace

const MediaType *mediaType(const QString &extension)
{
    for (const MediaType &t : kTypes)
        if (extension.compare(QLatin1String(t.extension), Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

const QList<MediaType> &mediaTypes()
{
    return kTypes;
}

QString fileListPattern()
{
    QStringList parts;
    for (const MediaType &t : kTypes)
        parts.append(QStringLiteral("*.") + QLatin1String(t.extension));
    return parts.join(u';');
}

QString mimeTypeOf(const QString &extension)
{
    // Some extensions name more than one type (.ts is also a Qt Linguist file): a video
    // type wins over the others, which the database would otherwise pick by its own order.
    static const QMimeDatabase db;
    const QList<QMimeType> types = db.mimeTypesForFileName(QStringLiteral("x.") + extension);
    for (const QMimeType &m : types)
        if (m.name().startsWith(u"video/"))
            return m.name();
    return types.isEmpty() ? QString() : types.first().name();
}

QStringList mediaMimeTypes()
{
    QStringList out;
    for (const MediaType &t : kTypes) {
        if (!t.accepted)
            continue;
        const QString m = mimeTypeOf(QLatin1String(t.extension));
        if (!m.isEmpty() && !out.contains(m))
            out.append(m);
    }
    return out;
}
