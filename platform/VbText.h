#pragma once
#include <QString>

// The number text of the runtime: the decimal digits preceded by a blank where a minus sign would stand.
inline QString NumberText(long long value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}
