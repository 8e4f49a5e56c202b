#pragma once
// The read-outs of "ソフト情報": the memory the system has and can still give, and the
// primary screen's mode.

#include <QString>

#include <cstdint>
#include <optional>

struct MemoryInfo
{
    std::int64_t totalKb = 0;
    std::int64_t availableKb = 0;
    bool operator==(const MemoryInfo &) const = default;
};

// MemTotal and MemAvailable (MemFree where the kernel has no MemAvailable) of a
// /proc/meminfo text, in kB; nullopt without MemTotal.
std::optional<MemoryInfo> parseMeminfo(const QString &text);

// /proc/meminfo of this machine.
std::optional<MemoryInfo> readMeminfo();

// A count grouped in threes with "," whatever the locale: 0 → "0", 524288 → "524,288".
QString groupedCount(std::int64_t n);

// "204,800KB / 524,288KB": the available amount, then the total.
QString memoryText(const MemoryInfo &m);

// "1920×1080 24ビット": the screen's size in pixels and its colour depth.
QString displayText(int width, int height, int depth);
