#include "devices/Xmldevice.h"
#include "platform/Platform.h"
#include "platform/Trace.h"

#ifdef _WIN32
#include <windows.h>

// Process attach loads the configuration; on detach the runtime's clean-up
// of the DLL frees it with the rest of the library's objects; thread
// notifications are only traced.
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
