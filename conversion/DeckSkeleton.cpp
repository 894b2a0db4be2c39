#include <cstring>
#include <string>
#include <vector>

#include "conversion/Conversion.h"
#include "conversion/ConversionRules.h"
#include "conversion/FragmentLinks.h"
#include "conversion/LineMarks.h"
#include "devices/Xmldevice.h"
#include "markup/PageEncoding.h"
#include "markup/Walks.h"
#include "platform/Trace.h"

namespace {

// Only a declaration or processing instruction can stand for the deck's own:
// an element whose attribute value holds "<?xml " or "<!DOCTYPE wml" must not.
bool IsDeclarationContaining(const CXmlNode* node, const char* part)
{
    const char* text = node->GetText();
    return node->IsTag() && (text[1] == '?' || text[1] == '!') && strstr(text, part) != nullptr;
}

CXmlNode* ChildAt(const CXmlNode* parent, int index)
{
    CXmlNode* child = parent->GetFirstChild();
    for (; child != nullptr && index > 0; --index) child = child->GetNextSibling();
    return child;
}

void DeleteBlankChildrenAt(CXmlNode* root, int index)
{
    for (CXmlNode* child = ChildAt(root, index); child != nullptr && IsBlank(child->GetText());
         child = ChildAt(root, index))
        delete child;
}

CXmlNode* FindChildTag(const CXmlNode* parent, const char* name)
{
    for (CXmlNode* child = parent->GetFirstChild(); child != nullptr;
         child = child->GetNextSibling())
        if (child->IsTag() && child->IsNamed(name)) return child;
    return nullptr;
}

// The page's wml element behind the two declarations: an open start tag, so
// that its content and its end tag are where the deck needs them.
CXmlNode* FindWmlAfter(const CXmlNode* second)
{
    for (CXmlNode* node = second->GetNextSibling(); node != nullptr; node = node->GetNextSibling())
        if (node->IsOpenStartTag() && node->IsNamed("wml")) return node;
    return nullptr;
}

// Where the version pseudo-attribute of a declaration ends, or npos: an
// encoding pseudo-attribute must follow it directly.
size_t VersionEnd(const std::string& declaration)
{
    size_t at = declaration.find("version");
    if (at == std::string::npos) return at;
    at = declaration.find_first_not_of(" \t\r\n", at + 7);
    if (at == std::string::npos || declaration[at] != '=') return std::string::npos;
    at = declaration.find_first_not_of(" \t\r\n", at + 1);
    if (at == std::string::npos || (declaration[at] != '"' && declaration[at] != '\'')) return at;
    const size_t close = declaration.find(declaration[at], at + 1);
    return close == std::string::npos ? close : close + 1;
}

// The deck's XML declaration names the encoding its bytes are in: where the
// page goes beyond ASCII in an encoding other than UTF-8, and where the page's
// own declaration names another encoding (its bytes were UTF-16, or had a
// byte-order mark). A profile's declaration that names one is kept as it is.
void DeclareEncoding(CXmlNode* declaration, bool fromProfile, const CWorkingVariables* state)
{
    if (state == nullptr || state->Encoding == nullptr || declaration->GetText() == nullptr) return;
    const std::string text = declaration->GetText();
    std::string declared;
    size_t begin = 0, end = 0;
    if (FindDeclaredEncoding(text.data(), text.size(), begin, end)) {
        const char* named = CanonicalEncodingName(text.data() + begin, end - begin);
        const char* reading = CanonicalEncodingName(state->Encoding, strlen(state->Encoding));
        if (fromProfile || (named != nullptr && reading != nullptr && strcmp(named, reading) == 0))
            return;
        declared = text.substr(0, begin) + state->Encoding + text.substr(end);
    } else {
        const size_t after = VersionEnd(text);
        if (!state->NameEncoding || after == std::string::npos) return;
        declared = text.substr(0, after) + " encoding=\"" + state->Encoding + "\"" + text.substr(after);
    }
    declaration->GetObject()->ReplaceText(declared);
}

void AddDeclarations(CXmlNode* root, const CWmlSettings& profile)
{
    Trace("XHtmlToWml: Stop1\r\n");
    CXmlNode* first = root->GetFirstChild();
    const bool fromProfile = first == nullptr || !IsDeclarationContaining(first, "<?xml ");
    if (fromProfile) root->InsertFirstChild(new CXmlNode(profile.XmlVersion));
    DeclareEncoding(root->GetFirstChild(), fromProfile, StateOf(root));
    Trace("XHtmlToWml: Stop2\r\n");
    DeleteBlankChildrenAt(root, 1);
    Trace("XHtmlToWml: Stop3\r\n");
    CXmlNode* second = ChildAt(root, 1);
    if (second == nullptr || !IsDeclarationContaining(second, "<!DOCTYPE wml"))
        root->GetFirstChild()->InsertAfter(new CXmlNode(profile.DocType));
    Trace("XHtmlToWml: Stop4\r\n");
    DeleteBlankChildrenAt(root, 2);
}

// Keeps only the wml element behind the two declarations, or creates it
// around everything that follows them.
CXmlNode* EnsureWmlElement(CXmlNode* root)
{
    Trace("XHtmlToWml: Stop5\r\n");
    CXmlNode* second = ChildAt(root, 1);
    CXmlNode* wml = FindWmlAfter(second);
    if (wml != nullptr) {
        while (second->GetNextSibling() != wml) delete second->GetNextSibling();
        CXmlNode* end = wml->GetNextSibling();
        if (end != nullptr)
            while (end->GetNextSibling() != nullptr) delete end->GetNextSibling();
        return wml;
    }
    wml = new CXmlNode("<wml>");
    second->InsertAfter(wml);
    CXmlNode* end = new CXmlNode("</wml>");
    wml->InsertAfter(end);
    wml->AppendFollowersOf(end);
    return wml;
}

void AddDefaultCard(CXmlNode* wml)
{
    if (FindChildTag(wml, "card") != nullptr) return;
    CXmlNode* card = new CXmlNode("<card id=\"card1\" title=\"\">");
    wml->InsertFirstChild(card);
    const CWorkingVariables* state = StateOf(wml);
    if (state != nullptr && state->Title != nullptr)
        card->GetObject()->SetAttribute("title", state->Title);
    CXmlNode* end = new CXmlNode("</card>");
    card->InsertAfter(end);
    card->AppendFollowersOf(end);
}

// The first and last child that is neither blank nor a line mark.
CXmlNode* FirstShownChild(const CXmlNode* card)
{
    CXmlNode* child = card->GetFirstChild();
    while (child != nullptr && (IsBlank(child->GetText()) || IsLineMark(child)))
        child = child->GetNextSibling();
    return child;
}

CXmlNode* LastShownChild(const CXmlNode* card)
{
    CXmlNode* child = card->GetLastChild();
    while (child != nullptr && (IsBlank(child->GetText()) || IsLineMark(child)))
        child = child->GetPreviousSibling();
    return child;
}

// A card whose content is not exactly one p element gets wrapped in a new one.
// The marks of the blocks around that p stand for lines that begin or end
// the card, which are none.
void WrapCardContent(CXmlNode* card)
{
    CXmlNode* first = FirstShownChild(card);
    CXmlNode* last = LastShownChild(card);
    bool singleParagraph = first != nullptr && first->IsStartTag() && first->IsNamed("p") &&
                           last == first->GetNextSibling();
    if (!singleParagraph) {
        CXmlNode* end = new CXmlNode("</p>");
        card->InsertFirstChild(end);
        CXmlNode* paragraph = new CXmlNode("<p>");
        card->InsertFirstChild(paragraph);
        paragraph->AppendFollowersOf(end);
        FilterElement(paragraph, ModelP);
    }
    FilterElement(card, ModelCardFinal);
}

// The line marks and the links to fragments are both read off the final
// deck in document order, so one walk reads them. The links are resolved
// first: a dropped anchor holds no break.
void ResolveMarksAndLinks(CXmlNode* root, CXmlNode* wml, const CFragmentTargets& targets)
{
    CLineMarks lines;
    std::vector<CXmlNode*> links;
    const bool linksWanted = targets.SawLinksToFragments();
    WalkNodesFirst(root->GetFirstChild(), [&](CXmlNode* node, size_t) {
        lines.Read(node);
        if (linksWanted && IsFragmentLink(node)) links.push_back(node);
        return true;
    });
    targets.ResolveLinks(wml, links);
    lines.Resolve();
}

}  // namespace

void BuildDeckSkeleton(CXmlNode* root, const CFragmentTargets& targets)
{
    const CWmlSettings& profile = *GetDocumentSettings(root);
    AddDeclarations(root, profile);
    CXmlNode* wml = EnsureWmlElement(root);
    AddDefaultCard(wml);
    for (CXmlNode* child = wml->GetFirstChild(); child != nullptr; child = child->GetNextSibling())
        if (child->IsStartTag() && child->IsNamed("card")) WrapCardContent(child);
    FilterElement(wml, ModelWmlFinal);
    ResolveMarksAndLinks(root, wml, targets);
    Trace("XHtmlToWml: Stop 9\r\n");
    FinalCleanup(root);
    Trace("XHtmlToWml: Stop 10\r\n");
    root->SetWorkingVariables(nullptr);
    Trace("XHtmlToWml: Stop 11\r\n");
}
