// Header texts are lists of items separated by commas, each a value followed
// by parameters after semicolons; names compare without regard to case.
#include "Negotiation.h"

#include <strings.h>

#include <cstring>

namespace quorrel_apache {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string Trimmed(const char* begin, const char* end)
{
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
    return std::string(begin, end);
}

bool SameName(const std::string& text, const char* name)
{
    return strcasecmp(text.c_str(), name) == 0;
}

// The media type of a Content-Type or Accept item: the text before any parameter.
std::string MediaType(const std::string& item)
{
    const size_t semicolon = item.find(';');
    return Trimmed(item.c_str(), item.c_str() + (semicolon == std::string::npos ? item.size() : semicolon));
}

// Finds the parameter `name` (given with its '=') among an item's parameters.
bool FindParameter(const std::string& item, const char* name, std::string& value)
{
    const size_t nameLength = std::strlen(name);
    for (size_t at = item.find(';'); at != std::string::npos; at = item.find(';', at + 1)) {
        const size_t end = item.find(';', at + 1);
        const std::string parameter =
            Trimmed(item.c_str() + at + 1, item.c_str() + (end == std::string::npos ? item.size() : end));
        if (parameter.size() < nameLength || strncasecmp(parameter.c_str(), name, nameLength) != 0)
            continue;
        value = parameter.substr(nameLength);
        return true;
    }
    return false;
}

// A quality of zero (q=0, q=0.0, q=0.000) refuses the type instead of naming it.
bool RefusedByQuality(const std::string& item)
{
    std::string quality;
    return FindParameter(item, "q=", quality) && !quality.empty() &&
           quality.find_first_not_of("0.") == std::string::npos;
}

bool IsTokenCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::strchr("-_.:+", c) != nullptr;
}

}  // namespace

bool AcceptAsksForWml(const char* accept)
{
    if (accept == nullptr) return false;
    bool namesWml = false;
    bool namesHtml = false;
    for (const char* item = accept;;) {
        const char* end = std::strchr(item, ',');
        const std::string text = Trimmed(item, end != nullptr ? end : item + std::strlen(item));
        const std::string type = MediaType(text);
        if (!RefusedByQuality(text)) {
            namesWml = namesWml || SameName(type, "text/vnd.wap.wml");
            namesHtml = namesHtml || SameName(type, "text/html");
        }
        if (end == nullptr) break;
        item = end + 1;
    }
    return namesWml && !namesHtml;
}

bool IsHtmlType(const char* contentType)
{
    if (contentType == nullptr) return false;
    const std::string type = MediaType(contentType);
    return SameName(type, "text/html") || SameName(type, "application/xhtml+xml");
}

std::string CharsetOf(const char* contentType)
{
    std::string charset;
    if (contentType == nullptr || !FindParameter(contentType, "charset=", charset)) return "";
    if (charset.size() >= 2 && charset.front() == '"' && charset.back() == '"')
        charset = charset.substr(1, charset.size() - 2);
    return PlainToken(charset);
}

std::string PlainToken(const std::string& text)
{
    for (char c : text)
        if (!IsTokenCharacter(c)) return "";
    return text;
}

}  // namespace quorrel_apache
