#include "FileReplace.h"

#ifdef _WIN32
#include <string>
#include <windows.h>
#else
#include <cstdio>
#endif

#ifdef _WIN32
namespace {
std::wstring wide(const char* utf8)
{
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, &result[0], length);
    result.resize(static_cast<std::size_t>(length - 1));
    return result;
}
} // namespace
#endif

bool FileReplace::replace(const char* from, const char* to)
{
    if (!from || !to || !*from || !*to)
        return false;
#ifdef _WIN32
    const std::wstring source = wide(from);
    const std::wstring target = wide(to);
    if (source.empty() || target.empty())
        return false;
    return MoveFileExW(source.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    // rename() replaces the name's old file at once, and a link under the name is replaced,
    // not followed.
    return std::rename(from, to) == 0;
#endif
}
