// The file name of a catalogue entry: the safety check and the download URL. A name the check
// accepts can only name a file in the download folder, on every system: never empty, "." or
// "..", no path separator (so no ".." component), no drive or stream colon, no control
// character, no Windows device name, never too long for the file system with the ending a
// download adds. Its download URL stays on the server, under /releases/,
// with no query or fragment, and gives the name back when decoded.
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "ReleaseLocation.h"
#include "UpdateFileName.h"

#include <QFile>
#include <QUrl>

#include <cstddef>
#include <cstdint>

namespace {

// Windows opens a device for these stems, whatever the extension and blanks that follow.
bool isWindowsDeviceName(const QString& name)
{
    QString stem = name.left(name.indexOf(QLatin1Char('.')) < 0 ? name.size() : name.indexOf(QLatin1Char('.')));
    while (stem.endsWith(QLatin1Char(' ')))
        stem.chop(1);
    stem = stem.toUpper();
    for (const char* device : {"CON", "PRN", "AUX", "NUL"})
        if (stem == QLatin1String(device))
            return true;
    if (stem.size() == 4 && (stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT")))) {
        const QChar n = stem.at(3);
        return (n >= QLatin1Char('1') && n <= QLatin1Char('9')) || n == QChar(0xB9) || n == QChar(0xB2)
               || n == QChar(0xB3);
    }
    return false;
}

// Undoes the three escapes in one pass.
QString decoded(const QString& encoded)
{
    QString out;
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const QStringView next = QStringView(encoded).mid(i, 3);
        if (next == QLatin1String("%25"))
            out += QLatin1Char('%');
        else if (next == QLatin1String("%3F"))
            out += QLatin1Char('?');
        else if (next == QLatin1String("%23"))
            out += QLatin1Char('#');
        else {
            FUZZ_CHECK(encoded.at(i) != QLatin1Char('%')); // every '%' is an escape
            out += encoded.at(i);
            continue;
        }
        i += 2;
    }
    return out;
}

void checkName(const QString& name)
{
    const QString encoded = UpdateFileName::encodeForUrl(name);
    FUZZ_CHECK(!encoded.contains(QLatin1Char('?')) && !encoded.contains(QLatin1Char('#')));
    FUZZ_CHECK(decoded(encoded) == name);

    if (!UpdateFileName::isSafe(name))
        return;

    FUZZ_CHECK(!name.isEmpty());
    FUZZ_CHECK(name.toUtf8().size() + UpdateFileName::kLongestSuffix <= 255);
    FUZZ_CHECK(name.size() + UpdateFileName::kLongestSuffix <= 255);
    FUZZ_CHECK(name != QLatin1String(".") && name != QLatin1String(".."));
    FUZZ_CHECK(!name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')));
    FUZZ_CHECK(!name.contains(QLatin1Char(':')));
    for (const QChar ch : name)
        FUZZ_CHECK(ch.unicode() >= 0x20 && !(ch.unicode() >= 0x7F && ch.unicode() < 0xA0));
    FUZZ_CHECK(!isWindowsDeviceName(name));
    // The bytes the file is opened with on Linux and macOS: still one path component.
    const QByteArray local = QFile::encodeName(name);
    FUZZ_CHECK(!local.isEmpty() && !local.contains('/') && !local.contains('\0'));
    FUZZ_CHECK(local != "." && local != "..");

    const QUrl server = ReleaseLocation::defaultServer();
    const QUrl url(ReleaseLocation::releaseUrl(server, name));
    FUZZ_CHECK(url.isValid());
    FUZZ_CHECK(url.scheme() == server.scheme() && url.host() == server.host() && url.port() == server.port());
    FUZZ_CHECK(!url.hasQuery() && !url.hasFragment());
    FUZZ_CHECK(url.path(QUrl::FullyDecoded) == QLatin1String("/releases/") + name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The name as UTF-8 (as the catalogue gives it) and as raw UTF-16 units (lone
    // surrogates included).
    checkName(QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    QString units(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        units[static_cast<qsizetype>(i / 2)] = QChar(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    checkName(units);
    return 0;
}
