// Where the conversion removes the tags of a block-level element, the block's
// content and what stands before and after it must stay on lines of their
// own (conversion-private). The passes leave marks at those places, and a
// last step turns each mark into a line break or into nothing, once the
// deck's content has found its final places.
#pragma once

#include <memory>
#include <string>

class CXmlNode;
class CXmlObject;

// True for an element that HTML shows as a block of its own: paragraphs,
// divisions, lists and their items, sections, forms, table rows, ...
bool IsLineBlock(const CXmlObject* record);
// Marks the start and the end of a block's content, as its first and last
// children, before its tags go.
void MarkBlockLines(CXmlNode* start);
// Marks a line's end after an empty block.
void MarkLineAfter(CXmlNode* node);
// Marks the start of a list item, which begins its line with `prefix`.
void MarkListItem(CXmlNode* start, const std::string& prefix);

// True for an inline element that HTML draws as a box of its own (a button):
// its text never runs into the text beside it.
bool IsWordBox(const CXmlObject* record);
// Keeps such a box's content apart from its neighbours by a blank on each side.
void SpaceAround(CXmlNode* start);

// CXmlNode::HasTextBefore, where a mark also ends the look back: text
// before a block's edge is on another line.
bool HasTextBeforeOnLine(const CXmlNode* node);

// The marks are comments, which every content filter keeps, with a name no
// page can give a comment.
bool IsLineMark(const CXmlNode* node);
// The prefix of a list item's mark; null for any other node.
const char* ItemPrefixOf(const CXmlNode* mark);

// Turns the marks of the deck into line breaks and list-item prefixes, or
// removes them: a break stands only between content of the same card or
// table cell, never two in a row, never beside a break that was already
// there, and only inside an element that may hold one. Read is shown every
// node of the final deck in document order, so that the walk that reads them
// can serve other readers too; Resolve then changes the marks.
class CLineMarks {
public:
    CLineMarks();
    ~CLineMarks();
    CLineMarks(const CLineMarks&) = delete;
    CLineMarks& operator=(const CLineMarks&) = delete;

    void Read(CXmlNode* node);
    void Resolve();

private:
    std::unique_ptr<class CLineJudge> Judge;
};
