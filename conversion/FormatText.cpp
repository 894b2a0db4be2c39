#include <string>

#include "conversion/ConversionRules.h"

std::string FormatText(const char* format, const char* argument)
{
    std::string out;
    bool used = false;
    for (const char* p = format; *p != '\0'; ++p) {
        if (p[0] == '%' && p[1] == '%') {
            out += '%';
            ++p;
        } else if (p[0] == '%' && p[1] == 's' && !used) {
            out += argument;
            used = true;
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}
