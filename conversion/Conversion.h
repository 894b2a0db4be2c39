// XHTML to WML conversion: the pre-pass, the main pass with its element
// rules, content models, forms, tables, tag replacement and text escaping.
#pragma once

#include <string>

class CXmlNode;
class CDevice;
class CWmlSettings;
struct CContentList;

// Pre-pass: lower-cases names, closes void elements, gives every open start
// tag its end tag, then prunes stray end tags and empty text styles.
void NormalizeTree(CXmlNode* node);
void PruneTree(CXmlNode* node);

// Main pass: rewrites the tree under the root into a WML deck.
void XHtmlToWml(CXmlNode* node);
// Replaces everything under the root by the short deck that says the page is
// too large for the handset (the root's device chooses the profile).
void ReplaceByTooLargeNotice(CXmlNode* root);
// The written length of the converted deck under the root; a deck longer than
// the profile's bound is replaced by the notice first.
long long MeasureBoundedDeck(CXmlNode* root, const char* userAgent);
// The profile in effect for the device of the node's document.
CWmlSettings* GetDocumentSettings(const CXmlNode* node);
void FinalCleanup(CXmlNode* node);
bool TrailingBlankRemovable(const CXmlNode* node);

// Content lists: one flag byte (1 when text is allowed), then a name list.
void FilterChildren(CXmlNode* element, const CContentList& contentList);
// Filters an element's children and attributes; `node` is its start tag or
// its end tag. Returns the start tag.
CXmlNode* FilterElement(CXmlNode* node, const CContentList& contentList,
                        const char* attributeList);

// Escapes a text for WML: a bare '&' becomes `ampText`, '<' and '>' become
// entities, and entity references are kept (lower-cased). Returns null when
// no byte of `triggers` occurs in the text; otherwise a new text (delete[]).
char* EscapeText(const char* src, const char* triggers, const char* ampText);
// The text as it may stand in a deck's text: EscapeText with "&<>" and "&amp;".
std::string EscapedText(const char* text);
// The same for an attribute value, where a double quote also becomes "&quot;".
std::string EscapedAttributeText(const char* text);

// Tag replacement while the page is parsed: replaces the tag of `node` by the
// profile's replacement text. Returns 1 when an entry was found.
int ReplaceTag(CXmlNode* node, CDevice* device, CXmlNode* lastAdded);
// True when the device's profile lists any tag replacement.
bool HasTagReplacements(const CDevice* device);

// Forms: WML variable name and postfield name of a control, and the
// postfields of a form's controls appended to a `go` element.
std::string GetVariableName(const CXmlNode* control);
std::string GetPostfieldName(const CXmlNode* control);
void AddFormPostfields(CXmlNode* first, CXmlNode* go);
// The same for the go task of a submit button's anchor, while the main pass
// visits the button: the controls before it converted, those after it not yet.
void AddSubmitPostfields(CXmlNode* form, CXmlNode* button, CXmlNode* anchor, CXmlNode* go);

// Tables.
int CountTableColumns(const CXmlNode* table);
void NormalizeTableRow(CXmlNode* row);
void FlattenNestedTables(CXmlNode* first);
