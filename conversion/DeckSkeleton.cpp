#include <cstring>

#include "conversion/Conversion.h"
#include "conversion/ConversionRules.h"
#include "conversion/FragmentLinks.h"
#include "devices/Xmldevice.h"

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

void AddDeclarations(CXmlNode* root, const CWmlSettings& profile)
{
    Trace("XHtmlToWml: Stop1\r\n");
    CXmlNode* first = root->GetFirstChild();
    if (first == nullptr || !IsDeclarationContaining(first, "<?xml "))
        root->InsertFirstChild(new CXmlNode(profile.XmlVersion));
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
        card->GetObject()->SetAttribute("title", EscapedAttributeText(state->Title).c_str());
    CXmlNode* end = new CXmlNode("</card>");
    card->InsertAfter(end);
    card->AppendFollowersOf(end);
}

// A card whose content is not exactly one p element gets wrapped in a new one.
void WrapCardContent(CXmlNode* card)
{
    CXmlNode* first = card->GetFirstNonBlankChild();
    CXmlNode* last = card->GetLastNonBlankChild();
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
    targets.ResolveLinks(wml);
    Trace("XHtmlToWml: Stop 9\r\n");
    FinalCleanup(root);
    Trace("XHtmlToWml: Stop 10\r\n");
    root->SetWorkingVariables(nullptr);
    Trace("XHtmlToWml: Stop 11\r\n");
}
