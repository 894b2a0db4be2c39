#include "devices/Xmldevice.h"

CPreProcObj::~CPreProcObj()
{
    if (Prev != nullptr) Prev->Next = nullptr;
    delete[] Devices;
}

bool CPreProcObj::MatchesDevice(const CDevice* device) const
{
    (void)device;
    return true;
}

CPrePocessControl::~CPrePocessControl() {}

void CPrePocessControl::OnMarker(const CXmlObject* record)
{
    (void)record;
    Included = 0;
}

int CPrePocessControl::IsIncluded(const CXmlObject* record, const CDevice* device)
{
    (void)record;
    (void)device;
    return 1;
}
