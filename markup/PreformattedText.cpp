#include "markup/Xmlnode.h"

#include "markup/BreakRecord.h"
#include "markup/ElementNames.h"
#include "markup/NodeInternals.h"
#include "markup/TokenRules.h"
#include "platform/ByteScan.h"

// WML has no preformatted text, so the lines of a pre are kept by breaks: the
// tree builder places each line of a text run inside an open pre as a text
// node of its own, collapsed as any text run is, with a "<br/>" for each
// line end. The breaks are tokens of the page, as its own breaks are.
namespace {

constexpr CByteSet LineEnds = {'\r', '\n'};

bool IsLineEnd(char c) { return LineEnds.Has(c); }

size_t FindLineEnd(const char* text, size_t from, size_t length)
{
    return LineEnds.FindFirst(text, from, length);
}

// CR LF is one line end, as a lone CR or LF is.
size_t LineEndLength(const char* text, size_t at, size_t length)
{
    return text[at] == '\r' && at + 1 < length && text[at + 1] == '\n' ? 2 : 1;
}

// A line end right after the start tag of a pre is not shown, so that a
// page can begin the pre's first line on a line of its own.
bool IsPreStart(const CXmlNode* node)
{
    return node != nullptr && node->IsOpenStartTag() && node->IsNamed("pre");
}

}  // namespace

// Most runs inside a pre hold no line end; they are placed as any run is.
bool CXmlNode::HoldsPreformattedLines(const CXmlNode* run)
{
    static const uint8_t preCode = ElementNameCode("pre");
    if (run->IsTag() || run->IsComment() || RootState().PlacingPreformattedLines) return false;
    if (!IsInOpenElement(preCode)) return false;
    const CXmlObject* record = run->GetObject();
    const size_t length = static_cast<size_t>(record->GetTextLength());
    return FindLineEnd(record->GetText(), 0, length) < length;
}

// Each line and each break takes the road of a page's token, tag
// replacement included; the run's record keeps its last line, so a run
// without line ends is placed as it stands.
void CXmlNode::PlacePreformattedText(CXmlNode* run)
{
    std::unique_ptr<CXmlNode> owned(run);
    CRootState& root = RootState();
    root.PlacingPreformattedLines = true;
    CXmlObject* record = owned->GetObject();
    const char* text = record->GetText();
    const size_t length = static_cast<size_t>(record->GetTextLength());
    size_t line = 0;
    if (length > 0 && IsLineEnd(text[0]) && IsPreStart(GetCurrentNode()))
        line = LineEndLength(text, 0, length);
    const CMarkerWords& words = MarkerWordsOf(*PrepareDocumentState(this));
    for (size_t end = FindLineEnd(text, line, length); end < length;
         end = FindLineEnd(text, line, length)) {
        if (end > line) PlaceToken(new CXmlNode(CNulFreeText{text + line, end - line}, words));
        PlaceToken(new CXmlNode(BreakRecord()));
        line = end + LineEndLength(text, end, length);
    }
    record->TrimText(line, length);
    PlaceToken(owned.release());
    root.PlacingPreformattedLines = false;
}
