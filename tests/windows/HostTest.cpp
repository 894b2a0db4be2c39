// A Windows host of quorrel.dll: copies the DLL into a folder of its own with
// a Fendrel.cfg beside it, runs from another working directory, loads the
// copy by its full path and converts pages through the exported functions.
// Exits with 1 when any check fails.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "QuorrelVersion.h"

namespace {

using WapConvertFunction = int (*)(char*&, char*&, char*&, int&, char*&, int&);
using LibraryVersionFunction = const char* (*)();

const char Page[] = "<html><head><title>Hi</title></head><body><p>Hello</p></body></html>";

// Both configurations have the same size, so only the stamp tells them apart.
const char HandsetConfig[] =
    "DEVICE=Handset1\r\n"
    "USERAGENT=Handset1*\r\n"
    "DOCTYPE=\"<!DOCTYPE wml PUBLIC \\\"-//WAPFORUM//DTD WML 1.1//EN\\\" \\\"first.xml\\\">\"\r\n";
const char RenamedConfig[] =
    "DEVICE=Handset1\r\n"
    "USERAGENT=Handset1*\r\n"
    "DOCTYPE=\"<!DOCTYPE wml PUBLIC \\\"-//WAPFORUM//DTD WML 1.1//EN\\\" \\\"again.xml\\\">\"\r\n";
// Lies in the working directory: the library must not read it.
const char DecoyConfig[] = "DEVICE=Handset1\r\nUSERAGENT=Handset1*\r\nDOCTYPE=\"decoy.xml\"\r\n";

int Failures = 0;

void Check(bool condition, const char* what, const std::string& detail = "")
{
    if (condition) return;
    ++Failures;
    std::fprintf(stderr, "HostTest: %s\n%s%s", what, detail.c_str(), detail.empty() ? "" : "\n");
}

std::string FolderOf(const std::string& path)
{
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string(".") : path.substr(0, cut);
}

std::string ModuleFolder()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::string(".") : FolderOf(path);
}

// A new, empty folder under the system's temporary folder.
std::string MakeFolder(const char* name)
{
    char temp[MAX_PATH];
    if (GetTempPathA(MAX_PATH, temp) == 0) return "";
    const std::string folder = std::string(temp) + name + "-" +
                               std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(GetTickCount());
    return CreateDirectoryA(folder.c_str(), nullptr) ? folder : "";
}

// Writes `text` to `path` and gives it `written` as last-write time.
bool WriteConfig(const std::string& path, const char* text, const FILETIME& written)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    const DWORD size = static_cast<DWORD>(std::strlen(text));
    const bool ok = ::WriteFile(file, text, size, &done, nullptr) && done == size &&
                    SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    return ok;
}

// `base` moved on by whole seconds.
FILETIME Later(const FILETIME& base, int seconds)
{
    ULARGE_INTEGER value;
    value.LowPart = base.dwLowDateTime;
    value.HighPart = base.dwHighDateTime;
    value.QuadPart += static_cast<ULONGLONG>(seconds) * 10000000ULL;
    FILETIME moved;
    moved.dwLowDateTime = value.LowPart;
    moved.dwHighDateTime = value.HighPart;
    return moved;
}

// An even second, so that one more second stays within the same DOS stamp.
FILETIME EvenSecondNow()
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    now.wSecond = static_cast<WORD>(now.wSecond & ~1);
    now.wMilliseconds = 0;
    FILETIME stamp;
    SystemTimeToFileTime(&now, &stamp);
    return stamp;
}

std::string Deck(WapConvertFunction convert, const char* userAgent)
{
    std::string pageCopy = Page;
    std::string agentCopy = userAgent;
    std::string output(8192, '\0');
    char* tag = nullptr;
    char* agent = &agentCopy[0];
    char* text = &pageCopy[0];
    int length = static_cast<int>(pageCopy.size());
    char* buffer = &output[0];
    int capacity = static_cast<int>(output.size());
    const int written = convert(tag, agent, text, length, buffer, capacity);
    Check(written == capacity, "the result differs from the capacity left");
    output.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return output;
}

bool Carries(const std::string& deck, const char* text)
{
    return deck.find(text) != std::string::npos;
}

struct CConversion {
    WapConvertFunction Convert;
    std::string Deck;
};

