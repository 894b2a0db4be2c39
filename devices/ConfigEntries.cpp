#include <algorithm>
#include <cstdint>
#include <cstring>

#include "devices/Xmldevice.h"
#include "markup/Xmlnode.h"
#include "platform/Text.h"

namespace {

inline unsigned char Byte(const char* p) { return static_cast<unsigned char>(*p); }

// Any byte below a blank ends a line for the parser, a tab included.
inline bool EndsLine(const char* p) { return Byte(p) < 0x20; }

char* SkipToLineEnd(char* p)
{
    while (*p != '\0' && !EndsLine(p)) ++p;
    return p;
}

void TrimTrailing(char* text)
{
    size_t length = strlen(text);
    while (length > 0 && static_cast<unsigned char>(text[length - 1]) <= 0x20) --length;
    text[length] = '\0';
}

// Resolves backslash escapes in place, left to right.
void ResolveEscapes(char* text)
{
    char* out = text;
    for (const char* in = text; *in != '\0'; ++in) {
        if (*in != '\\') {
            *out++ = *in;
            continue;
        }
        ++in;
        if (*in == '\0') break;  // a lone backslash at the very end is dropped
        switch (*in) {
        case 'n': *out++ = '\n'; break;
        case 'r': *out++ = '\r'; break;
        case 't': *out++ = '\t'; break;
        default: *out++ = *in; break;
        }
    }
    *out = '\0';
}

// A quoted value runs to the next quote that no backslash byte directly
// precedes, or to the end of the line. Returns the byte that ended it.
char* ScanQuotedValue(char* value)
{
    char* p = value;
    while (*p != '\0' && !EndsLine(p) && !(*p == '"' && p[-1] != '\\')) ++p;
    return p;
}

// An unquoted value runs to a ';' that no backslash directly precedes, to the
// end of the line, or to "//" (a backslash does not protect a comment).
char* ScanUnquotedValue(char* value)
{
    char* p = value;
    while (*p != '\0' && !EndsLine(p)) {
        if (*p == ';' && (p == value || p[-1] != '\\')) break;
        if (p[0] == '/' && p[1] == '/') break;
        ++p;
    }
    return p;
}

// Cuts the value found after "=" and returns where scanning goes on: after
// the byte that ended the value, or at the end of a trailing comment's line.
char* CutValue(char* value)
{
    char* end;
    if (*value == '"') {
        end = ScanQuotedValue(value + 1);
    } else {
        end = ScanUnquotedValue(value);
    }
    char* next = end;
    if (end[0] == '/' && end[1] == '/')
        next = SkipToLineEnd(end);
    else if (*end != '\0')
        ++next;
    *end = '\0';
    return next;
}

bool HasCommentMark(const char* from, const char* to)
{
    for (const char* p = from; p + 1 < to; ++p)
        if (p[0] == '/' && p[1] == '/') return true;
    return false;
}

void SetTagReplace(CWmlSettings& profile, const char* value)
{
    // The list is stored between commas so that every entry, the first one
    // included, is found by ",name=".
    const size_t capacity = sizeof profile.TagReplace - 3;
    size_t length = strnlen(value, capacity);
    profile.TagReplace[0] = ',';
    memcpy(profile.TagReplace + 1, value, length);
    profile.TagReplace[length + 1] = ',';
    profile.TagReplace[length + 2] = '\0';
}

// A deck bound of decimal digits only, held between 1 KiB, room for the
// notice that replaces a longer deck, and the largest 32-bit count.
void SetMaxDeckBytes(CWmlSettings& profile, const char* value)
{
    const size_t digits = strspn(value, "0123456789");
    if (digits == 0 || value[digits] != '\0') return;
    long long bytes = 0;
    for (size_t i = 0; i < digits && bytes <= INT32_MAX; ++i) bytes = bytes * 10 + (value[i] - '0');
    bytes = std::min<long long>(std::max(bytes, 1024LL), INT32_MAX);
    profile.MaxDeckBytes = static_cast<int32_t>(bytes);
}

// LATIN1 or ASCII in any case; any other value keeps every character.
void SetRepertoire(CWmlSettings& profile, const char* value)
{
    if (EqualNoCase(value, "LATIN1"))
        profile.Repertoire = RepertoireLatin1;
    else if (EqualNoCase(value, "ASCII"))
        profile.Repertoire = RepertoireAscii;
    else
        profile.Repertoire = RepertoireAll;
}

// Applies the entries of one file, in file order, to a configuration that
// is not yet published.
class CEntryReader {
public:
    explicit CEntryReader(CConfiguration& target) : Target(target) {}

    // Applies one entry; unknown keys and misplaced lines are ignored.
    void Apply(const char* key, const char* value)
    {
        if (strcmp(key, "DEFAULT_EXCLUDE") == 0) {
            Target.DefaultExclude = EqualNoCase(value, "false") ? 0 : 1;
            return;
        }
        if (ApplyMarkerWord(key, value)) return;
        if (ApplySectionLine(key, value)) return;
        if (ApplyDeviceLine(key, value)) return;
        ApplySettingsLine(key, value);
    }

private:
    CDevice* CurrentDevice() const
    {
        if (!InDeviceSection || Target.Devices.empty()) return nullptr;
        return Target.Devices.back();
    }

