#pragma once
// color.ini in the program folder: the lists' text and background colours, section [list],
// keys ForeColor and BackColor, each a colour value (0x00BBGGRR) in signed decimal.

#include <QString>

#include <optional>

struct ListColours
{
    int fore = 0;
    int back = 0;
    bool operator==(const ListColours &) const = default;
};

namespace listcolours {

// The lists' design colours: light blue text RGB(119, 150, 230) on black. The background
// button shows RGB(27, 18, 20) until a colour is chosen or read, so the first exit without
// color.ini stores that.
inline constexpr int kDesignFore = 15111799;
inline constexpr int kDesignBack = 0;
inline constexpr int kDesignBackButton = 1315355;
// "デフォルトに戻す": light blue on black.
inline constexpr int kDefaultFore = 15111799;
inline constexpr int kDefaultBack = 0;

} // namespace listcolours

// The colours of a color.ini (a missing key reads 0); nullopt when the file does not exist.
std::optional<ListColours> readColorIni(const QString &file);

// Writes both values, keeping the file's other lines. False when it cannot be written.
bool writeColorIni(const QString &file, const ListColours &colours);
