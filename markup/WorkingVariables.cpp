#include "markup/Xmlnode.h"

#include "platform/Text.h"

CWorkingVariables::CWorkingVariables() = default;

CWorkingVariables::~CWorkingVariables()
{
    delete[] Title;
}

void CWorkingVariables::Reset()
{
    delete[] Title;
    Title = nullptr;
    CardCount = 0;
    FormCount = 0;
    TableDepth = 0;
    WalkTop = nullptr;
    MainPassMemo.reset();
}

void CWorkingVariables::SetTitle(const char* title)
{
    delete[] Title;
    Title = nullptr;
    if (title != nullptr) Title = CopyHeapText(title);
}
