// The backup's manifest as read from the user's disk. Whatever the input, a manifest that
// reads names only paths that stay below the backup's folder, each once (letter case aside),
// with sizes of zero or more that add up without overflow and hashes of 64 lower-case hex
// digits; written again and read back it is the same.
#include "BackupManifest.h"
#include "FuzzCheck.h"

#include <QSet>

#include <cstddef>
#include <cstdint>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray json(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString why;
    const std::optional<BackupManifest> manifest = BackupManifest::parse(json, &why);
    if (!manifest) {
        FUZZ_CHECK(!why.isEmpty());
        return 0;
    }
    QSet<QString> seen;
    qint64 total = 0;
    for (const BackupManifest::Entry& entry : manifest->entries) {
        FUZZ_CHECK(BackupManifest::isSafeRelativePath(entry.path));
        FUZZ_CHECK(!entry.path.startsWith(QLatin1Char('/')) && !entry.path.contains(QLatin1Char('\\')));
        for (const QString& part : entry.path.split(QLatin1Char('/')))
            FUZZ_CHECK(!part.isEmpty() && part != QLatin1String(".") && part != QLatin1String(".."));
        for (const QChar ch : entry.path)
            FUZZ_CHECK(ch.unicode() >= 0x20 && ch != QLatin1Char(':'));
        FUZZ_CHECK(!seen.contains(entry.path.toCaseFolded()));
        seen.insert(entry.path.toCaseFolded());
        FUZZ_CHECK(entry.size >= 0);
        FUZZ_CHECK(total <= std::numeric_limits<qint64>::max() - entry.size);
        total += entry.size;
        FUZZ_CHECK(entry.sha256.size() == 64);
        for (const char ch : entry.sha256)
            FUZZ_CHECK((ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f'));
    }
    FUZZ_CHECK(manifest->totalBytes() == total);

    const std::optional<BackupManifest> again = BackupManifest::parse(manifest->toJson(), &why);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(again->entries == manifest->entries);
    FUZZ_CHECK(again->firmware == manifest->firmware);
    FUZZ_CHECK(again->created == manifest->created);
    return 0;
}
