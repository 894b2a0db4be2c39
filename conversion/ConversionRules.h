// The element rules of the main pass (conversion-private). Each rule sees the
// visited node: an element's start tag, its end tag, or an empty tag.
#pragma once

#include "conversion/ContentModels.h"
#include "markup/Xmlnode.h"

class CWmlSettings;
class CFragmentTargets;

// A rule with the content model it applies (unused by some rules).
using RuleFunction = void (*)(CXmlNode* node, const CContentModel& model);

// "At the end tag": an end tag or an empty tag.
inline bool AtEndTag(const CXmlNode* node) { return node->IsEmptyOrEndTag(); }
// "At the start tag": a start tag that is not empty.
inline bool AtStartTag(const CXmlNode* node) { return node->IsOpenStartTag(); }
// Drops a tag: the writer omits it and writes its children.
inline void DropTag(CXmlNode* node) { node->GetObject()->SetName(""); }
// Deletes every child of the node, each with its subtree.
inline void DeleteChildren(CXmlNode* node)
{
    while (node->GetFirstChild() != nullptr) delete node->GetFirstChild();
}
inline void Rename(CXmlNode* node, const char* name) { node->GetObject()->SetName(name); }
CWorkingVariables* StateOf(const CXmlNode* node);
// Escapes an attribute value with the profile's replacement for a bare '&'.
void EscapeHref(CXmlNode* tag);
// Formats a text with one "%s" argument ("%%" gives '%'), of any length.
std::string FormatText(const char* format, const char* argument);

// Document, card and navigation elements.
void RuleHtml(CXmlNode* node, const CContentModel& model);
void RuleTitle(CXmlNode* node, const CContentModel& model);
void RuleCard(CXmlNode* node, const CContentModel& model);
void RuleDo(CXmlNode* node, const CContentModel& model);
void RuleFilterAtEnd(CXmlNode* node, const CContentModel& model);
void RuleMeta(CXmlNode* node, const CContentModel& model);
void RuleGo(CXmlNode* node, const CContentModel& model);
void RuleImg(CXmlNode* node, const CContentModel& model);
void RuleA(CXmlNode* node, const CContentModel& model);

// Text, form and table elements.
void RuleSelect(CXmlNode* node, const CContentModel& model);
void RuleInput(CXmlNode* node, const CContentModel& model);
void RuleTable(CXmlNode* node, const CContentModel& model);
void RuleTr(CXmlNode* node, const CContentModel& model);
void RuleTd(CXmlNode* node, const CContentModel& model);
void RuleP(CXmlNode* node, const CContentModel& model);
void RuleForm(CXmlNode* node, const CContentModel& model);
void RuleHeading(CXmlNode* node, const CContentModel& model);
void RuleHr(CXmlNode* node, const CContentModel& model);
void RuleCenter(CXmlNode* node, const CContentModel& model);
void RuleFont(CXmlNode* node, const CContentModel& model);
void RuleTextarea(CXmlNode* node, const CContentModel& model);
void RuleRemoveWithContent(CXmlNode* node, const CContentModel& model);
void RuleOther(CXmlNode* node, const CContentModel& model);
void RuleList(CXmlNode* node, const CContentModel& model);
void RuleListItem(CXmlNode* node, const CContentModel& model);

// The content list by which an element's rule judges its children, when
// judging them by it at the end tag is all the rule does to them; null for
// any other element.
const CContentList* FilteringContentOf(const CXmlNode* element);

// The deck skeleton built at the root after the walk; the walk's fragment
// targets lead the deck's fragment links to their cards.
void BuildDeckSkeleton(CXmlNode* root, const CFragmentTargets& targets);