DWORD WINAPI ConvertOnThread(void* conversion)
{
    CConversion* work = static_cast<CConversion*>(conversion);
    work->Deck = Deck(work->Convert, "Handset1/2.0");
    return 0;
}

// A thread started while the DLL is loaded sends it the thread notifications.
std::string DeckFromAnotherThread(WapConvertFunction convert)
{
    CConversion work{convert, ""};
    HANDLE thread = CreateThread(nullptr, 0, ConvertOnThread, &work, 0, nullptr);
    if (thread == nullptr) return "";
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return work.Deck;
}

// The configuration file is removed before the first conversion: the DLL
// must have read it when it was attached to the process.
void CheckConversions(WapConvertFunction convert, const std::string& config, const FILETIME& stamp)
{
    Check(DeleteFileA(config.c_str()) != 0, "cannot delete Fendrel.cfg");
    std::string deck = Deck(convert, "Handset1/2.0");
    Check(Carries(deck, "\"first.xml\">\r\n<wml>"), "Handset1 lacks its DOCTYPE", deck);
    deck = Deck(convert, "Other/1.0");
    Check(Carries(deck, "wml_1.1.xml\">") && !Carries(deck, "first.xml"),
          "another handset got Handset1's DOCTYPE", deck);
    deck = DeckFromAnotherThread(convert);
    Check(Carries(deck, "\"first.xml\">"), "a conversion on a second thread failed", deck);

    // Same size, one second later: the same DOS stamp, so nothing is reloaded.
    Check(WriteConfig(config, RenamedConfig, Later(stamp, 1)), "cannot rewrite Fendrel.cfg");
    deck = Deck(convert, "Handset1/2.0");
    Check(Carries(deck, "\"first.xml\">"), "reloaded within the same stamp", deck);

    // Same size, a later stamp: reloaded.
    Check(WriteConfig(config, RenamedConfig, Later(stamp, 4)), "cannot rewrite Fendrel.cfg");
    deck = Deck(convert, "Handset1/2.0");
    Check(Carries(deck, "\"again.xml\">"), "not reloaded after the stamp changed", deck);
}

// Through the generic function type, which converts to any other.
template <typename Function>
Function FindExport(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string built = argc > 1 ? argv[1] : ModuleFolder() + "\\quorrel.dll";
    const std::string libraryFolder = MakeFolder("quorrel-host");
    const std::string workFolder = MakeFolder("quorrel-work");
    if (libraryFolder.empty() || workFolder.empty()) {
        std::fprintf(stderr, "HostTest: cannot create the temporary folders\n");
        return 1;
    }
    const std::string library = libraryFolder + "\\quorrel.dll";
    const std::string config = libraryFolder + "\\Fendrel.cfg";
    const FILETIME stamp = EvenSecondNow();
    if (!CopyFileA(built.c_str(), library.c_str(), FALSE) ||
        !WriteConfig(config, HandsetConfig, stamp) ||
        !WriteConfig(workFolder + "\\Fendrel.cfg", DecoyConfig, stamp) ||
        !SetCurrentDirectoryA(workFolder.c_str())) {
        std::fprintf(stderr, "HostTest: cannot lay out %s beside its configuration\n",
                     built.c_str());
        return 1;
    }

    HMODULE module = LoadLibraryA(library.c_str());
    Check(module != nullptr, "LoadLibraryA failed");
    if (module != nullptr) {
        const auto version = FindExport<LibraryVersionFunction>(module, "LibraryVersion");
        const auto convert = FindExport<WapConvertFunction>(module, "WapConvert");
        Check(version != nullptr && convert != nullptr, "an export is missing");
        if (version != nullptr)
            Check(std::strcmp(version(), QUORREL_VERSION_TEXT) == 0, "wrong version text", version());
        if (convert != nullptr) CheckConversions(convert, config, stamp);
        FreeLibrary(module);
    }

    DeleteFileA(library.c_str());
    DeleteFileA(config.c_str());
    DeleteFileA((workFolder + "\\Fendrel.cfg").c_str());
    SetCurrentDirectoryA(ModuleFolder().c_str());
    RemoveDirectoryA(libraryFolder.c_str());
    RemoveDirectoryA(workFolder.c_str());
    std::printf("HostTest: %s\n", Failures == 0 ? "passed" : "failed");
    return Failures == 0 ? 0 : 1;
}
