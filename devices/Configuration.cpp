#include <atomic>
#include <cstring>
#include <mutex>

#include "devices/Xmldevice.h"
#include "platform/Platform.h"

// The library's constructor may convert or load before the constructors of
// this file run: the profile of the defaults is built first.
#if defined(__GNUC__)
#define BUILT_BEFORE_LOAD __attribute__((init_priority(1000)))
#else
#define BUILT_BEFORE_LOAD
#endif

const CWmlSettings DefaultSettings BUILT_BEFORE_LOAD;

namespace {

const int PathCapacity = 1024;

// The configuration in force, read and replaced only with the atomic
// shared-pointer operations: a conversion copies it once at its start and
// keeps that copy, so a reload never frees a configuration in use. Both
// objects need no constructor to run, so loading works from the library's
// constructor whatever the order; unloading the library frees the
// configuration with the pointer.
std::shared_ptr<const CConfiguration> Published;
// Held by the thread that builds a new configuration while others wait, so
// a change that several threads notice at once is read once.
std::mutex Rebuilding;

CConfigurationSnapshot Current() { return std::atomic_load(&Published); }

void Publish(CConfigurationSnapshot configuration)
{
    std::atomic_store(&Published, std::move(configuration));
}

CDeviceGroup* NewBuiltInGroup(const char* name)
{
    CDeviceGroup* group = new CDeviceGroup;
    group->Name = new char[32];
    CopyToField(group->Name, 32, name);
    return group;
}

void ReadConfigurationFile(CConfiguration& configuration, const char* path)
{
    char* text = ReadWholeFile(path, configuration.Stamp);
    // A file that cannot be opened is tried again only once it changes.
    if (text == nullptr) {
        FindFileStamp(path, configuration.Stamp);
        return;
    }
    ParseConfiguration(configuration, text);
    delete[] text;
}

// Whether the file beside the library still has the stamp it had when
// `configuration` was read from it. A missing file changes nothing: the
// configuration stays as it was.
bool StillCurrent(const CConfiguration* configuration, const char* path)
{
    CFileStamp stamp;
    if (!FindFileStamp(path, stamp)) return configuration != nullptr;
    return configuration != nullptr && stamp == configuration->Stamp;
}

}  // namespace

CConfigurationSnapshot BuildConfiguration(const char* path)
{
    auto configuration = std::make_shared<CConfiguration>();
    ReadConfigurationFile(*configuration, path);
    std::vector<CDeviceGroup*>& groups = configuration->Groups;
    if (groups.empty()) {
        groups.reserve(3);
        groups.push_back(NewBuiltInGroup("WAP_SMALL"));
        groups.push_back(NewBuiltInGroup("WAP_MEDIUM"));
        groups.push_back(NewBuiltInGroup("WAP_LARGE"));
    }
    if (configuration->DefaultDevice == nullptr) {
        configuration->DefaultDevice = new CDevice;
        configuration->DefaultDevice->Group = groups.front();
    }
    return configuration;
}

void LoadConfiguration()
{
    char path[PathCapacity];
    ConfigFilePath(path, PathCapacity);
    LoadConfigurationFrom(path);
}

void LoadConfigurationFrom(const char* path)
{
    std::lock_guard<std::mutex> rebuilding(Rebuilding);
    Publish(BuildConfiguration(path));
}

CConfigurationSnapshot PublishedConfiguration()
{
    CConfigurationSnapshot configuration = Current();
    if (configuration != nullptr) return configuration;
    std::lock_guard<std::mutex> rebuilding(Rebuilding);
    configuration = Current();
    if (configuration != nullptr) return configuration;
    configuration = BuildConfiguration("");
    Publish(configuration);
    return configuration;
}

// The stamp is looked at without the lock; only a thread that sees a change
// takes it, and looks again once it holds it, since the thread before it
// may have built the configuration meanwhile.
CConfigurationSnapshot RefreshConfiguration()
{
    char path[PathCapacity];
    ConfigFilePath(path, PathCapacity);
    CConfigurationSnapshot configuration = Current();
    if (StillCurrent(configuration.get(), path)) return configuration;
    std::lock_guard<std::mutex> rebuilding(Rebuilding);
    configuration = Current();
    if (StillCurrent(configuration.get(), path)) return configuration;
    configuration = BuildConfiguration(path);
    Publish(configuration);
    return configuration;
}

void ReleaseConfiguration()
{
    std::lock_guard<std::mutex> rebuilding(Rebuilding);
    Publish(nullptr);
}
