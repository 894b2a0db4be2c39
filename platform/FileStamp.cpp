#include "platform/Platform.h"

#include "devices/Xmldevice.h"

#ifdef _WIN32
#include <windows.h>

bool FindFileStamp(const char* path, CFileStamp& stamp)
{
    WIN32_FIND_DATAA found;
    HANDLE handle = FindFirstFileA(path, &found);
    if (handle == INVALID_HANDLE_VALUE) return false;
    FindClose(handle);
    FILETIME local;
    WORD date = 0;
    WORD time = 0;
    FileTimeToLocalFileTime(&found.ftLastWriteTime, &local);
    FileTimeToDosDateTime(&local, &date, &time);
    stamp.Size = found.nFileSizeLow;
    stamp.DosDate = date;
    stamp.DosTime = time;
    return true;
}

#else
#include <sys/stat.h>
#include <ctime>

bool FindFileStamp(const char* path, CFileStamp& stamp)
{
    struct stat info;
    if (stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return false;
    struct tm local;
    time_t written = info.st_mtime;
    if (localtime_r(&written, &local) == nullptr) return false;
    stamp.Size = static_cast<uint32_t>(info.st_size);
    stamp.DosDate = PackDosDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    stamp.DosTime = PackDosTime(local.tm_hour, local.tm_min, local.tm_sec);
    return true;
}
#endif
