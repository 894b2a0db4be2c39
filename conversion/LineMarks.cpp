#include "conversion/LineMarks.h"

#include <cstring>

#include "markup/ElementNames.h"
#include "markup/Xmlnode.h"

namespace {

// Names a parse never gives, as names do not begin with '-'; short enough
// for a mark's text and name to fit in the record itself.
const char LineMarkName[] = "-l";
const char BulletMarkName[] = "-b";
const char NumberMarkName[] = "-n";

// Blocks are many, so each mark is a copy of a record made once. The
// records lie in the records themselves, not in a conversion's memory.
struct CMarkRecords {
    CMarkRecords()
    {
        Make(Line, LineMarkName);
        Make(Bullet, BulletMarkName);
        Make(Number, NumberMarkName);
    }
    static void Make(CXmlObject& record, const char* name)
    {
        record.SetText("<!---->", 7);
        record.SetName(name);
    }
    CXmlObject Line, Bullet, Number;
};

const CXmlObject& MarkRecord(const char* name)
{
    static const CMarkRecords records;
    return name == LineMarkName ? records.Line
                                : name == BulletMarkName ? records.Bullet : records.Number;
}

CXmlNode* NewMark(const char* name) { return new CXmlNode(MarkRecord(name)); }

bool IsNamedMark(const CXmlNode* node, const char* name)
{
    if (!node->IsComment()) return false;
    const char* own = node->GetName();
    return own != nullptr && own[0] == '-' && strcmp(own, name) == 0;
}

bool IsPlainLineMark(const CXmlNode* node)
{
    return node != nullptr && IsNamedMark(node, LineMarkName);
}

}  // namespace

bool IsLineBlock(const CXmlObject* record)
{
    static const CElementSet blocks(
        "address\0article\0aside\0blockquote\0caption\0dd\0details\0dialog\0dir\0div\0dl\0dt\0"
        "fieldset\0figcaption\0figure\0footer\0form\0h1\0h2\0h3\0h4\0h5\0h6\0header\0hgroup\0"
        "legend\0li\0main\0menu\0nav\0ol\0p\0pre\0section\0summary\0table\0tbody\0tfoot\0"
        "thead\0tr\0ul\0");
    return record != nullptr && record->IsTag() && blocks.Contains(record);
}

// A mark that ends the content just before the block, passing over the
// dropped tags and blanks between them (a few only: the look stays short).
bool FollowsMark(const CXmlNode* start)
{
    const CXmlNode* node = start->GetPreviousSibling();
    for (int step = 0; node != nullptr && step < 4; ++step, node = node->GetPreviousSibling()) {
        if (IsLineMark(node)) return true;
        const char* name = node->GetName();
        const bool dropped = node->IsTag() && name != nullptr && name[0] == '\0';
        if (!dropped && (node->IsTag() || node->IsComment() || !IsBlank(node->GetText())))
            return false;
    }
    return false;
}

// Blocks nested in each other or following each other share their marks: one
// mark at a place is as good as several. A list item's own mark begins its
// line.
void MarkBlockLines(CXmlNode* start)
{
    const CXmlNode* first = start->GetFirstChild();
    const bool opensLine = (first != nullptr && IsLineMark(first)) || FollowsMark(start);
    if (!opensLine) start->InsertFirstChild(NewMark(LineMarkName));
    if (!IsPlainLineMark(start->GetLastChild())) start->AppendChild(NewMark(LineMarkName));
}

bool HasTextBeforeOnLine(const CXmlNode* node)
{
    static const CElementSet stopNames("table\0p\0br\0");
    const CXmlNode* root = node->GetDocumentRoot();
    for (const CXmlNode* p = node; p != nullptr && p != root && p->GetObject() != nullptr;) {
        const CXmlNode* previous = p->GetPreviousSibling();
        p = previous != nullptr ? previous : p->GetParent();
        if (p == nullptr || p == root || p->GetObject() == nullptr) break;
        if (p->IsTag()) {
            if (stopNames.Contains(p->GetObject())) return false;
        } else if (p->IsComment()) {
            if (IsLineMark(p)) return false;
        } else if (!IsBlank(p->GetText())) {
            return true;
        }
    }
    return false;
}

bool IsWordBox(const CXmlObject* record)
{
    return record != nullptr && record->IsTag() && record->GetNameCode() == ElementNameCode("button");
}

void SpaceAround(CXmlNode* start)
{
    start->InsertFirstChild(new CXmlNode(" "));
    start->AppendChild(new CXmlNode(" "));
}

void MarkLineAfter(CXmlNode* node) { node->InsertAfter(NewMark(LineMarkName)); }

void MarkListItem(CXmlNode* start, const std::string& prefix)
{
    if (prefix == "* ") {
        start->InsertFirstChild(NewMark(BulletMarkName));
        return;
    }
    CXmlNode* mark = NewMark(NumberMarkName);
    mark->GetObject()->SetAttribute("prefix", prefix.c_str());
    start->InsertFirstChild(mark);
}

// The three names are '-' and one letter each.
bool IsLineMark(const CXmlNode* node)
{
    if (!node->IsComment()) return false;
    const char* own = node->GetName();
    return own != nullptr && own[0] == '-' && own[1] != '\0' && own[2] == '\0' &&
           (own[1] == LineMarkName[1] || own[1] == BulletMarkName[1] ||
            own[1] == NumberMarkName[1]);
}

const char* ItemPrefixOf(const CXmlNode* mark)
{
    if (IsNamedMark(mark, BulletMarkName)) return "* ";
    return IsNamedMark(mark, NumberMarkName) ? mark->GetObject()->GetAttribute("prefix") : nullptr;
}
