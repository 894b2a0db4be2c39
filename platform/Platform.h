// Stand-ins for the operating-system services the library uses. Nothing
// outside this folder and library/ calls the operating system.
#pragma once

#include <cstdint>
#include <cstdio>

// Size and last-write stamp of a file in packed DOS form.
struct CFileStamp {
    uint32_t Size = 0;
    uint16_t DosTime = 0;
    uint16_t DosDate = 0;
};

inline bool operator==(const CFileStamp& a, const CFileStamp& b)
{
    return a.Size == b.Size && a.DosTime == b.DosTime && a.DosDate == b.DosDate;
}
inline bool operator!=(const CFileStamp& a, const CFileStamp& b) { return !(a == b); }

// Writes the full path of the library's own module file into `buffer`
// (NUL-terminated, cut to `size` - 1 bytes); the empty text when unknown.
void GetLibraryModulePath(char* buffer, int size);

// Looks up a file's directory entry: its size and its last-write date and
// time in packed DOS form (local time, two-second resolution).
bool FindFileStamp(const char* path, CFileStamp& stamp);
// The same for a file the caller has open: the stamp of exactly the file
// being read, whatever replaces the directory entry meanwhile.
bool FindOpenFileStamp(FILE* file, CFileStamp& stamp);

// The packed DOS forms, as the FAT format defines them.
uint16_t PackDosDate(int year, int month, int day);
uint16_t PackDosTime(int hour, int minute, int second);

// The path separator the design uses to find the file beside the library.
#ifdef _WIN32
constexpr char PathSeparator = '\\';
#else
constexpr char PathSeparator = '/';
#endif
