// The table of media types: what is accepted, which engine plays it, what gets a thumbnail.
#include "lists/extensions.h"
#include "platform/path.h"
#include "playback/media_types.h"

#include <gtest/gtest.h>

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
    QStringList all = mediaMimeTypes();
    EXPECT_TRUE(all.contains("video/x-msvideo"));
    EXPECT_EQ(all.removeDuplicates(), 0);
}