    CDeviceGroup* FindGroup(const char* name) const
    {
        for (CDeviceGroup* group : Target.Groups)
            if (EqualNoCase(group->Name, name)) return group;
        return nullptr;
    }

    // The profile that a settings line changes: the current device's own
    // (built from its group's texts first), or the last group's; null before
    // any section.
    CWmlSettings* SectionProfile()
    {
        if (CDevice* device = CurrentDevice()) {
            EnsureDeviceProfile(device);
            return device->Settings;
        }
        if (InDeviceSection || Target.Groups.empty()) return nullptr;
        CDeviceGroup* group = Target.Groups.back();
        if (group->Settings == nullptr) group->Settings = new CWmlSettings;
        return group->Settings;
    }

    void ApplySettingsLine(const char* key, const char* value)
    {
        const bool tables = strcmp(key, "TABLES") == 0;
        const bool xmlVersion = strcmp(key, "XMLVERSION") == 0;
        const bool docType = strcmp(key, "DOCTYPE") == 0;
        const bool tagReplace = strcmp(key, "TAG_REPLACE") == 0;
        const bool maxDeck = strcmp(key, "MAX_DECK_BYTES") == 0;
        const bool repertoire = strcmp(key, "REPERTOIRE") == 0;
        if (!tables && !xmlVersion && !docType && !tagReplace && !maxDeck && !repertoire) return;
        CWmlSettings* profile = SectionProfile();
        if (profile == nullptr) return;
        if (maxDeck) SetMaxDeckBytes(*profile, value);
        if (repertoire) SetRepertoire(*profile, value);
        if (tables) profile->Tables = EqualNoCase(value, "true") ? 1 : 0;
        if (xmlVersion) CopyToField(profile->XmlVersion, value);
        if (docType) CopyToField(profile->DocType, value);
        if (tagReplace) SetTagReplace(*profile, value);
    }

    bool ApplyMarkerWord(const char* key, const char* value)
    {
        CMarkerWords& words = Target.MarkerWords;
        if (strcmp(key, "INCLUDE_TAG_START") == 0) {
            CopyToField(words.IncludeStart, value);
        } else if (strcmp(key, "INCLUDE_TAG_STOP") == 0) {
            CopyToField(words.IncludeStop, value);
        } else if (strcmp(key, "EXCLUDE_TAG_START") == 0) {
            CopyToField(words.ExcludeStart, value);
        } else if (strcmp(key, "EXCLUDE_TAG_STOP") == 0) {
            CopyToField(words.ExcludeStop, value);
        } else {
            return false;
        }
        return true;
    }

    bool ApplySectionLine(const char* key, const char* value)
    {
        if (strcmp(key, "DEVICE_GROUP") == 0) {
            CDeviceGroup* group = new CDeviceGroup;
            group->Name = CopyHeapText(value);
            Target.Groups.push_back(group);
            InDeviceSection = false;
        } else if (strcmp(key, "DEVICE") == 0) {
            CDevice* device = new CDevice;
            device->Name = CopyHeapText(value);
            Target.Devices.push_back(device);
            InDeviceSection = true;
            if (EqualNoCase(value, "DEFAULT")) Target.DefaultDevice = device;
        } else {
            return false;
        }
        return true;
    }

    bool ApplyDeviceLine(const char* key, const char* value)
    {
        const bool userAgent = strcmp(key, "USERAGENT") == 0;
        const bool group = strcmp(key, "GROUP") == 0;
        if (!userAgent && !group) return false;
        CDevice* device = CurrentDevice();
        if (device == nullptr) return true;
        if (userAgent) {
            delete[] device->UserAgent;
            device->UserAgent = CopyHeapText(value);
        } else if (CDeviceGroup* found = FindGroup(value)) {
            device->Group = found;
        }
        return true;
    }

    CConfiguration& Target;
    bool InDeviceSection = false;
};

}  // namespace

void ParseConfiguration(CConfiguration& configuration, char* text)
{
    if (text == nullptr) return;
    CEntryReader reader(configuration);
    char* p = text;
    for (;;) {
        while (*p != '\0' && (Byte(p) <= 0x20 || *p == ';')) ++p;
        if (*p == '\0') return;
        char* key = p;
        while (*p != '\0' && *p != '=' && *p != ';' && !EndsLine(p)) ++p;
        if (HasCommentMark(key, p)) {
            p = SkipToLineEnd(p);
            continue;
        }
        if (*p != '=') continue;
        *p = '\0';
        char* value = p + 1;
        p = CutValue(value);
        if (*value == '"') ++value;
        TrimTrailing(key);
        UpperCaseAscii(key);
        ResolveEscapes(value);
        TrimTrailing(value);
        reader.Apply(key, value);
    }
}
