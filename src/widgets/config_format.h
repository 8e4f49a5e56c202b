#pragma once
// Text forms of config.ini values.

#include <QString>

// A single-precision number as the settings file holds it: whole values without a
// decimal point ("1500", "-1"), others with "." ("1234.5").
QString formatSingle(double value);

