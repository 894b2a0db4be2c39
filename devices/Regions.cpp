#include <cstring>
#include <string>

#include "devices/Xmldevice.h"
#include "markup/Xmlnode.h"

namespace {

const int IncludeKind = 1;
const int ExcludeKind = 2;

// The name a marker word gives a comment: the word read by the same rules as
// a tag name, so "/DINCL" names "DINCL" and a stop word need not repeat the
// start word.
bool NamesWord(const char* name, const char* word)
{
    std::string tag = "<";
    tag += word;
    tag += '>';
    CXmlObject probe;
    probe.SetText(tag.data(), static_cast<int>(tag.size()));
    const char* wordName = probe.GetName();
    return wordName != nullptr && *wordName != '\0' && EqualNoCase(name, wordName);
}

// The kind of region a marker's word names, its start and stop words alike:
// IncludeKind, ExcludeKind, or 0 for another word.
int RegionKindOf(const char* name, const CMarkerWords& words)
{
    if (name == nullptr) return 0;
    if (NamesWord(name, words.IncludeStart) || NamesWord(name, words.IncludeStop))
        return IncludeKind;
    if (NamesWord(name, words.ExcludeStart) || NamesWord(name, words.ExcludeStop))
        return ExcludeKind;
    return 0;
}

// ",A,B," from [a b;,b]: upper case, blanks, commas and semicolons as commas.
char* NormalizedDeviceList(const char* value)
{
    if (value == nullptr) return nullptr;
    const size_t length = strlen(value);
    char* list = new char[length + 3];
    list[0] = ',';
    for (size_t i = 0; i < length; ++i) {
        char c = value[i];
        if (c == ' ' || c == ';') c = ',';
        list[i + 1] = UpperAscii(c);
    }
    list[length + 1] = ',';
    list[length + 2] = '\0';
    return list;
}

// Whether the list holds `name` between two commas, case respected. An empty
// name is in no list, whatever separators the page doubled.
bool ListHolds(const char* list, const char* name)
{
    if (name == nullptr || *name == '\0') return false;
    const size_t length = strlen(name);
    for (const char* comma = strchr(list, ','); comma != nullptr; comma = strchr(comma + 1, ','))
        if (strncmp(comma + 1, name, length) == 0 && comma[1 + length] == ',') return true;
    return false;
}

bool IsNameless(const CDevice* device)
{
    return device == nullptr || device->Name == nullptr || device->Name[0] == '\0';
}

}  // namespace

// Newer markers are cut off one by one, so a page that opened a million
// regions closes them without nesting destructor calls.
CPreProcObj::~CPreProcObj()
{
    if (Prev != nullptr) Prev->Next = nullptr;
    CPreProcObj* newer = Next;
    Next = nullptr;
    while (newer != nullptr) {
        CPreProcObj* after = newer->Next;
        newer->Next = nullptr;
        newer->Prev = nullptr;
        delete newer;
        newer = after;
    }
    delete[] Devices;
}

bool CPreProcObj::MatchesDevice(const CDevice* device) const
{
    if (Devices == nullptr || IsNameless(device)) return true;
    if (ListHolds(Devices, device->Name)) return true;
    if (device->Group == nullptr) return false;
    if (ListHolds(Devices, device->Group->Name)) return true;
    if (device->IsWap == 1 && ListHolds(Devices, "WAP")) return true;
    return ListHolds(Devices, "*");
}

CPrePocessControl::~CPrePocessControl()
{
    delete Markers;
}

void CPrePocessControl::OnMarker(const CXmlObject* record, const CMarkerWords& words)
{
    Included = 0;
    const int kind = RegionKindOf(record->GetName(), words);
    if (kind == 0) return;
    if (record->IsEndMarker(words))
        Close(kind);
    else
        Open(kind, record);
}

void CPrePocessControl::Open(int kind, const CXmlObject* record)
{
    CPreProcObj* marker = new CPreProcObj;
    marker->Kind = kind;
    marker->Devices = NormalizedDeviceList(record->GetAttribute("DEVICE"));
    marker->OlderOfKind[0] = NewestOfKind[0];
    marker->OlderOfKind[1] = NewestOfKind[1];
    marker->Prev = Newest;
    if (Newest != nullptr)
        Newest->Next = marker;
    else
        Markers = marker;
    Newest = marker;
    NewestOfKind[kind - 1] = marker;
}

// Closes the newest region of the kind together with every region opened
// after it, whatever their kind.
void CPrePocessControl::Close(int kind)
{
    CPreProcObj* marker = NewestOfKind[kind - 1];
    if (marker == nullptr) return;
    NewestOfKind[0] = marker->OlderOfKind[0];
    NewestOfKind[1] = marker->OlderOfKind[1];
    Newest = marker->Prev;
    if (marker == Markers) Markers = nullptr;
    delete marker;
}

// The newest marker that applies to the device decides; the configuration's
// default decides when none does. Each marker keeps the decision in force while it
// is the newest, so only markers opened since the last decision are examined.
int CPrePocessControl::IsIncluded(const CXmlObject*, const CDevice* device, int defaultExclude)
{
    if (Included != 0) return 1;
    if (device != DecidedFor) {
        for (CPreProcObj* marker = Markers; marker != nullptr; marker = marker->Next)
            marker->Decision = -1;
        DecidedFor = device;
    }
    CPreProcObj* known = Newest;
    while (known != nullptr && known->Decision < 0) known = known->Prev;
    int value = known != nullptr ? known->Decision : defaultExclude;
    for (CPreProcObj* marker = known != nullptr ? known->Next : Markers; marker != nullptr;
         marker = marker->Next) {
        if (marker->MatchesDevice(device)) value = marker->Kind == IncludeKind ? 1 : 0;
        marker->Decision = value;
    }
    Included = value;
    return value;
}
