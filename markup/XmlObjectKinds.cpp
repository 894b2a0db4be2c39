#include "markup/Xmlnode.h"

#include <cstring>

#include "markup/ElementNames.h"
#include "markup/RecordLayout.h"

namespace {

const char TextStyleNames[] =
    "big\0small\0strong\0em\0b\0i\0u\0s\0sub\0sup\0tt\0center\0blinking\0font\0marquee\0";
const char VoidNames[] =
    "frame\0hr\0br\0wbr\0img\0input\0timer\0access\0meta\0noop\0postfield\0setvar\0";

// Whether the bytes from `text` to `end` begin with `prefix`.
bool BeginsWith(const char* text, const char* end, const char* prefix)
{
    const size_t length = strlen(prefix);
    return static_cast<size_t>(end - text) >= length && memcmp(text, prefix, length) == 0;
}

// The marker words compare exactly and as prefixes, after the blanks that
// follow "<!--".
bool BeginsWithWord(const char* t, size_t n, const char* include, const char* exclude)
{
    const char* end = t + n;
    const char* after = t + 4;
    while (after < end && *after == ' ') ++after;
    return BeginsWith(after, end, include) || BeginsWith(after, end, exclude);
}

bool BeginsWithStopWord(const char* t, size_t n, const CMarkerWords& words)
{
    return BeginsWithWord(t, n, words.IncludeStop, words.ExcludeStop);
}

}  // namespace

const CMarkerWords BuiltInMarkerWords;

uint8_t CXmlObject::KindOf(const char* t, size_t n)
{
    if (n >= 7 && memcmp(t, "<!--", 4) == 0 && memcmp(t + n - 3, "-->", 3) == 0)
        return KindComment;
    if (n < 3 || t[0] != '<' || t[n - 1] != '>') return 0;
    uint8_t kind = KindTag;
    const char second = t[1];
    if (second != '/') kind |= KindStartTag;
    if (second == '!' || second == '?' || second == '/' || t[n - 2] == '/')
        kind |= KindEmptyOrEndTag;
    return kind;
}

int CXmlObject::MarkerKindOf(const char* t, size_t n, const CMarkerWords& words)
{
    if ((KindOf(t, n) & KindComment) == 0) return 0;
    if (BeginsWithWord(t, n, words.IncludeStart, words.ExcludeStart)) return 1;
    return BeginsWithStopWord(t, n, words) ? 2 : 0;
}

int CXmlObject::GetMarkerKind(const CMarkerWords& words) const
{
    return IsComment() ? MarkerKindOf(GetText(), static_cast<size_t>(GetTextLength()), words) : 0;
}

bool CXmlObject::IsEndMarker(const CMarkerWords& words) const
{
    if (!HasFlag(HasTextFlag) || GetTextLength() < 4) return false;
    return BeginsWithStopWord(GetText(), static_cast<size_t>(GetTextLength()), words);
}

bool CXmlObject::IsTextStyleTag() const
{
    static const CElementSet textStyles(TextStyleNames);
    return textStyles.Contains(this);
}

bool CXmlObject::IsVoidTag() const
{
    static const CElementSet voids(VoidNames);
    if (voids.Contains(this)) return true;
    return GetTextLength() > 1 && (GetText()[1] == '?' || GetText()[1] == '!');
}
