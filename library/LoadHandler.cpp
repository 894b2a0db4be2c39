#include "devices/Xmldevice.h"
#include "markup/Xmlnode.h"

#ifdef _WIN32
#include <windows.h>

// Process attach loads the configuration; detach keeps it for the life of
// the process; thread notifications are only traced.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reserved;
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        try {
            LoadConfiguration();
        } catch (...) {
        }
        break;
    case DLL_PROCESS_DETACH:
        break;
    default:
        TraceFormat("DllMain Other %d\r\n", static_cast<long long>(reason));
        break;
    }
    return TRUE;
}

#else

namespace {

// The shared library's constructor stands for the process-attach notification.
__attribute__((constructor)) void OnProcessAttach()
{
    try {
        LoadConfiguration();
    } catch (...) {
    }
}

}  // namespace

#endif
