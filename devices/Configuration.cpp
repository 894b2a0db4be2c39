#include <cstring>

#include "devices/Xmldevice.h"
#include "platform/Platform.h"

// The shared library loads the configuration from a constructor of its own,
// which may run before the constructors of this file: these objects are built
// first, or their constructors would empty the loaded tables again.
#if defined(__GNUC__)
#define BUILT_BEFORE_LOAD __attribute__((init_priority(1000)))
#else
#define BUILT_BEFORE_LOAD
#endif

CWmlSettings DefaultSettings BUILT_BEFORE_LOAD;
std::vector<CDeviceGroup*> DeviceGroups BUILT_BEFORE_LOAD;
std::vector<CDevice*> DeviceTable BUILT_BEFORE_LOAD;

namespace {

// Destroyed before the tables (it is built after them) when the library is
// unloaded or the process ends, so the groups and devices go with the tables
// that hold them instead of being lost with them.
class CReleaseAtUnload {
public:
    CReleaseAtUnload() = default;
    ~CReleaseAtUnload() { ReleaseConfiguration(); }
    CReleaseAtUnload(const CReleaseAtUnload&) = delete;
    CReleaseAtUnload& operator=(const CReleaseAtUnload&) = delete;
};

CReleaseAtUnload ReleaseAtUnload BUILT_BEFORE_LOAD;

}  // namespace
CDevice* DefaultDevice = nullptr;
int InDeviceSection = 0;
int DefaultExclude = 1;
char IncludeTagStart[64] = "DINCL";
char IncludeTagStop[64] = "/DINCL";
char ExcludeTagStart[64] = "DEXCL";
char ExcludeTagStop[64] = "/DEXCL";
CFileStamp ConfigStamp;

namespace {

const int PathCapacity = 1024;

CDeviceGroup* NewBuiltInGroup(const char* name)
{
    CDeviceGroup* group = new CDeviceGroup;
    group->Name = new char[32];
    CopyToField(group->Name, 32, name);
    return group;
}

void ReadConfigurationFile(const char* path)
{
    char* text = ReadWholeFile(path);
    if (text == nullptr) return;
    ParseConfiguration(text);
    delete[] text;
}

}  // namespace

void LoadConfiguration()
{
    char path[PathCapacity];
    ConfigFilePath(path, PathCapacity);
    LoadConfigurationFrom(path);
}

void LoadConfigurationFrom(const char* path)
{
    CopyToField(IncludeTagStart, "DINCL");
    CopyToField(IncludeTagStop, "/DINCL");
    CopyToField(ExcludeTagStart, "DEXCL");
    CopyToField(ExcludeTagStop, "/DEXCL");
    DefaultDevice = nullptr;
    InDeviceSection = 0;
    DefaultExclude = 1;

    CFileStamp stamp;
    if (FindFileStamp(path, stamp)) {
        ConfigStamp = stamp;
        ReadConfigurationFile(path);
    }
    if (DeviceGroups.empty()) {
        DeviceGroups.push_back(NewBuiltInGroup("WAP_SMALL"));
        DeviceGroups.push_back(NewBuiltInGroup("WAP_MEDIUM"));
        DeviceGroups.push_back(NewBuiltInGroup("WAP_LARGE"));
    }
    if (DefaultDevice == nullptr) {
        DefaultDevice = new CDevice;
        DefaultDevice->Group = DeviceGroups.front();
    }
}

void RefreshConfiguration()
{
    char path[PathCapacity];
    ConfigFilePath(path, PathCapacity);
    CFileStamp stamp;
    if (!FindFileStamp(path, stamp)) return;
    if (stamp.Size == ConfigStamp.Size && stamp.DosTime == ConfigStamp.DosTime &&
        stamp.DosDate == ConfigStamp.DosDate)
        return;
    ReleaseConfiguration();
    LoadConfiguration();
}

void ReleaseConfiguration()
{
    for (CDeviceGroup* group : DeviceGroups) delete group;
    DeviceGroups.clear();
    for (CDevice* device : DeviceTable) {
        if (device == DefaultDevice) DefaultDevice = nullptr;
        delete device;
    }
    DeviceTable.clear();
    delete DefaultDevice;
    DefaultDevice = nullptr;
    InDeviceSection = 0;
}
