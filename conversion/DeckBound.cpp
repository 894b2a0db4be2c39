// The bound on a deck's length: a longer deck is replaced by a short one that
// says the page is too large for the handset.
#include <cstring>
#include <vector>

#include "conversion/Conversion.h"
#include "conversion/ConversionRules.h"
#include "devices/Xmldevice.h"
#include "markup/Xmlnode.h"

void ReplaceByTooLargeNotice(CXmlNode* root)
{
    DeleteChildren(root);
    CXmlNode* paragraph = new CXmlNode("<p>");
    root->AppendChild(paragraph);
    paragraph->AppendChild(new CXmlNode("This page is too large for this handset."));
    paragraph->InsertAfter(new CXmlNode("</p>"));
    XHtmlToWml(root);
}

namespace {

// The measured length is an upper bound: a deck measured above the bound is
// written once to learn its true length.
bool IsLongerThan(const CXmlNode* root, long long measured, long long bound)
{
    if (measured <= bound) return false;
    std::vector<char> deck(static_cast<size_t>(measured) + 1);
    root->Write(deck.data(), LineBreakElements);
    return static_cast<long long>(strlen(deck.data())) > bound;
}

}  // namespace

long long MeasureBoundedDeck(CXmlNode* root, const CConfigurationSnapshot& configuration,
                             const char* userAgent)
{
    const long long measured = root->GetWriteLength(LineBreakElements);
    const CWmlSettings* profile = ProfileOf(configuration->FindDeviceByUserAgent(userAgent));
    if (!IsLongerThan(root, measured, profile->MaxDeckBytes)) return measured;
    AttachDevice(root, configuration, userAgent);
    ReplaceByTooLargeNotice(root);
    return root->GetWriteLength(LineBreakElements);
}
