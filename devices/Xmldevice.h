// Device profiles and configuration: output profiles, device groups and
// devices, the user-agent lookup, the configuration file "Fendrel.cfg" and the
// device-conditional regions of a page.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "markup/TokenRules.h"
#include "markup/Xmlnode.h"
#include "platform/Platform.h"

// The characters a handset's font can show (REPERTOIRE): every character, or
// Latin-1 only, or ASCII only; the deck writes the others as plain
// approximations.
enum ERepertoire : int32_t { RepertoireAll = 0, RepertoireLatin1 = 1, RepertoireAscii = 2 };

// One output profile: fixed-size text fields and flags. A value longer than a
// field is cut to fit.
class CWmlSettings {
public:
    CWmlSettings();

    char XmlVersion[128];
    char DocType[256];
    char TagReplace[1048];
    int32_t Tables;
    char TableLeadText[64];
    int32_t FormBreakBefore;
    int32_t FormBreakAfter;
    char SubmitFormat[64];
    char AmpReplace[64];
    int32_t DropComments;
    // The longest deck in bytes; a longer one is replaced by a short notice.
    int32_t MaxDeckBytes;
    // An ERepertoire.
    int32_t Repertoire;
};

// Copies `value` into a fixed field of `size` bytes, cutting it to size - 1 bytes.
void CopyToField(char* field, int size, const char* value);
template <int N>
void CopyToField(char (&field)[N], const char* value) { CopyToField(field, N, value); }

class CDeviceGroup {
public:
    CDeviceGroup() = default;
    ~CDeviceGroup();
    CDeviceGroup(const CDeviceGroup&) = delete;
    CDeviceGroup& operator=(const CDeviceGroup&) = delete;

    char* Name = nullptr;
    CWmlSettings* Settings = nullptr;
};

class CDevice {
public:
    CDevice() = default;
    ~CDevice();
    CDevice(const CDevice&) = delete;
    CDevice& operator=(const CDevice&) = delete;

    CWmlSettings* Settings = nullptr;
    char* Name = nullptr;
    char* UserAgent = nullptr;
    int32_t IsWap = 1;
    CDeviceGroup* Group = nullptr;  // not owned
};

// The device's own profile, else its group's, else DefaultSettings. Never null.
const CWmlSettings* ProfileOf(const CDevice* device);
// Gives the device its own profile if it has none, then copies the six texts
// of its group's profile into it (never TagReplace or the flags).
void EnsureDeviceProfile(CDevice* device);
// Case-insensitive wildcard match of a user-agent text against a pattern.
bool MatchUserAgent(const char* pattern, const char* userAgent);

// The profile of a device that has none and whose group has none.
extern const CWmlSettings DefaultSettings;

// One whole configuration: groups, devices with their profiles, the marker
// words and the region default. It is built off to the side and never
// changes once published, so any number of conversions read it at once.
class CConfiguration {
public:
    CConfiguration() = default;
    ~CConfiguration();
    CConfiguration(const CConfiguration&) = delete;
    CConfiguration& operator=(const CConfiguration&) = delete;

    // The first configured device whose pattern fits the text; DefaultDevice otherwise.
    const CDevice* FindDeviceByUserAgent(const char* userAgent) const;

    std::vector<CDeviceGroup*> Groups;
    std::vector<CDevice*> Devices;
    // One of Devices, or a fallback device of its own in the first group.
    CDevice* DefaultDevice = nullptr;
    int DefaultExclude = 1;
    CMarkerWords MarkerWords;
    // The stamp of the file as it was read; all zero without a file.
    CFileStamp Stamp;
};

using CConfigurationSnapshot = std::shared_ptr<const CConfiguration>;

// Builds a configuration from the file at `path` (the built-in groups and
// the fallback device where the file defines none, or without a file).
CConfigurationSnapshot BuildConfiguration(const char* path);
// Builds from "Fendrel.cfg" beside the library and publishes it.
void LoadConfiguration();
// The same with the file at `path` (tests and tools use other files).
void LoadConfigurationFrom(const char* path);
// The published configuration; the built-in one is published first when
// none is.
CConfigurationSnapshot PublishedConfiguration();
// The configuration in force for a conversion that starts now: when the
// file beside the library changed size or stamp, a new one is built and
// published first (by one thread; the others wait for it).
CConfigurationSnapshot RefreshConfiguration();
// Drops the published configuration; conversions that hold it keep it.
void ReleaseConfiguration();
// Writes the full path of "Fendrel.cfg" beside the library into `buffer`.
void ConfigFilePath(char* buffer, int size);
// The whole file as a new NUL-terminated text (free with delete[]), or null,
// and the stamp of the file that was read.
char* ReadWholeFile(const char* path, CFileStamp& stamp);
// Splits the text (in place) into entries and applies each in file order.
void ParseConfiguration(CConfiguration& configuration, char* text);

// Gives the root a working state if it has none (PrepareDocumentState in
// markup/TokenRules.h), and the state the device chosen by user-agent text
// from `configuration`.
void AttachDevice(CXmlNode* root, CConfigurationSnapshot configuration, const char* userAgent);
// The same from the published configuration.
void AttachDevice(CXmlNode* root, const char* userAgent);

// One open region marker; markers form a list from the oldest to the newest.
class CPreProcObj {
public:
    CPreProcObj() = default;
    // Cuts itself from its predecessor and deletes every newer marker.
    ~CPreProcObj();
    CPreProcObj(const CPreProcObj&) = delete;
    CPreProcObj& operator=(const CPreProcObj&) = delete;

    // Whether the marker applies to the device. Every marker applies to a
    // device without a name (the fallback device).
    bool MatchesDevice(const CDevice* device) const;

    int32_t Kind = 0;
    char* Devices = nullptr;
    CPreProcObj* Next = nullptr;
    CPreProcObj* Prev = nullptr;
    // The newest older marker of each kind (index Kind - 1), so that an end
    // marker finds its region without walking the stack.
    CPreProcObj* OlderOfKind[2] = {nullptr, nullptr};
    // The decision for content while this marker is the newest; -1 until
    // IsIncluded computes it.
    int32_t Decision = -1;
};

// The stack of open device-conditional regions of one conversion.
class CPrePocessControl {
public:
    CPrePocessControl() = default;
    ~CPrePocessControl();
    CPrePocessControl(const CPrePocessControl&) = delete;
    CPrePocessControl& operator=(const CPrePocessControl&) = delete;

    // Opens or closes a region for a marker comment.
    void OnMarker(const CXmlObject* record, const CMarkerWords& words);
    // 1 when a record is kept for the device, 0 when it is dropped;
    // `defaultExclude` decides where no marker applies.
    int IsIncluded(const CXmlObject* record, const CDevice* device, int defaultExclude);

    CPreProcObj* Markers = nullptr;
    int32_t Included = 0;
    CPreProcObj* Newest = nullptr;
    CPreProcObj* NewestOfKind[2] = {nullptr, nullptr};
    // The device the markers' decisions were computed for.
    const CDevice* DecidedFor = nullptr;

private:
    void Open(int kind, const CXmlObject* record);
    void Close(int kind);
};
