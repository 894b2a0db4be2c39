#include <cstring>

#include "devices/Xmldevice.h"

CDeviceGroup::~CDeviceGroup()
{
    delete[] Name;
    delete Settings;
}

CDevice::~CDevice()
{
    delete Settings;
    delete[] Name;
    delete[] UserAgent;
}

CConfiguration::~CConfiguration()
{
    for (CDeviceGroup* group : Groups) delete group;
    bool defaultListed = false;
    for (CDevice* device : Devices) {
        defaultListed |= device == DefaultDevice;
        delete device;
    }
    if (!defaultListed) delete DefaultDevice;
}

const CWmlSettings* ProfileOf(const CDevice* device)
{
    if (device != nullptr) {
        if (device->Settings != nullptr) return device->Settings;
        if (device->Group != nullptr && device->Group->Settings != nullptr)
            return device->Group->Settings;
    }
    return &DefaultSettings;
}

void EnsureDeviceProfile(CDevice* device)
{
    if (device->Settings == nullptr) device->Settings = new CWmlSettings;
    if (device->Group == nullptr || device->Group->Settings == nullptr) return;
    const CWmlSettings& group = *device->Group->Settings;
    CWmlSettings& own = *device->Settings;
    CopyToField(own.XmlVersion, group.XmlVersion);
    CopyToField(own.DocType, group.DocType);
    CopyToField(own.TableLeadText, group.TableLeadText);
    CopyToField(own.SubmitFormat, group.SubmitFormat);
    CopyToField(own.AmpReplace, group.AmpReplace);
}
