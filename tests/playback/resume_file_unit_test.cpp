#include "playback/resume_file.h"

#include "platform/text_file.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

TEST(ResumeFile, PlayingFileRelativeToTheProgramFolder)
{
    const ResumeRecord r = resumeRecordFor("/app/video/a.avi", 1, 83.52, "/app/", true);
    EXPECT_EQ(formatResumeFile(r), QByteArray("\"./video/a.avi\"\r\n83.52\r\n1\r\n"));
    EXPECT_EQ(formatResumeFile(resumeRecordFor("/app/video/a.avi", 2, 83.52, "/app/", false)),
              QByteArray("\"/app/video/a.avi\"\r\n83.52\r\n2\r\n"));
    EXPECT_EQ(formatResumeFile(resumeRecordFor("/m/b.avi", 1, 2.0, "/app/", false)),
              QByteArray("\"/m/b.avi\"\r\n2\r\n1\r\n")); // whole seconds without ".0"
    EXPECT_EQ(formatResumeFile(resumeRecordFor("/m/b.avi", 1, 0.1 + 0.2, "/app/", false)),
              QByteArray("\"/m/b.avi\"\r\n0.3\r\n1\r\n")); // 15 significant digits at most
}

TEST(ResumeFile, NothingFormUnlessPlayingOrPausedWithAFileAndAPosition)
{
    const QByteArray nothing("\"\"\r\n0\r\n4\r\n");
    EXPECT_EQ(formatResumeFile(ResumeRecord{}), nothing);
    EXPECT_EQ(formatResumeFile(resumeRecordFor("/m/a.avi", 3, 5.0, "/app/", false)), nothing); // stopped
    EXPECT_EQ(formatResumeFile(resumeRecordFor("/m/a.avi", 0, 5.0, "/app/", false)), nothing);
    EXPECT_EQ(formatResumeFile(resumeRecordFor("", 1, 5.0, "/app/", false)), nothing); // RealMedia: no file name
    EXPECT_EQ(formatResumeFile(resumeRecordFor("/m/a.avi", 1, std::nullopt, "/app/", false)), nothing);
}

TEST(ResumeFile, ReadsBackWhatItWrites)
{
    for (const ResumeRecord &r : {ResumeRecord{"./video/a \"b\".avi", 83.52, 1}, ResumeRecord{"/m/é.avi", 0.1, 2},
                                  ResumeRecord{}}) {
        const auto back = parseResumeFile(platform::splitLines(platform::decodeText(formatResumeFile(r))));
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(*back, r);
    }
}

TEST(ResumeFile, DamagedFilesReadSafely)
{
    EXPECT_FALSE(parseResumeFile({}).has_value());
    const auto onlyPath = parseResumeFile({"\"/m/a.avi\""});
    ASSERT_TRUE(onlyPath.has_value());
    EXPECT_EQ(onlyPath->path, "/m/a.avi");
    EXPECT_EQ(onlyPath->state, 4); // nothing to play
    const auto bad = parseResumeFile({"\"/m/a.avi\"", "abc", "99999"});
    ASSERT_TRUE(bad.has_value());
    EXPECT_EQ(bad->position, 0);
    EXPECT_EQ(bad->state, 4); // beyond 16 bits
    const auto windows = parseResumeFile({"\".\\video\\a.avi\"", " 83.52 ", " 2 "});
    ASSERT_TRUE(windows.has_value());
    EXPECT_EQ(windows->position, 83.52);
    EXPECT_EQ(windows->state, 2);
}
