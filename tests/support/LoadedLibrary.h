// The built shared library, copied into a folder of its own with a
// configuration file beside it and loaded as a host would load it (POSIX).
#pragma once

#include <dlfcn.h>
#include <unistd.h>
#include <utime.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

#include "support/TreeDump.h"

class CLoadedLibrary {
public:
    using WapConvertFunction = int (*)(char*&, char*&, char*&, int&, char*&, int&);

    // `byRelativePath`: opened as "./libquorrel.so" from its folder, as a host
    // that changes directory afterwards might.
    explicit CLoadedLibrary(const std::string& configuration, bool byRelativePath = false)
    {
        char folder[] = "/tmp/quorrel-e2e-XXXXXX";
        if (mkdtemp(folder) == nullptr) return;
        Folder = folder;
        const std::string copy = Folder + "/libquorrel.so";
        std::ofstream(copy, std::ios::binary) << ReadFile(QUORREL_LIBRARY_FILE);
        WriteConfiguration(configuration);
        // Never closed: the loaded copy keeps its configuration until the process ends.
        char here[4096];
        if (byRelativePath && (getcwd(here, sizeof here) == nullptr || chdir(folder) != 0)) return;
        void* handle = dlopen(byRelativePath ? "./libquorrel.so" : copy.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (byRelativePath && chdir(here) != 0) return;
        if (handle == nullptr) {
            const char* reason = dlerror();
            Error = reason != nullptr ? reason : "cannot load the library";
            return;
        }
        Convert = reinterpret_cast<WapConvertFunction>(dlsym(handle, "WapConvert"));
    }
    ~CLoadedLibrary()
    {
        std::remove(ConfigPath().c_str());
        std::remove((Folder + "/libquorrel.so").c_str());
        rmdir(Folder.c_str());
    }
    CLoadedLibrary(const CLoadedLibrary&) = delete;
    CLoadedLibrary& operator=(const CLoadedLibrary&) = delete;

    std::string ConfigPath() const { return Folder + "/Fendrel.cfg"; }

    // Writes the file in place and, when `written` is given, sets its
    // last-write time.
    void WriteConfiguration(const std::string& text, time_t written = 0) const
    {
        std::ofstream(ConfigPath(), std::ios::binary | std::ios::trunc) << text;
        if (written == 0) return;
        utimbuf times{written, written};
        utime(ConfigPath().c_str(), &times);
    }

    // Puts a new file in place of the old one at once, as an administrator
    // should: written beside it, then renamed over it.
    bool ReplaceConfiguration(const std::string& text) const
    {
        const std::string next = Folder + "/Fendrel.cfg.new";
        {
            std::ofstream file(next, std::ios::binary | std::ios::trunc);
            file << text;
            if (!file.flush()) return false;
        }
        return std::rename(next.c_str(), ConfigPath().c_str()) == 0;
    }

    // The deck for a page; a null user agent asks for the default device.
    std::string Deck(const std::string& page, const char* userAgent) const
    {
        if (Convert == nullptr) return "";
        std::string pageCopy = page;
        std::string agentCopy = userAgent != nullptr ? userAgent : "";
        std::string output(page.size() * 8 + 65536, '\0');
        char* tag = nullptr;
        char* agent = userAgent != nullptr ? &agentCopy[0] : nullptr;
        char* text = &pageCopy[0];
        int length = static_cast<int>(page.size());
        char* buffer = &output[0];
        int capacity = static_cast<int>(output.size());
        output.resize(static_cast<size_t>(Convert(tag, agent, text, length, buffer, capacity)));
        return output;
    }

    WapConvertFunction Convert = nullptr;
    std::string Error;

private:
    std::string Folder;
};
