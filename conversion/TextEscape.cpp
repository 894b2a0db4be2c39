#include <cstring>
#include <string>

#include "conversion/CharacterReferences.h"
#include "conversion/Conversion.h"

namespace {

bool IsVariableStart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsVariableByte(char c) { return IsVariableStart(c) || (c >= '0' && c <= '9'); }

// The conversions that a variable reference may name after its ':'.
bool IsConversion(const char* from, const char* to)
{
    static const char conversions[] = "e\0u\0n\0escape\0unesc\0noesc\0";
    const size_t length = static_cast<size_t>(to - from);
    for (const char* c = conversions; *c != '\0'; c += strlen(c) + 1)
        if (strlen(c) == length && memcmp(c, from, length) == 0) return true;
    return false;
}

// "$(name)" or "$(name:conversion)" at `at`, which holds a '$'.
bool BeginsVariableReference(const char* at, const char* end)
{
    const char* p = at + 1;
    if (p >= end || *p != '(' || ++p >= end || !IsVariableStart(*p)) return false;
    while (p < end && IsVariableByte(*p)) ++p;
    if (p < end && *p == ':') {
        const char* conversion = ++p;
        while (p < end && *p != ')') ++p;
        if (p == end || !IsConversion(conversion, p)) return false;
    }
    return p < end && *p == ')';
}

// The bytes that the rules may change.
const char* Triggers(const CEscapeRules& rules)
{
    if (!rules.Markup) return rules.Dollars ? "&$" : "&";
    if (rules.InAttribute) return rules.Dollars ? "&<>\"$" : "&<>\"";
    return rules.Dollars ? "&<>$" : "&<>";
}

// Appends the escaped form of what begins at `p`, a byte that the rules may
// change; returns the bytes read.
size_t AppendEscaped(const char* p, const char* end, const CEscapeRules& rules, std::string& out)
{
    const char c = *p;
    if (c == '&') {
        const size_t read = AppendReference(p, end, rules.InAttribute, out);
        if (read != 0) return read;
        out += rules.AmpText;
    } else if (c == '$') {
        out += BeginsVariableReference(p, end) ? "$" : "$$";
    } else {
        out += c == '<' ? "&lt;" : c == '>' ? "&gt;" : "&quot;";
    }
    return 1;
}

}  // namespace

bool EscapeText(const char* text, size_t length, const CEscapeRules& rules, std::string& out)
{
    const char* end = text + length;
    const char* triggers = Triggers(rules);
    const char* p = text + strcspn(text, triggers);
    if (p >= end) return false;
    out.assign(text, p);
    while (p < end) {
        p += AppendEscaped(p, end, rules, out);
        const size_t plain = strcspn(p, triggers);
        out.append(p, plain);
        p += plain;
    }
    return out.size() != length || memcmp(out.data(), text, length) != 0;
}

std::string EscapedText(const char* text)
{
    if (text == nullptr) return "";
    std::string out;
    const size_t length = strlen(text);
    return EscapeText(text, length, TextRunRules, out) ? out : std::string(text, length);
}
