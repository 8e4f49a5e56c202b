#include "platform/quoted_records.h"

#include "support/test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

TEST(QuotedRecords, ReadsQuotedAndUnquotedFields)
{
    EXPECT_EQ(parseQuotedFields(R"("movies","/home/u/movies/")", 2),
              (QStringList{"movies", "/home/u/movies/"}));
    // Blanks around fields are dropped; quoted text keeps its inner blanks and commas.
    EXPECT_EQ(parseQuotedFields(R"(  " a, b " ,  "c"  )", 2), (QStringList{" a, b ", "c"}));
    // Numbers are written without quotes.
    EXPECT_EQ(parseQuotedFields(R"("scene",  1234 )", 2), (QStringList{"scene", "1234"}));
    EXPECT_EQ(parseQuotedFields("plain text , more", 2), (QStringList{"plain text", "more"}));
}

TEST(QuotedRecords, MissingFieldsReadAsEmptyAndSurplusIsIgnored)
{
    EXPECT_EQ(parseQuotedFields(R"("only")", 2), (QStringList{"only", ""}));
    EXPECT_EQ(parseQuotedFields("", 2), (QStringList{"", ""}));
    EXPECT_EQ(parseQuotedFields(R"("a","b","c")", 2), (QStringList{"a", "b"}));
    EXPECT_EQ(parseQuotedFields(R"("a",)", 2), (QStringList{"a", ""}));
    EXPECT_EQ(parseQuotedFields(R"("unterminated)", 2), (QStringList{"unterminated", ""}));
}

TEST(QuotedRecords, DoubleQuoteInsideAFieldSurvivesSaveAndLoad)
{
    const QStringList fields{R"(say "hi")", R"(/m/a"b.avi)"};
    const QString line = formatQuotedRecord(fields);
    EXPECT_EQ(line, R"("say ""hi""","/m/a""b.avi")");
    EXPECT_EQ(parseQuotedFields(line, 2), fields);
}

TEST(QuotedRecords, StrayQuoteInsideAFieldIsKept)
{
    // Written by hand or by another program: a quote that is not followed by a comma or
    // the line end belongs to the field, and the next field is read whole.
    EXPECT_EQ(parseQuotedFields(R"("a"b,c","/x/y/")", 2), (QStringList{"a\"b,c", "/x/y/"}));
    EXPECT_EQ(parseQuotedFields(R"("it's "good" ", "/x/")", 2), (QStringList{"it's \"good\" ", "/x/"}));
    // Only where a stray quote is followed by a comma is the field cut there; the rest of
    // it spills into the next field, and the record after it is untouched.
    EXPECT_EQ(parseQuotedFields(R"("a",b","/x/")", 2), (QStringList{"a", "b\""}));
}

TEST(QuotedRecords, FileRoundTripSkipsBlankLines)
{
    QTemporaryDir dir;
    const QString p = dir.filePath("tabdir.ini");
    const QList<QStringList> records{{QString::fromUtf8("動画"), "./movies/"},
                                     {"a,b", "/x, y/"},
                                     {"", "/empty caption/"}};
    ASSERT_TRUE(writeQuotedRecords(p, records));
    EXPECT_EQ(testsupport::readFile(p),
              QString::fromUtf8("\"動画\",\"./movies/\"\r\n\"a,b\",\"/x, y/\"\r\n\"\",\"/empty caption/\"\r\n")
                  .toUtf8());
    testsupport::writeFile(p, testsupport::readFile(p) + "\r\n   \r\n");
    EXPECT_EQ(readQuotedRecords(p, 2), records);
    EXPECT_FALSE(readQuotedRecords(dir.filePath("missing"), 2).has_value());
}
