#include <cstdio>
#include <cstring>

#include "devices/Xmldevice.h"
#include "platform/Platform.h"

void ConfigFilePath(char* buffer, int size)
{
    if (size <= 0) return;
    GetLibraryModulePath(buffer, size);
    size_t length = strlen(buffer);
    while (length > 0 && buffer[length - 1] != PathSeparator) --length;
    buffer[length] = '\0';
    static const char fileName[] = "Fendrel.cfg";
    if (length + sizeof fileName > static_cast<size_t>(size)) {
        buffer[0] = '\0';
        return;
    }
    memcpy(buffer + length, fileName, sizeof fileName);
}

namespace {

// Reads in blocks until the end of the file or a read error; what was read
// stays. The text always ends with a NUL.
char* ReadOpenFile(FILE* file)
{
    const size_t block = 1032;
    size_t used = 0;
    size_t capacity = 2048;
    char* text = new char[capacity]();
    for (;;) {
        if (used + block + 1 > capacity) {
            size_t larger = used + 2048 + block;
            char* grown = new char[larger]();
            memcpy(grown, text, used);
            delete[] text;
            text = grown;
            capacity = larger;
        }
        size_t got = fread(text + used, 1, block, file);
        used += got;
        if (got < block) break;
    }
    text[used] = '\0';
    return text;
}

// A file that is written while it is read may give a mix of old and new
// text: its stamp before and after the read tells, and it is read again.
// Should it keep changing, the text is kept with an empty stamp, so the next
// conversion reads it once more.
char* ReadSteadyFile(FILE* file, CFileStamp& stamp)
{
    const int attempts = 3;
    for (int attempt = 1;; ++attempt) {
        CFileStamp before;
        CFileStamp after;
        const bool stamped = FindOpenFileStamp(file, before);
        char* text = ReadOpenFile(file);
        if (stamped && FindOpenFileStamp(file, after) && before == after) {
            stamp = before;
            return text;
        }
        if (attempt == attempts || fseek(file, 0, SEEK_SET) != 0) {
            stamp = CFileStamp();
            return text;
        }
        delete[] text;
    }
}

}  // namespace

char* ReadWholeFile(const char* path, CFileStamp& stamp)
{
    FILE* file = fopen(path, "r");
    if (file == nullptr) return nullptr;
    char* text = nullptr;
    try {
        text = ReadSteadyFile(file, stamp);
    } catch (...) {
        fclose(file);
        throw;
    }
    fclose(file);
    return text;
}
