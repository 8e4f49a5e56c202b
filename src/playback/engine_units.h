#pragma once
// The arithmetic of the engines' units: the time text of the labels, the duration code
// that an open reports, and the graph volume in hundredths of a decibel.

#include <QString>

// "m:ss" under an hour, "h:mm:ss" from an hour, "0:00" for negative values.
QString timeText(int seconds);

// The duration code of MediaOpen for a duration in seconds: floor(duration × 100) when
// that fits 16 bits (files up to 327.67 s), else -1.
int durationCode(double seconds);

// Hundredths of a decibel to a linear volume in percent and back:
// percent = 100 × 10^(v / 6000), clamped to -10000 .. 0.
double centibelsToPercent(int centibels);
int percentToCentibels(double percent);

// A double's text: 15 significant digits at most, no trailing zeros, "." whatever the
// locale, and never in exponent form (positions in the scene files and resume.ini).
QString doubleText(double value);
