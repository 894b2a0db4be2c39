#include <cstring>
#include <memory>
#include <new>

#include "conversion/Conversion.h"
#include "devices/Xmldevice.h"
#include "library/Exports.h"
#include "markup/PageEncoding.h"
#include "markup/Xmlnode.h"

namespace {

// The capacity rule: the deck is written only into a buffer larger than the
// measured length, so it always fits with its NUL.
bool FitsInto(long long measured, int capacity)
{
    return capacity >= 0 && static_cast<long long>(capacity) > measured;
}

}  // namespace

long long BuildDeck(CXmlNode* root, const CConfigurationSnapshot& configuration,
                    const char* userAgent, const char* page, int pageLength)
{
    AttachDevice(root, configuration, userAgent);
    CPageBytes bytes;
    ReadPageBytes(page, pageLength, bytes);
    CWorkingVariables* state = root->GetWorkingVariables();
    state->Encoding = bytes.Encoding;
    state->NameEncoding = bytes.NameEncoding;
    state->PageLength = static_cast<size_t>(bytes.Length);
    if (bytes.Text != nullptr) root->Parse(bytes.Text, bytes.Length);
    NormalizeTree(root);
    XHtmlToWml(root);
    return MeasureBoundedDeck(root, configuration, userAgent);
}

int ConvertPage(const char* userAgent, const char* page, int pageLength, char* output,
                int& capacity)
{
    std::unique_ptr<CXmlNode> root(new CXmlNode);
    const long long measured =
        BuildDeck(root.get(), RefreshConfiguration(), userAgent, page, pageLength);
    if (output == nullptr || !FitsInto(measured, capacity)) {
        capacity = 0;
        return 0;
    }
    root->Write(output, LineBreakElements);
    capacity = static_cast<int>(strlen(output));
    return capacity;
}

// No exception leaves the library: running out of memory releases what the
// call built (the root owns it all) and reports an empty result.
extern "C" QUORREL_EXPORT int WapConvert(char*& callerTag, char*& userAgent, char*& page,
                                      int& pageLength, char*& output, int& capacity)
{
    (void)callerTag;
    try {
        return ConvertPage(userAgent, page, pageLength, output, capacity);
    } catch (...) {
        capacity = 0;
        return 0;
    }
}
