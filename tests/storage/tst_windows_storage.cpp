// The storage's Windows-only code, built with the MinGW cross-compiler: the device path rule,
// the dismount's refusal of roots that are not drive roots, the USB lookup of a volume, the
// file sync and the unbuffered read-back. Returns
// non-zero on failure.
#include "FileSync.h"
#include "UncachedReader.h"
#include "WindowsDevicePath.h"
#include "VolumeLockSequence.h"
#include "WindowsVolumeDismount.h"
#include "WindowsVolumeUsb.h"

#include <cstdio>
#include <io.h>
#include <fcntl.h>
#include <string>

namespace {
int failures = 0;

void expect(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "FAIL: %s\n", what);
        ++failures;
    }
}
} // namespace

int main()
{
    struct Row
    {
        const wchar_t* root;
        const wchar_t* expected;
    };
    const Row rows[] = {
        {L"E:/", L"\\\\.\\E:"},   {L"F:/", L"\\\\.\\F:"},       {L"G:\\", L"\\\\.\\G:"},
        {L"H:", L"\\\\.\\H:"},    {L"C:/mnt/tavlo/", L""},       {L"", L""},
        {L"\\\\server\\share\\", L""},
    };
    for (const Row& row : rows)
        expect(WindowsDevicePath::fromRoot(row.root) == row.expected, "device path rule");

    expect(WindowsVolumeDismount::dismount(L"C:/not/a/drive/root/", 2, 1)
               == VolumeLockSequence::Outcome::Failed,
           "folder root refused");
    expect(!FileSync::syncDescriptor(-1), "invalid descriptor");
    // The USB lookup of a volume runs for real; a folder root or a share is never asked.
    expect(!WindowsVolumeUsb::lookUp(L"C:/not/a/drive/root/").found, "folder root has no USB device");
    expect(!WindowsVolumeUsb::lookUp(L"").found, "empty root has no USB device");
    expect(!WindowsVolumeUsb::lookUp(L"\\\\server\\share\\").found, "share has no USB device");
    WindowsVolumeUsb::lookUp(L"C:/"); // whatever the machine's disk is on, it answers

    char path[] = "tavlo-sync-XXXXXX";
    if (_mktemp_s(path, sizeof path) == 0) {
        const int fd = _open(path, _O_CREAT | _O_WRONLY | _O_BINARY, 0600);
        if (fd >= 0) {
            _write(fd, "x", 1);
            expect(FileSync::syncDescriptor(fd), "sync of a written file");
            _close(fd);
            _unlink(path);
        }
    }

    // The read-back: opened unbuffered, read in whole sectors, handed out in odd pieces.
    char readPath[] = "tavlo-read-XXXXXX";
    if (_mktemp_s(readPath, sizeof readPath) == 0) {
        std::string content(1024 * 1024 + 5000, '\0');
        for (std::size_t i = 0; i < content.size(); ++i)
            content[i] = char((i * 7 + i / 251) & 0xFF);
        const int fd = _open(readPath, _O_CREAT | _O_WRONLY | _O_BINARY, 0600);
        if (fd >= 0) {
            _write(fd, content.data(), unsigned(content.size()));
            _close(fd);
            UncachedReader reader;
            expect(reader.open(readPath), "unbuffered open");
            std::string back;
            char piece[1000];
            for (std::int64_t got = 1; got > 0;) {
                got = reader.read(piece, sizeof piece);
                if (got > 0)
                    back.append(piece, std::size_t(got));
            }
            expect(back == content, "unbuffered read-back");
            reader.close();
            _unlink(readPath);
        }
    }
    return failures == 0 ? 0 : 1;
}
