#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "devices/Xmldevice.h"
#include "markup/Xmlnode.h"

namespace {

std::string UpperCopy(const char* text)
{
    std::string copy = text;
    return UpperCaseAscii(copy);
}

bool EndsWith(const std::string& text, size_t from, const std::string& suffix)
{
    return text.size() >= from + suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

bool MatchUserAgent(const char* pattern, const char* userAgent)
{
    if (pattern == nullptr || userAgent == nullptr || *pattern == '\0' || *userAgent == '\0')
        return false;
    const std::string p = UpperCopy(pattern);
    const std::string text = UpperCopy(userAgent);
    size_t star = p.find('*');
    if (star == std::string::npos) return p == text;
    size_t cursor = 0;
    // The part before the first wildcard may stand anywhere in the text.
    if (star > 0) {
        size_t found = text.find(p.substr(0, star));
        if (found == std::string::npos) return false;
        cursor = found + star;
    }
    size_t segmentStart = star + 1;
    for (size_t next = p.find('*', segmentStart); next != std::string::npos;
         next = p.find('*', segmentStart)) {
        const std::string segment = p.substr(segmentStart, next - segmentStart);
        size_t found = text.find(segment, cursor);
        if (found == std::string::npos) return false;
        cursor = found + segment.size();
        segmentStart = next + 1;
    }
    const std::string last = p.substr(segmentStart);
    return last.empty() || EndsWith(text, cursor, last);
}

const CDevice* CConfiguration::FindDeviceByUserAgent(const char* userAgent) const
{
    if (userAgent == nullptr) return DefaultDevice;
    for (const CDevice* device : Devices)
        if (MatchUserAgent(device->UserAgent, userAgent)) return device;
    return DefaultDevice;
}

CWorkingVariables* PrepareDocumentState(CXmlNode* root)
{
    CWorkingVariables& state = root->EnsureWorkingState();
    if (state.Configuration == nullptr) state.Configuration = PublishedConfiguration();
    if (state.Device == nullptr) state.Device = state.Configuration->DefaultDevice;
    return &state;
}

void AttachDevice(CXmlNode* root, CConfigurationSnapshot configuration, const char* userAgent)
{
    CWorkingVariables& state = root->EnsureWorkingState();
    state.Device = configuration->FindDeviceByUserAgent(userAgent);
    state.Configuration = std::move(configuration);
}

void AttachDevice(CXmlNode* root, const char* userAgent)
{
    AttachDevice(root, PublishedConfiguration(), userAgent);
}
