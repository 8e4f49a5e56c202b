#include "playback/engine_units.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

QString timeText(int seconds)
{
    if (seconds < 0)
        return QStringLiteral("0:00");
    if (seconds < 3600)
        return QStringLiteral("%1:%2").arg((seconds / 60) % 60).arg(seconds % 60, 2, 10, QChar(u'0'));
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg((seconds / 60) % 60, 2, 10, QChar(u'0'))
        .arg(seconds % 60, 2, 10, QChar(u'0'));
}

int durationCode(double seconds)
{
    const double hundredths = std::floor(seconds * 100.0);
    if (hundredths >= -32768.0 && hundredths <= 32767.0)
        return static_cast<int>(hundredths);
    return -1;
}

double centibelsToPercent(int centibels)
{
    const int v = std::clamp(centibels, -10000, 0);
    return 100.0 * std::pow(10.0, v / 6000.0);
}

int percentToCentibels(double percent)
{
    if (!(percent > 0.0))
        return -10000;
    const double v = 6000.0 * std::log10(percent / 100.0);
    return std::clamp(static_cast<int>(std::lround(v)), -10000, 0);
}

QString doubleText(double value)
{
    // The double's usual text of 15 significant digits (27.56, not the 27.560000000000002
    // an engine's arithmetic leaves), then written in fixed notation with no trailing
    // zeros; the C locale's "." in every locale.
    const double rounded = QString::number(value, 'g', 15).toDouble();
    return QString::number(rounded, 'f', QLocale::FloatingPointShortest);
}
