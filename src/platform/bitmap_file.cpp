#include "platform/bitmap_file.h"

#include "platform/text_file.h"

#include <cstdint>
#include <cstring>
#include <limits>

namespace platform {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;

void putU16(char *at, std::uint16_t v)
{
    at[0] = static_cast<char>(v & 0xFF);
    at[1] = static_cast<char>(v >> 8);
}

void putU32(char *at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

} // namespace

QByteArray bitmapBytes(const RgbImage &image)
{
    if (!image.isValid())
        return {};
    const qint64 stride = (static_cast<qint64>(image.width) * 3 + 3) / 4 * 4;
    const qint64 dataSize = stride * image.height;
    const qint64 fileSize = kFileHeaderSize + kInfoHeaderSize + dataSize;
    if (fileSize > std::numeric_limits<std::int32_t>::max())
        return {};

    QByteArray out(static_cast<qsizetype>(fileSize), '\0');
    char *p = out.data();
    // BITMAPFILEHEADER
    p[0] = 'B';
    p[1] = 'M';
    putU32(p + 2, static_cast<std::uint32_t>(fileSize));
    putU32(p + 10, kFileHeaderSize + kInfoHeaderSize); // where the pixels start
    // BITMAPINFOHEADER: a positive height means the rows run from the bottom up.
    char *info = p + kFileHeaderSize;
    putU32(info + 0, kInfoHeaderSize);
    putU32(info + 4, static_cast<std::uint32_t>(image.width));
    putU32(info + 8, static_cast<std::uint32_t>(image.height));
    putU16(info + 12, 1);  // planes
    putU16(info + 14, 24); // bits per pixel
    putU32(info + 16, 0);  // BI_RGB, no compression
    putU32(info + 20, static_cast<std::uint32_t>(dataSize));
    // Resolution and palette fields stay 0.

    const char *src = image.pixels.constData();
    char *rows = p + kFileHeaderSize + kInfoHeaderSize;
    for (int y = 0; y < image.height; ++y) {
        const char *in = src + static_cast<qint64>(image.height - 1 - y) * image.width * 3;
        char *o = rows + y * stride;
        for (int x = 0; x < image.width; ++x) {
            o[3 * x + 0] = in[3 * x + 2];
            o[3 * x + 1] = in[3 * x + 1];
            o[3 * x + 2] = in[3 * x + 0];
        }
    }
    return out;
}

bool writeBitmapFile(const QString &path, const RgbImage &image)
{
    const QByteArray bytes = bitmapBytes(image);
    return !bytes.isEmpty() && writeFileAtomically(path, bytes);
}

} // namespace platform
