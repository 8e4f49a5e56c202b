// The rules of the item popups: size text, information line, drag toggling, new names and
// the selection after a delete.
#include "lists/item_rules.h"

#include "support/test_support.h"

#include <QLocale>
#include <clocale>
#include <gtest/gtest.h>

using namespace items;

TEST(SizeText, GroupsWithCommasAndCutsToMegabytes)
{
    EXPECT_EQ(sizeText(0), "Byte");
    EXPECT_EQ(sizeText(1), "1Byte");
    EXPECT_EQ(sizeText(999), "999Byte");
    EXPECT_EQ(sizeText(1000), "1,000Byte");
    EXPECT_EQ(sizeText(123456), "123,456Byte");
    EXPECT_EQ(sizeText(999999), "999,999Byte");
    EXPECT_EQ(sizeText(1000000), "1MByte");
    EXPECT_EQ(sizeText(12345678), "12MByte");
    EXPECT_EQ(sizeText(1234567890), "1,234MByte");
    // Far beyond 32 bits: the sum is never cut to 4 GiB.
    EXPECT_EQ(sizeText(5000000000ULL), "5,000MByte");
    EXPECT_EQ(sizeText(18446744073709551615ULL), "18,446,744,073,709MByte");
}

TEST(SizeText, CommasWhateverTheLocale)
{
    const QLocale before;
    const std::string cBefore = std::setlocale(LC_ALL, nullptr);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_ALL, "de_DE.UTF-8"); // may be missing: Qt's default still is German
    EXPECT_EQ(sizeText(5000000000ULL), "5,000MByte");
    EXPECT_EQ(sizeText(123456), "123,456Byte");
    std::setlocale(LC_ALL, cBefore.c_str());
    QLocale::setDefault(before);
}

TEST(InformationLine, NothingOneOrACount)
{
    EXPECT_EQ(informationLine(0, 0), "");
    EXPECT_EQ(informationLine(123456, 0), "");
    EXPECT_EQ(informationLine(123456, 1), "123,456Byte");
    EXPECT_EQ(informationLine(0, 1), "Byte");
    EXPECT_EQ(informationLine(5000000ULL + 5000000ULL + 2345678ULL, 3), "12MByte - 3個のファイル");
    EXPECT_EQ(informationLine(0, 2), "Byte - 2個のファイル");
}

TEST(DragToggleRows, FromTheReleaseTowardsThePressExcluded)
{
    EXPECT_EQ(dragToggleRows(5, 2, 10), (QList<int>{5, 4, 3}));
    EXPECT_EQ(dragToggleRows(2, 5, 10), (QList<int>{2, 3, 4}));
    EXPECT_EQ(dragToggleRows(3, 2, 10), (QList<int>{3}));
    EXPECT_EQ(dragToggleRows(0, 9, 10).size(), 9);
    // The same row, a release outside the rows, no current row: nothing.
    EXPECT_TRUE(dragToggleRows(4, 4, 10).isEmpty());
    EXPECT_TRUE(dragToggleRows(-1, 4, 10).isEmpty());
    EXPECT_TRUE(dragToggleRows(10, 4, 10).isEmpty());
    EXPECT_TRUE(dragToggleRows(4, -1, 10).isEmpty());
    EXPECT_TRUE(dragToggleRows(0, 0, 0).isEmpty());
}

TEST(AcceptableFileName, OnePlainNameOnly)
{
    for (const QString &ok : {QStringLiteral("b.avi"), QStringLiteral(".hidden.avi"), QStringLiteral("..a"),
                              QStringLiteral("a b"), QStringLiteral("動画.mkv"), QStringLiteral("a\\b")})
        EXPECT_TRUE(acceptableFileName(ok)) << ok.toStdString();
    for (const QString &bad : {QString(), QStringLiteral("."), QStringLiteral(".."), QStringLiteral("a/b"),
                               QStringLiteral("../x.avi"), QStringLiteral("/"), QStringLiteral("x.avi/"),
                               QString(QStringLiteral("a") + QChar(0) + QStringLiteral("b"))})
        EXPECT_FALSE(acceptableFileName(bad)) << bad.toStdString();
}

TEST(SelectionAfterDelete, TheEntryNowAtTheLowestRemovedPosition)
{
    EXPECT_EQ(selectionAfterDelete(2, 3), 2);  // 2 and 4 of 5
    EXPECT_EQ(selectionAfterDelete(5, 4), 0);  // the last entry: nothing follows it
    EXPECT_EQ(selectionAfterDelete(1, 0), 0);  // the list is empty
    EXPECT_EQ(selectionAfterDelete(0, 3), 1);  // nothing was removed
    EXPECT_EQ(selectionAfterDelete(0, 0), 0);
}
