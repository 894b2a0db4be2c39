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
#include <limits.h>
#include <stdlib.h>

#include <string>

namespace {

// The loader keeps the path the library was opened by, which may be relative
// to the directory the host stood in then. It is made absolute on the first
// call (at load time, before the host can change directory) and kept.
const std::string& AbsoluteModulePath()
{
    static const std::string path = [] {
        Dl_info info;
        if (dladdr(reinterpret_cast<void*>(&GetLibraryModulePath), &info) == 0 ||
            info.dli_fname == nullptr)
            return std::string();
        char resolved[PATH_MAX];
        if (realpath(info.dli_fname, resolved) != nullptr) return std::string(resolved);
        return std::string(info.dli_fname);
    }();
    return path;
}

}  // namespace

void GetLibraryModulePath(char* buffer, int size)
{
    if (size <= 0) return;
    buffer[0] = '\0';
    const std::string& path = AbsoluteModulePath();
    if (path.size() >= static_cast<size_t>(size)) return;
    memcpy(buffer, path.c_str(), path.size() + 1);
}
#endif
