#include "markup/Xmlnode.h"

#include <cstring>

#include "devices/Xmldevice.h"

namespace {

const char TextStyleNames[] =
    "big\0small\0strong\0em\0b\0i\0u\0s\0sub\0sup\0tt\0center\0blinking\0font\0marquee\0";
const char VoidNames[] =
    "frame\0hr\0br\0wbr\0img\0input\0timer\0access\0meta\0noop\0postfield\0setvar\0";

bool BeginsWith(const char* text, const char* prefix)
{
    return strncmp(text, prefix, strlen(prefix)) == 0;
}

}  // namespace

void CXmlObject::ClassifyText()
{
    Kind = 0;
    const size_t n = Text.size();
    if (!HasText) return;
    if (n >= 7 && Text.compare(0, 4, "<!--") == 0 && Text.compare(n - 3, 3, "-->") == 0) {
        Kind = KindComment;
        return;
    }
    if (n < 3 || Text[0] != '<' || Text[n - 1] != '>') return;
    Kind = KindTag;
    const char second = Text[1];
    if (second != '/') Kind |= KindStartTag;
    if (second == '!' || second == '?' || second == '/' || Text[n - 2] == '/')
        Kind |= KindEmptyOrEndTag;
}

// The marker words compare exactly and as prefixes, after the blanks that
// follow "<!--".
int CXmlObject::GetMarkerKind() const
{
    if (!IsComment()) return 0;
    const char* after = Text.c_str() + 4;
    while (*after == ' ') ++after;
    if (BeginsWith(after, IncludeTagStart) || BeginsWith(after, ExcludeTagStart)) return 1;
    if (BeginsWith(after, IncludeTagStop) || BeginsWith(after, ExcludeTagStop)) return 2;
    return 0;
}

bool CXmlObject::IsEndMarker() const
{
    if (!HasText || Text.size() < 4) return false;
    const char* after = Text.c_str() + 4;
    while (*after == ' ') ++after;
    return BeginsWith(after, IncludeTagStop) || BeginsWith(after, ExcludeTagStop);
}

bool CXmlObject::IsTextStyleTag() const
{
    return IsNameInList(GetName(), TextStyleNames);
}

bool CXmlObject::IsVoidTag() const
{
    if (IsNameInList(GetName(), VoidNames)) return true;
    return HasText && Text.size() > 1 && (Text[1] == '?' || Text[1] == '!');
}
