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

// Reads in blocks until the end of the file or a read error; what was read
// stays. The text always ends with a NUL.
char* ReadWholeFile(const char* path)
{
    FILE* file = fopen(path, "r");
    if (file == nullptr) return nullptr;
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
    fclose(file);
    text[used] = '\0';
    return text;
}
