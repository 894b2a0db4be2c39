#include "platform/Platform.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>

namespace {

void SetStamp(const FILETIME& written, DWORD size, CFileStamp& stamp)
{
    FILETIME local;
    WORD date = 0;
    WORD time = 0;
    FileTimeToLocalFileTime(&written, &local);
    FileTimeToDosDateTime(&local, &date, &time);
    stamp.Size = size;
    stamp.DosDate = date;
    stamp.DosTime = time;
}

}  // namespace

bool FindFileStamp(const char* path, CFileStamp& stamp)
{
    WIN32_FIND_DATAA found;
    HANDLE handle = FindFirstFileA(path, &found);
    if (handle == INVALID_HANDLE_VALUE) return false;
    FindClose(handle);
    SetStamp(found.ftLastWriteTime, found.nFileSizeLow, stamp);
    return true;
}

bool FindOpenFileStamp(FILE* file, CFileStamp& stamp)
{
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    BY_HANDLE_FILE_INFORMATION info;
    if (handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle, &info)) return false;
    SetStamp(info.ftLastWriteTime, info.nFileSizeLow, stamp);
    return true;
}

#else
#include <sys/stat.h>
#include <ctime>

namespace {

bool SetStamp(const struct stat& info, CFileStamp& stamp)
{
    if (!S_ISREG(info.st_mode)) return false;
    struct tm local;
    time_t written = info.st_mtime;
    if (localtime_r(&written, &local) == nullptr) return false;
    stamp.Size = static_cast<uint32_t>(info.st_size);
    stamp.DosDate = PackDosDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    stamp.DosTime = PackDosTime(local.tm_hour, local.tm_min, local.tm_sec);
    return true;
}

}  // namespace

bool FindFileStamp(const char* path, CFileStamp& stamp)
{
    struct stat info;
    return stat(path, &info) == 0 && SetStamp(info, stamp);
}

bool FindOpenFileStamp(FILE* file, CFileStamp& stamp)
{
    struct stat info;
    return fstat(fileno(file), &info) == 0 && SetStamp(info, stamp);
}
#endif
