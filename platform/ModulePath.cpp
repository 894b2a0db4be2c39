#include "platform/Platform.h"

#include <cstring>

#ifdef _WIN32
#include <windows.h>

void GetLibraryModulePath(char* buffer, int size)
{
    if (size <= 0) return;
    buffer[0] = '\0';
    HMODULE self = nullptr;
    // The module that holds this function is the library itself, whatever
    // program loaded it.
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&GetLibraryModulePath), &self))
        return;
    DWORD length = GetModuleFileNameA(self, buffer, static_cast<DWORD>(size));
    if (length >= static_cast<DWORD>(size)) buffer[0] = '\0';
}

#else
#include <dlfcn.h>

void GetLibraryModulePath(char* buffer, int size)
{
    if (size <= 0) return;
    buffer[0] = '\0';
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&GetLibraryModulePath), &info) == 0 ||
        info.dli_fname == nullptr)
        return;
    size_t length = strlen(info.dli_fname);
    if (length >= static_cast<size_t>(size)) return;
    memcpy(buffer, info.dli_fname, length + 1);
}
#endif
