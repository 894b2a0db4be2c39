// XHTML to WML conversion: the pre-pass, the main pass with its element
// rules, content models, forms, tables, tag replacement and text escaping.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

class CXmlNode;
class CXmlObject;
class CConfiguration;
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
// the bound of the device's profile in `configuration` is replaced by the
// notice first.
long long MeasureBoundedDeck(CXmlNode* root, const std::shared_ptr<const CConfiguration>& configuration,
                             const char* userAgent);
// The profile in effect for the device of the node's document.
const CWmlSettings* GetDocumentSettings(const CXmlNode* node);
void FinalCleanup(CXmlNode* node);
bool TrailingBlankRemovable(const CXmlNode* node);

// Content lists: one flag byte (1 when text is allowed), then a name list.
void FilterChildren(CXmlNode* element, const CContentList& contentList);
// Filters an element's children and attributes; `node` is its start tag or
// its end tag. Returns the start tag.
CXmlNode* FilterElement(CXmlNode* node, const CContentList& contentList,
                        const char* attributeList);

// How a text of the page is written into the deck.
struct CEscapeRules {
    // Written for an '&' that begins no character reference.
    const char* AmpText;
    // An attribute value: a legacy reference followed by '=' or a letter or
    // digit is no reference, and '"' becomes "&quot;" when Markup is set.
    bool InAttribute;
    // '<' and '>' become "&lt;" and "&gt;".
    bool Markup;
    // A '$' that begins no variable reference "$(name)" or "$(name:conv)"
    // is doubled.
    bool Dollars;
};
// Text runs as the walk escapes them; their '$' is doubled once, at the end.
constexpr CEscapeRules TextRunRules = {"&amp;", false, true, false};
// Attribute values as the deck writes them.
constexpr CEscapeRules AttributeRules = {"&amp;", true, true, true};

// Escapes `length` bytes of `text` (a NUL follows them) for the deck:
// character references become the ones WML knows (see AppendReference), any
// other '&' becomes AmpText, and the rules say what else changes. Escaping
// the result again by the same rules changes only '$'. Returns false,
// leaving `out` as it is, when the text stays the same; otherwise `out`
// holds the escaped text.
bool EscapeText(const char* text, size_t length, const CEscapeRules& rules, std::string& out);
// The text as it may stand in a deck's text (TextRunRules).
std::string EscapedText(const char* text);
// The escaping that the deck's writing leaves to the end, when every node
// stands where it is written: attribute values, the '$' of text runs, and
// comments made well-formed. Declarations are written as they stand.
void EscapeForDeck(CXmlNode* node);
// Whether the deck writes the tag from its name and attribute values: not a
// declaration or processing instruction, which stand as they are, nor a
// dropped tag.
bool WritesAttributes(const CXmlObject& record);

// Tag replacement while the page is parsed: replaces the tag of `node` by the
// profile's replacement text. Returns 1 when an entry was found.
int ReplaceTag(CXmlNode* node, const CDevice* device, CXmlNode* lastAdded);
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
