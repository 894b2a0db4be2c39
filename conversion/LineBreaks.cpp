#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "conversion/LineMarks.h"
#include "markup/BreakRecord.h"
#include "markup/ElementNames.h"
#include "markup/Walks.h"
#include "markup/Xmlnode.h"

namespace {

// What the current line holds so far: nothing yet, content, a break that was
// already there, or a list item's prefix, which shares its line with the
// item's first content.
enum class ELine { Empty, Content, Break, Prefix };

// The lines of a card or of a table cell are their own.
struct CLineContext {
    ELine Line = ELine::Empty;
    // A mark after content: it becomes a break when more content follows.
    size_t Pending = 0;
    bool HasPending = false;
};

// What becomes of one mark.
struct CMarkOutcome {
    CXmlNode* Mark;
    bool Break = false;
    const char* Prefix = nullptr;
};

// What a node of the deck means for its line.
enum class EKind { Other, OpensContext, ClosesContext, Mark, Break, Content };

// What a tag means for its line, by its name's code.
enum class ETag : uint8_t { Other, Context, Shown, Break };

// Cards and table cells hold lines of their own; images, controls and tables
// show something. Every node of the deck is judged, so by a table.
const std::array<ETag, ElementCodeBound>& TagKinds()
{
    static const std::array<ETag, ElementCodeBound> kinds = [] {
        std::array<ETag, ElementCodeBound> table{};
        for (const char* name : {"card", "td"}) table[ElementNameCode(name)] = ETag::Context;
        for (const char* name : {"img", "input", "select", "table"})
            table[ElementNameCode(name)] = ETag::Shown;
        table[ElementNameCode("br")] = ETag::Break;
        return table;
    }();
    return kinds;
}

EKind KindOf(const CXmlNode* node)
{
    const CXmlObject* record = node->GetObject();
    if (!record->IsTag()) {
        if (record->IsComment()) return IsLineMark(node) ? EKind::Mark : EKind::Other;
        return IsBlank(record->GetText()) ? EKind::Other : EKind::Content;
    }
    switch (TagKinds()[record->GetNameCode()]) {
    case ETag::Break:
        return EKind::Break;
    case ETag::Context:
        if (!record->IsStartTag()) return EKind::ClosesContext;
        return record->IsEmptyOrEndTag() ? EKind::Other : EKind::OpensContext;
    case ETag::Shown:
        return record->IsStartTag() ? EKind::Content : EKind::Other;
    case ETag::Other:
        break;
    }
    return EKind::Other;
}

// The elements of a deck that may hold a line break (and so a prefix's text).
bool TakesBreak(const CXmlNode* parent)
{
    static const CElementSet holders(
        "p\0td\0em\0strong\0b\0i\0u\0big\0small\0anchor\0a\0fieldset\0");
    return parent != nullptr && parent->IsTag() && holders.Contains(parent->GetObject());
}


// An option's text holds no break: its lines stay apart by a blank.
bool TakesTextOnly(const CXmlNode* parent)
{
    return parent != nullptr && parent->IsTag() && parent->IsNamed("option");
}

void MakeText(CXmlNode* node, const std::string& text)
{
    node->GetObject()->SetText(text.data(), static_cast<int>(text.size()));
}

// The mark itself becomes the break, or the prefix's text, so most marks
// cost no node of their own; one that stands for nothing goes.
void Apply(const CMarkOutcome& outcome)
{
    CXmlNode* mark = outcome.Mark;
    const CXmlNode* parent = mark->GetParent();
    const std::string prefix = outcome.Prefix != nullptr ? outcome.Prefix : "";
    if (TakesBreak(parent) && outcome.Break) {
        mark->GetObject()->CopyFrom(BreakRecord());
        if (!prefix.empty()) mark->InsertAfter(new CXmlNode(prefix.c_str()));
    } else if (TakesBreak(parent) && !prefix.empty()) {
        MakeText(mark, prefix);
    } else if (TakesTextOnly(parent) && (outcome.Break || !prefix.empty())) {
        MakeText(mark, (outcome.Break ? " " : "") + prefix);
    } else {
        delete mark;
    }
}

}  // namespace

class CLineJudge {
public:
    void Visit(CXmlNode* node)
    {
        switch (KindOf(node)) {
        case EKind::OpensContext:
            Contexts.emplace_back();
            return;
        case EKind::ClosesContext:
            if (Contexts.size() > 1) Contexts.pop_back();
            return;
        case EKind::Mark:
            Mark(node);
            return;
        case EKind::Break:
            Context().HasPending = false;
            Context().Line = ELine::Break;
            return;
        case EKind::Content:
            Content();
            return;
        case EKind::Other:
            return;
        }
    }

    std::vector<CMarkOutcome>& Outcomes() { return Marks; }

private:
    CLineContext& Context() { return Contexts.back(); }

    void Content()
    {
        CLineContext& context = Context();
        if (context.HasPending) Marks[context.Pending].Break = true;
        context.HasPending = false;
        context.Line = ELine::Content;
    }

    void Mark(CXmlNode* node)
    {
        CLineContext& context = Context();
        Marks.push_back({node});
        const char* prefix = ItemPrefixOf(node);
        if (prefix == nullptr) {
            if (context.Line == ELine::Content && !context.HasPending) {
                context.Pending = Marks.size() - 1;
                context.HasPending = true;
            }
            return;
        }
        Marks.back().Break = context.HasPending || context.Line == ELine::Content;
        Marks.back().Prefix = prefix;
        context.HasPending = false;
        context.Line = ELine::Prefix;
    }

    // The bottom context holds whatever lies outside the cards.
    std::vector<CLineContext> Contexts = std::vector<CLineContext>(1);
    std::vector<CMarkOutcome> Marks;
};

CLineMarks::CLineMarks() : Judge(new CLineJudge) {}

CLineMarks::~CLineMarks() = default;

void CLineMarks::Read(CXmlNode* node) { Judge->Visit(node); }

void CLineMarks::Resolve()
{
    for (const CMarkOutcome& outcome : Judge->Outcomes()) Apply(outcome);
}
