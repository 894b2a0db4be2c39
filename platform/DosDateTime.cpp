#include "platform/Platform.h"

// Years count from 1980 in seven bits; days and months from 1.
uint16_t PackDosDate(int year, int month, int day)
{
    if (year < 1980) return static_cast<uint16_t>((1 << 5) | 1);
    if (year > 2107) year = 2107;
    return static_cast<uint16_t>(((year - 1980) << 9) | (month << 5) | day);
}

// Seconds are stored halved: the stamp has two-second resolution.
uint16_t PackDosTime(int hour, int minute, int second)
{
    return static_cast<uint16_t>((hour << 11) | (minute << 5) | (second / 2));
}
