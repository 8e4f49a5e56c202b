#include "platform/bitmap_file.h"

#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

namespace {

quint32 u32(const QByteArray &b, int at)
{
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<quint8>(b[at + i]);
    return v;
}
quint16 u16(const QByteArray &b, int at)
{
    return static_cast<quint16>(static_cast<quint8>(b[at]) | (static_cast<quint8>(b[at + 1]) << 8));
}
QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

// Every row of one colour; rows listed from the top.
RgbImage rowsOf(int width, const QList<QByteArray> &rowColours)
{
    RgbImage image{width, static_cast<int>(rowColours.size()), {}};
    for (const QByteArray &rgb : rowColours)
        for (int x = 0; x < width; ++x)
            image.pixels.append(rgb);
    return image;
}

} // namespace

TEST(BitmapFile, ThumbnailSizeHeaders)
{
    const RgbImage image{100, 75, QByteArray(100 * 75 * 3, '\x40')};
    const QByteArray b = bitmapBytes(image);
    ASSERT_EQ(b.size(), 22554);
    EXPECT_EQ(b.left(2), QByteArray("BM"));
    EXPECT_EQ(u32(b, 2), 22554u);  // file size
    EXPECT_EQ(u32(b, 6), 0u);      // reserved
    EXPECT_EQ(u32(b, 10), 54u);    // pixel data offset
    EXPECT_EQ(u32(b, 14), 40u);    // info header size
    EXPECT_EQ(u32(b, 18), 100u);   // width
    EXPECT_EQ(u32(b, 22), 75u);    // height, positive: bottom-up
    EXPECT_EQ(u16(b, 26), 1u);     // planes
    EXPECT_EQ(u16(b, 28), 24u);    // bits per pixel
    EXPECT_EQ(u32(b, 30), 0u);     // no compression
    EXPECT_EQ(u32(b, 34), 22500u); // pixel data size
    EXPECT_EQ(u32(b, 46), 0u);     // no palette
}

TEST(BitmapFile, RowsRunFromTheBottomInBlueGreenRedOrder)
{
    // Top row red, middle green, bottom row blue.
    const RgbImage image = rowsOf(4, {bytes({255, 0, 0}), bytes({0, 255, 0}), bytes({0, 0, 255})});
    const QByteArray b = bitmapBytes(image);
    ASSERT_EQ(b.size(), 54 + 3 * 12);
    EXPECT_EQ(b.mid(54, 3), bytes({255, 0, 0}));      // first stored row: the bottom one, blue
    EXPECT_EQ(b.mid(54 + 12, 3), bytes({0, 255, 0})); // green
    EXPECT_EQ(b.mid(54 + 24, 3), bytes({0, 0, 255})); // last stored row: the top one, red
    // A pixel that differs from its neighbours lands in its own column.
    RgbImage mixed = rowsOf(4, {bytes({0, 0, 0})});
    mixed.pixels[3 * 2 + 0] = '\x11';
    mixed.pixels[3 * 2 + 1] = '\x22';
    mixed.pixels[3 * 2 + 2] = '\x33';
    EXPECT_EQ(bitmapBytes(mixed).mid(54 + 3 * 2, 3), bytes({0x33, 0x22, 0x11}));
}

TEST(BitmapFile, RowsArePaddedToFourBytesWithZeros)
{
    // 101 pixels of 3 bytes are 303 bytes: each row takes 304.
    const RgbImage image = rowsOf(101, {bytes({1, 2, 3}), bytes({4, 5, 6})});
    const QByteArray b = bitmapBytes(image);
    ASSERT_EQ(b.size(), 54 + 2 * 304);
    EXPECT_EQ(u32(b, 2), static_cast<quint32>(b.size()));
    EXPECT_EQ(u32(b, 34), 608u);
    EXPECT_EQ(b[54 + 303], '\0');
    EXPECT_EQ(b.mid(54 + 304, 3), bytes({3, 2, 1})); // the top row starts on the next boundary
    EXPECT_EQ(b[54 + 304 + 303], '\0');
    // A one-pixel-wide picture: 3 bytes padded to 4.
    EXPECT_EQ(bitmapBytes(rowsOf(1, {bytes({9, 9, 9})})).size(), 54 + 4);
}

TEST(BitmapFile, MalformedPicturesGiveNoBytes)
{
    EXPECT_TRUE(bitmapBytes(RgbImage{}).isEmpty());
    EXPECT_TRUE(bitmapBytes(RgbImage{10, 10, QByteArray(299, '\0')}).isEmpty());
    EXPECT_TRUE(bitmapBytes(RgbImage{-10, -10, QByteArray(300, '\0')}).isEmpty());
}

TEST(BitmapFile, WritesTheWholeFileAndNothingElse)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.bmp"));
    const RgbImage image{100, 75, QByteArray(100 * 75 * 3, '\x7f')};
    testsupport::writeFile(path, "old contents");
    ASSERT_TRUE(writeBitmapFile(path, image));
    EXPECT_EQ(testsupport::readFile(path), bitmapBytes(image));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("x.bmp")});
    // A folder that does not exist, or a malformed picture: false, and the old file stays.
    EXPECT_FALSE(writeBitmapFile(dir.filePath(QStringLiteral("missing/x.bmp")), image));
    EXPECT_FALSE(writeBitmapFile(path, RgbImage{}));
    EXPECT_EQ(testsupport::readFile(path).size(), 22554);
}
