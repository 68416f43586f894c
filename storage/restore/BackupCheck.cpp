#include "BackupCheck.h"

#include "RestoreFailureText.h"

#include <Sha256.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString BackupCheck::Result::sentence() const
{
    switch (outcome) {
    case Outcome::Ok:
    case Outcome::Cancelled:
        break;
    case Outcome::ManifestMissing:
        return RestoreFailureText::manifestMissing();
    case Outcome::ManifestBroken:
        return RestoreFailureText::manifestUnreadable(detail);
    case Outcome::FilesDiffer:
        return RestoreFailureText::filesDoNotMatch(badFiles);
    }
    return QString();
}

BackupCheck::Result BackupCheck::readManifest(const QString& folder)
{
    Result result;
    const QString path = QDir(folder).filePath(QString::fromLatin1(BackupManifest::kFileName));
    QFile file(path);
    if (!QFileInfo::exists(path)) {
        result.outcome = Outcome::ManifestMissing;
        return result;
    }
    result.outcome = Outcome::ManifestBroken;
    if (!file.open(QIODevice::ReadOnly)) {
        result.detail = file.errorString();
        return result;
    }
    if (file.size() > kLargestManifest) {
        result.detail = QStringLiteral("larger than %1 bytes").arg(kLargestManifest);
        return result;
    }
    const QByteArray json = file.read(kLargestManifest + 1);
    if (json.size() > kLargestManifest) {
        result.detail = QStringLiteral("larger than %1 bytes").arg(kLargestManifest);
        return result;
    }
    QString why;
    result.manifest = BackupManifest::parse(json, &why);
    if (!result.manifest) {
        result.detail = why;
        return result;
    }
    result.outcome = Outcome::Ok;
    return result;
}

bool BackupCheck::fileMatches(const QString& path, qint64 size, const QByteArray& sha256)
{
    const QFileInfo info(path);
    if (info.isSymLink() || info.isJunction() || !info.isFile() || info.size() != size)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    Sha256 hash;
    if (!hash.addData(file) || file.size() != size)
        return false;
    return hash.result().toHex() == sha256.toLower();
}

BackupCheck::Result BackupCheck::run(const QString& folder, const std::function<bool()>& cancelled)
{
    Result result = readManifest(folder);
    if (!result.ok())
        return result;
    const QDir dir(folder);
    for (const BackupManifest::Entry& entry : result.manifest->entries) {
        if (cancelled && cancelled()) {
            result.outcome = Outcome::Cancelled;
            return result;
        }
        // parse() refuses an unsafe path already; a manifest that got here some other way
        // is held to the same rule.
        if (!BackupManifest::isSafeRelativePath(entry.path) ||
            !fileMatches(dir.filePath(entry.path), entry.size, entry.sha256))
            result.badFiles.append(entry.path);
    }
    if (!result.badFiles.isEmpty())
        result.outcome = Outcome::FilesDiffer;
    return result;
}
