#include "widgets/config_format.h"

#include <cmath>

QString formatSingle(double value)
{
    const float f = static_cast<float>(value);
    if (std::floor(f) == f && std::fabs(f) < 1e9f)
        return QString::number(static_cast<long long>(f));
    return QString::number(static_cast<double>(f), 'g', 7);
}
