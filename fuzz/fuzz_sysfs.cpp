// The Linux USB identity lookup on a fake sysfs tree that the input describes: folders, files
// and symbolic links, written afresh into a temporary folder for every input. A sibling folder
// outside the tree holds an identity of its own ("ZZZZ"), which the lookup must never report:
// it walks up from the card's device and never leaves the tree. A reported identity is
// complete, upper-case and trimmed, and the card is asked for the client the port name gives.
//
// Input: the card number the sequencer gives (0xFF: no card), the port name (up to a zero
// byte), then operations: 0 make a folder, 1 write a file (its text up to a zero byte),
// 2 make a symbolic link; each path is a list of names from a fixed table, ended by 0xFF.
// The two bytes after them make a client number; what follows is a block device's path
// ("/dev/sdb1"), whose USB device is looked up in the same tree (SysfsUsbDevice) by the
// same rules: never outside the tree, an identity complete, upper-case and trimmed, nothing
// for a path that is not a name directly below "/dev/".
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "LinuxUsbIdentityLookup.h"
#include "SysfsUsbDevice.h"

#include <QDir>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const char* const kNames[] = {
    "class", "sound", "card0", "card1", "card2", "device", "devices", "usb1", "1-1", "1-1:1.0",
    "pci0000:00", "0000:00:14.0", "idVendor", "idProduct", "subsystem", "..", ".", "a",
    "block", "sdb", "sdb1",
};
constexpr std::size_t kNameCount = sizeof(kNames) / sizeof(kNames[0]);
constexpr std::size_t kMaxComponents = 12;
constexpr int kMaxOperations = 64;

struct Tree
{
    fs::path base;    // the temporary folder
    fs::path root;    // base/sys, the fake sysfs
    fs::path outside; // base/outside
};

const Tree& tree()
{
    static const Tree t = [] {
        Tree made;
        // A memory file system where there is one and TMPDIR names no other: the tree is
        // written afresh for every input.
        std::error_code ec;
        const fs::path folder = std::getenv("TMPDIR") == nullptr && fs::is_directory("/dev/shm", ec)
                                    ? fs::path("/dev/shm")
                                    : fs::temp_directory_path();
        std::string pattern = (folder / "tavlo-fuzz-sysfs-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        made.base = fs::canonical(pattern);
        made.root = made.base / "sys";
        made.outside = made.base / "outside";
        // Removed at exit (a plain array: it outlives every static object).
        static char folderToRemove[4096];
        std::snprintf(folderToRemove, sizeof folderToRemove, "%s", made.base.c_str());
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(fs::path(folderToRemove), ignored);
        });
        return made;
    }();
    return t;
}

std::string relativePath(FuzzInput& in)
{
    std::string path;
    for (std::size_t n = 0; !in.atEnd() && n < kMaxComponents; ++n) {
        const std::uint8_t b = in.byte();
        if (b == 0xFF)
            break;
        if (!path.empty())
            path += '/';
        path += kNames[b % kNameCount];
    }
    return path;
}

// Whether writing at path stays inside the temporary folder, links followed.
bool insideBase(const fs::path& path)
{
    std::error_code ec;
    const fs::path resolved = fs::weakly_canonical(path, ec);
    if (ec)
        return false;
    const std::string text = resolved.string();
    const std::string base = tree().base.string();
    return text == base || text.rfind(base + "/", 0) == 0;
}

void writeFile(const fs::path& path, const std::string& text)
{
    std::error_code ec;
    if (!insideBase(path) || !insideBase(path.parent_path()))
        return;
    fs::create_directories(path.parent_path(), ec);
    if (!insideBase(path))
        return;
    std::ofstream(path, std::ios::binary) << text;
}

void build(FuzzInput& in)
{
    std::error_code ec;
    fs::remove_all(tree().root, ec);
    fs::remove_all(tree().outside, ec);
    fs::create_directories(tree().root, ec);
    // What lies next to the tree, reachable only through a link that leaves it.
    writeFile(tree().outside / "idVendor", "ZZZZ\n");
    writeFile(tree().outside / "idProduct", "ZZZZ\n");
    fs::create_directories(tree().outside / "sound" / "card0" / "device", ec);

    for (int op = 0; op < kMaxOperations && !in.atEnd(); ++op) {
        const std::uint8_t kind = in.byte() % 3;
        const fs::path path = tree().root / relativePath(in);
        if (kind == 0) {
            if (insideBase(path))
                fs::create_directories(path, ec);
        } else if (kind == 1) {
            std::string text = in.field();
            // The marker of the outside identity never comes from inside the tree.
            for (char& c : text)
                if (c == 'Z' || c == 'z')
                    c = 'Y';
            writeFile(path, text);
        } else {
            // The link's target: relative, or the tree's root, or the folder outside it.
            const std::uint8_t where = in.byte() % 3;
            const std::string rest = relativePath(in);
            fs::path target = where == 0 ? fs::path(rest)
                              : where == 1 ? tree().root / rest
                                           : tree().outside / rest;
            if (insideBase(path.parent_path()) && !fs::exists(fs::symlink_status(path, ec))) {
                fs::create_directories(path.parent_path(), ec);
                if (insideBase(path.parent_path()))
                    fs::create_symlink(target, path, ec);
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    const std::uint8_t cardByte = in.byte();
    const int card = cardByte == 0xFF ? -1 : cardByte % 4;
    const QString portName = QString::fromUtf8(in.field().c_str());
    build(in);

    int askedClient = -1;
    int asks = 0;
    LinuxUsbIdentityLookup lookup(QString::fromStdString(tree().root.string()), [&](int client) {
        ++asks;
        askedClient = client;
        return card;
    });
    const UsbIds ids = lookup.lookUp(portName);

    const int client = LinuxUsbIdentityLookup::sequencerClientOf(portName);
    FUZZ_CHECK(asks == (client >= 0 ? 1 : 0));
    FUZZ_CHECK(client < 0 || askedClient == client);
    if (ids.found) {
        FUZZ_CHECK(client >= 0 && card >= 0);
        for (const QString* id : {&ids.vendorId, &ids.productId}) {
            FUZZ_CHECK(!id->isEmpty());
            FUZZ_CHECK(*id == id->toUpper());
            FUZZ_CHECK(*id == id->trimmed());
            FUZZ_CHECK(!id->contains(QLatin1Char('Z')));
        }
    }

    // The client number in a name the sequencer writes is read back, whatever comes before.
    const int number = (static_cast<int>(in.byte()) << 8) | in.byte();
    const QString named = portName + QStringLiteral(" %1:%2").arg(number).arg(number % 7);
    FUZZ_CHECK(LinuxUsbIdentityLookup::sequencerClientOf(named) == number);

    const QString device = QString::fromUtf8(in.field().c_str());
    const UsbIds block = SysfsUsbDevice::ofBlockDevice(QString::fromStdString(tree().root.string()), device);
    if (block.found) {
        FUZZ_CHECK(device.startsWith(QStringLiteral("/dev/")));
        FUZZ_CHECK(!device.mid(5).contains(QLatin1Char('/')));
        for (const QString* id : {&block.vendorId, &block.productId}) {
            FUZZ_CHECK(!id->isEmpty());
            FUZZ_CHECK(*id == id->toUpper());
            FUZZ_CHECK(*id == id->trimmed());
            FUZZ_CHECK(!id->contains(QLatin1Char('Z')));
        }
    }
    return 0;
}
