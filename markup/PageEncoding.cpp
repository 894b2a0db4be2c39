#include "markup/PageEncoding.h"

#include <cstdint>
#include <cstring>

#include "markup/Xmlnode.h"
#include "platform/PlainBytes.h"

namespace {

const char Utf8[] = "UTF-8";
const char Windows1252[] = "windows-1252";
const char Latin1[] = "ISO-8859-1";

// The characters that windows-1252 gives the bytes 0x80 to 0x9F.
const unsigned short Windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
const char Replacement[] = "\xEF\xBF\xBD";  // U+FFFD

using Bytes = const unsigned char*;

bool StartsWithNoCase(Bytes at, Bytes end, const char* word)
{
    for (; *word != '\0'; ++at, ++word)
        if (at == end || LowerAscii(static_cast<char>(*at)) != static_cast<unsigned char>(*word))
            return false;
    return true;
}

bool IsSpaceByte(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

Bytes SkipSpaces(Bytes at, Bytes end)
{
    while (at != end && IsSpaceByte(*at)) ++at;
    return at;
}

// XML 1.0 allows tab, line feed and carriage return of the C0 controls only.
bool IsForbiddenControl(unsigned char c)
{
    return c < 0x20 && c != '\t' && c != '\n' && c != '\r';
}

// The length of the well-formed UTF-8 sequence at `at`, or 0 when it is not
// one; then `bad` is the length of its maximal invalid part, which becomes
// one U+FFFD as browsers show it.
size_t Utf8Sequence(Bytes at, Bytes end, size_t& bad)
{
    const unsigned char lead = *at;
    size_t need;
    unsigned char lower = 0x80, upper = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        if (lead == 0xE0) lower = 0xA0;
        if (lead == 0xED) upper = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        if (lead == 0xF0) lower = 0x90;
        if (lead == 0xF4) upper = 0x8F;
    } else {
        bad = 1;
        return 0;
    }
    for (size_t i = 1; i <= need; ++i) {
        if (at + i == end || at[i] < lower || at[i] > upper) {
            bad = i;
            return 0;
        }
        lower = 0x80;
        upper = 0xBF;
    }
    // U+FFFE and U+FFFF are not characters in XML either.
    if (lead == 0xEF && at[1] == 0xBF && at[2] >= 0xBE) {
        bad = 3;
        return 0;
    }
    return need + 1;
}

struct CByteRules {
    bool Utf8;
    // In ISO-2022-JP the escape byte switches character sets; it is no character.
    bool KeepEscape;
    // False when only the UTF-8 sequences are judged.
    bool JudgeControls = true;
    // Windows-1252's bytes 0x80 to 0x9F become references, which leaves the
    // page in ISO-8859-1: the encoding every XML parser knows besides UTF-8.
    bool ReferHighControls = false;
};

bool IsHighControl(unsigned char c)
{
    return c >= 0x80 && c <= 0x9F;
}

// Where the first byte lies that the deck cannot keep as it is; `end` when none.
Bytes FirstFault(Bytes at, Bytes end, CByteRules rules)
{
    while (at != end) {
        at = SkipPlainBytes(at, end);
        if (at == end) break;
        const unsigned char c = *at;
        if (c < 0x80 || !rules.Utf8) {
            if (rules.JudgeControls && IsForbiddenControl(c) && !(rules.KeepEscape && c == 0x1B))
                return at;
            if (rules.ReferHighControls && IsHighControl(c)) return at;
            ++at;
            continue;
        }
        size_t bad = 0;
        const size_t good = Utf8Sequence(at, end, bad);
        if (good == 0) return at;
        at += good;
    }
    return end;
}

void AppendCleaned(Bytes at, Bytes end, CByteRules rules, std::string& out)
{
    while (at != end) {
        Bytes fault = FirstFault(at, end, rules);
        out.append(reinterpret_cast<const char*>(at), static_cast<size_t>(fault - at));
        if (fault == end) return;
        if (*fault < 0x80 || !rules.Utf8) {
            if (IsHighControl(*fault))
                out += "&#" + std::to_string(Windows1252High[*fault - 0x80]) + ";";
            at = fault + 1;
            continue;
        }
        size_t bad = 0;
        Utf8Sequence(fault, end, bad);
        out += Replacement;
        at = fault + bad;
    }
}

void AppendUtf8(unsigned long code, std::string& out)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// UTF-16 after its byte-order mark, as UTF-8; a lone surrogate or odd last
// byte becomes U+FFFD.
std::string Utf16ToUtf8(Bytes at, Bytes end, bool bigEndian)
{
    std::string out;
    out.reserve(static_cast<size_t>(end - at));
    auto unit = [bigEndian](Bytes p) {
        return bigEndian ? static_cast<unsigned>(p[0] << 8 | p[1])
                         : static_cast<unsigned>(p[1] << 8 | p[0]);
    };
    while (end - at >= 2) {
        unsigned long code = unit(at);
        at += 2;
        if (code >= 0xD800 && code <= 0xDBFF && end - at >= 2 && unit(at) >= 0xDC00 &&
            unit(at) <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(at) - 0xDC00);
            at += 2;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        AppendUtf8(code, out);
    }
    if (at != end) out += Replacement;
    return out;
}

// The value of an attribute at `at` (quoted or bare), or of a name=value
// pair inside a meta content; moves `at` past it.
std::string ReadValue(Bytes& at, Bytes end, const char* stops)
{
    Bytes from = at;
    if (at != end && (*at == '"' || *at == '\'')) {
        const unsigned char quote = *at++;
        from = at;
        while (at != end && *at != quote) ++at;
        std::string value(reinterpret_cast<const char*>(from), static_cast<size_t>(at - from));
        if (at != end) ++at;
        return value;
    }
    while (at != end && !IsSpaceByte(*at) && strchr(stops, *at) == nullptr) ++at;
    return std::string(reinterpret_cast<const char*>(from), static_cast<size_t>(at - from));
}

// A meta content such as "text/html; charset=ISO-8859-1": its charset label.
std::string CharsetOfContent(const std::string& content)
{
    Bytes end = reinterpret_cast<Bytes>(content.data()) + content.size();
    for (Bytes at = reinterpret_cast<Bytes>(content.data()); at != end; ++at) {
        if (!StartsWithNoCase(at, end, "charset")) continue;
        Bytes value = SkipSpaces(at + 7, end);
        if (value == end || *value != '=') continue;
        value = SkipSpaces(value + 1, end);
        return ReadValue(value, end, ";");
    }
    return "";
}

// One tag's attributes from after its name to its '>': the charset label it
// gives, when it is a meta tag that gives one.
std::string ScanTag(Bytes& at, Bytes end, bool meta)
{
    std::string charset, content;
    bool contentType = false;
    while (at != end && *at != '>') {
        if (IsSpaceByte(*at) || *at == '/') {
            ++at;
            continue;
        }
        Bytes name = at;
        while (at != end && !IsSpaceByte(*at) && *at != '=' && *at != '>' && *at != '/') ++at;
        const size_t nameLength = static_cast<size_t>(at - name);
        at = SkipSpaces(at, end);
        std::string value;
        if (at != end && *at == '=') {
            at = SkipSpaces(at + 1, end);
            value = ReadValue(at, end, ">");
        }
        if (!meta) continue;
        auto is = [&](const char* word) {
            return nameLength == strlen(word) && StartsWithNoCase(name, end, word);
        };
        if (is("charset") && charset.empty()) charset = value;
        if (is("content")) content = value;
        if (is("http-equiv")) contentType = EqualNoCase(value.c_str(), "content-type");
    }
    if (!charset.empty()) return charset;
    return contentType ? CharsetOfContent(content) : "";
}

// The charset label of the page's first meta element that gives one, read
// up to the body as a browser's prescan reads it.
std::string MetaCharset(Bytes at, Bytes end)
{
    while (at != end) {
        at = static_cast<Bytes>(memchr(at, '<', static_cast<size_t>(end - at)));
        if (at == nullptr) return "";
        if (StartsWithNoCase(at, end, "<!--")) {
            Bytes close = at + 2;
            while (close != end && !StartsWithNoCase(close, end, "-->")) ++close;
            at = close == end ? end : close + 3;
            continue;
        }
        if (StartsWithNoCase(at, end, "<body")) return "";
        const bool meta = StartsWithNoCase(at, end, "<meta") && at + 5 != end &&
                          (IsSpaceByte(at[5]) || at[5] == '/');
        at += meta ? 5 : 1;
        if (!meta) {
            while (at != end && *at != '>' && *at != '<') ++at;
            continue;
        }
        const std::string charset = ScanTag(at, end, true);
        if (!charset.empty()) return charset;
    }
    return "";
}

// The encoding label of an XML declaration at the start of the page.
std::string XmlDeclarationLabel(Bytes at, Bytes end)
{
    at = SkipSpaces(at, end);
    if (!StartsWithNoCase(at, end, "<?xml")) return "";
    Bytes close = at;
    while (close != end && *close != '>') ++close;
    size_t begin = 0, finish = 0;
    const char* text = reinterpret_cast<const char*>(at);
    if (!FindDeclaredEncoding(text, static_cast<size_t>(close - at), begin, finish)) return "";
    return std::string(text + begin, finish - begin);
}

// A label as the page gives it, made into the encoding its bytes are read in:
// a page whose bytes could be read as ASCII is not in UTF-16, and a few
// labels name no encoding that the deck could keep.
const char* ReadingEncoding(const std::string& label)
{
    const char* name = CanonicalEncodingName(label.data(), label.size());
    if (name == nullptr || strcmp(name, "replacement") == 0) return nullptr;
    if (strncmp(name, "UTF-16", 6) == 0) return Utf8;
    if (strcmp(name, "x-user-defined") == 0) return Windows1252;
    return name;
}

const char* DeclaredOrGuessedEncoding(Bytes at, Bytes end)
{
    if (const char* name = ReadingEncoding(XmlDeclarationLabel(at, end))) return name;
    if (const char* name = ReadingEncoding(MetaCharset(at, end))) return name;
    const bool validUtf8 = FirstFault(at, end, CByteRules{true, false, false}) == end;
    return validUtf8 ? Utf8 : Windows1252;
}

bool HoldsBytesBeyondAscii(Bytes at, Bytes end, bool escapeCounts)
{
    if (!escapeCounts) return HoldsByteBeyondAscii(at, end);
    for (; at != end; ++at)
        if (*at >= 0x80 || *at == 0x1B) return true;
    return false;
}

}  // namespace

