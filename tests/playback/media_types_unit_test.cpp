// The table of media types: what is accepted, which engine plays it, what gets a thumbnail.
#include "lists/extensions.h"
#include "platform/path.h"
#include "playback/media_types.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QString sourceFile(const QString &relative)
{
    QFile f(qEnvironmentVariable("PLOVANA_SOURCE") + u'/' + relative);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

TEST(MediaTypes, TheNineOfOldKeepTheirEngines)
{
    for (const char *e : {"avi", "mpg", "asf", "wmv", "mpeg", "mov", "dat"}) {
        ASSERT_NE(mediaType(e), nullptr) << e;
        EXPECT_EQ(mediaType(e)->engine, MediaEngine::Ordinary) << e;
        EXPECT_TRUE(check_kakuchousi(e)) << e;
    }
    for (const char *e : {"rm", "RAM", "ra"}) {
        ASSERT_NE(mediaType(e), nullptr) << e;
        EXPECT_EQ(mediaType(e)->engine, MediaEngine::RealMedia) << e;
    }
    EXPECT_FALSE(check_kakuchousi("ra")) << "audio only: listed in the file page, not opened as media";
}

TEST(MediaTypes, TodaysContainersAreAcceptedWhateverTheirCase)
{
    for (const char *e : {"mp4", "MKV", "webm", "m4v", "ogv", "flv", "ts", "m2ts", "3gp", "vob", "divx", "f4v"}) {
        EXPECT_TRUE(check_kakuchousi(e)) << e;
        EXPECT_EQ(mediaType(e)->engine, MediaEngine::Ordinary) << e;
        EXPECT_TRUE(can_make_thumbnail(e)) << e;
    }
    EXPECT_EQ(mediaType("txt"), nullptr);
    EXPECT_FALSE(check_kakuchousi("mp3")) << "audio-only formats stay out";
    EXPECT_FALSE(can_make_thumbnail("ra"));
    EXPECT_FALSE(can_make_thumbnail("ram")) << "a playlist has no picture";
}

TEST(MediaTypes, NamesWithoutAnExtension)
{
    // The extension is the text after the last "." of the name, the whole name without one.
    EXPECT_TRUE(check_kakuchousi(path::getextension("/v/mkv"))) << "a name that is an extension";
    EXPECT_FALSE(check_kakuchousi(path::getextension("/v/clip.")));
    EXPECT_TRUE(check_kakuchousi(path::getextension("/v/clip.tar.MKV")));
    EXPECT_FALSE(check_kakuchousi(""));
}

TEST(MediaTypes, FileListPatternAndMimeTypes)
{
    const QString pattern = fileListPattern();
    EXPECT_TRUE(pattern.startsWith("*.mpg;*.avi;*.mpeg;*.asf;*.wmv;*.mov;*.rm;*.ram;*.ra;*.dat;"));
    EXPECT_TRUE(pattern.contains("*.mkv;"));
    EXPECT_EQ(pattern.count(u';') + 1, mediaTypes().size());
    EXPECT_EQ(mimeTypeOf("mp4"), "video/mp4");
    EXPECT_EQ(mimeTypeOf("mkv"), "video/x-matroska");
    EXPECT_EQ(mimeTypeOf("webm"), "video/webm");
    EXPECT_EQ(mimeTypeOf("ts"), "video/mp2t") << "not the Qt Linguist file the database also knows by .ts";
    EXPECT_EQ(mimeTypeOf("m2ts"), "video/mp2t");
    EXPECT_EQ(mimeTypeOf("ra"), "audio/vnd.rn-realaudio");
    EXPECT_EQ(mimeTypeOf("nosuchext"), "");
    QStringList all = mediaMimeTypes();
    EXPECT_TRUE(all.contains("video/x-msvideo"));
    EXPECT_TRUE(all.contains("application/vnd.rn-realmedia"));
    EXPECT_FALSE(all.contains("audio/vnd.rn-realaudio")) << "ra is listed, not opened";
    for (const QString &m : all)
        EXPECT_FALSE(m.startsWith("text/")) << m.toStdString();
    EXPECT_EQ(all.removeDuplicates(), 0);
}

// The installed desktop entry and metainfo declare the table's MIME types, in its order.
// After a change of the table: MimeType= in data/plovana.desktop and the <mediatype> lines of
// data/plovana.metainfo.xml.in are the "expected" list below.
TEST(MediaTypes, DesktopEntryAndMetainfoDeclareTheTablesTypes)
{
    const QStringList table = mediaMimeTypes();
    const QString desktop = sourceFile("data/plovana.desktop");
    ASSERT_FALSE(desktop.isEmpty());
    const QRegularExpressionMatch line =
        QRegularExpression("^MimeType=(.*)$", QRegularExpression::MultilineOption).match(desktop);
    ASSERT_TRUE(line.hasMatch());
    EXPECT_TRUE(line.captured(1).endsWith(u';'));
    EXPECT_EQ(line.captured(1).split(u';', Qt::SkipEmptyParts), table) << "expected: " << table.join(u';').toStdString();

    const QString metainfo = sourceFile("data/plovana.metainfo.xml.in");
    ASSERT_FALSE(metainfo.isEmpty());
    QStringList provided;
    for (const QRegularExpressionMatch &m : QRegularExpression("<mediatype>([^<]*)</mediatype>").globalMatch(metainfo))
        provided.append(m.captured(1));
    EXPECT_EQ(provided, table);
}
