#include "devices/Xmldevice.h"

void ParseConfiguration(char* text)
{
    (void)text;
}

void ApplyEntry(const char* key, const char* value)
{
    (void)key;
    (void)value;
}