bool FindDeclaredEncoding(const char* text, size_t length, size_t& begin, size_t& end)
{
    Bytes start = reinterpret_cast<Bytes>(text);
    Bytes stop = start + length;
    for (Bytes at = start; at != stop; ++at) {
        if (!StartsWithNoCase(at, stop, "encoding")) continue;
        Bytes value = SkipSpaces(at + 8, stop);
        if (value == stop || *value != '=') continue;
        value = SkipSpaces(value + 1, stop);
        if (value == stop || (*value != '"' && *value != '\'')) continue;
        const void* close = memchr(value + 1, *value, static_cast<size_t>(stop - value - 1));
        if (close == nullptr) return false;
        begin = static_cast<size_t>(value + 1 - start);
        end = static_cast<size_t>(static_cast<Bytes>(close) - start);
        return true;
    }
    return false;
}

void ReadPageBytes(const char* page, int length, CPageBytes& bytes)
{
    bytes.Text = page;
    bytes.Length = length;
    if (page == nullptr || length <= 0) return;
    Bytes at = reinterpret_cast<Bytes>(page);
    Bytes end = at + length;
    const bool bigEndian = length >= 2 && at[0] == 0xFE && at[1] == 0xFF;
    const bool littleEndian = length >= 2 && at[0] == 0xFF && at[1] == 0xFE;
    if (bigEndian || littleEndian) {
        bytes.Changed = Utf16ToUtf8(at + 2, end, bigEndian);
        at = reinterpret_cast<Bytes>(bytes.Changed.data());
        end = at + bytes.Changed.size();
        bytes.Encoding = Utf8;
    } else if (length >= 3 && at[0] == 0xEF && at[1] == 0xBB && at[2] == 0xBF) {
        at += 3;
        bytes.Encoding = Utf8;
    } else {
        bytes.Encoding = DeclaredOrGuessedEncoding(at, end);
    }
    const bool isoJapanese = strcmp(bytes.Encoding, "ISO-2022-JP") == 0;
    const bool windows = strcmp(bytes.Encoding, Windows1252) == 0;
    if (windows) bytes.Encoding = Latin1;
    const CByteRules rules{strcmp(bytes.Encoding, Utf8) == 0, isoJapanese, true, windows};
    if (FirstFault(at, end, rules) != end) {
        std::string cleaned;
        cleaned.reserve(static_cast<size_t>(end - at));
        AppendCleaned(at, end, rules, cleaned);
        bytes.Changed.swap(cleaned);
        at = reinterpret_cast<Bytes>(bytes.Changed.data());
        end = at + bytes.Changed.size();
    }
    bytes.Text = reinterpret_cast<const char*>(at);
    bytes.Length = static_cast<int>(end - at);
    bytes.NameEncoding = !rules.Utf8 && HoldsBytesBeyondAscii(at, end, isoJapanese);
}
