#include "SysfsUsbDevice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString readTrimmed(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The files hold four hex digits and a line break; more is not an identity.
    return QString::fromLatin1(file.read(64)).trimmed();
}

bool inside(const QString& path, const QString& root)
{
    return path.startsWith(root + QLatin1Char('/'));
}

} // namespace

UsbIds SysfsUsbDevice::above(const QString& sysfsRoot, const QString& start)
{
    const QString root = QFileInfo(sysfsRoot).canonicalFilePath();
    if (root.isEmpty())
        return {};
    QString dir = QFileInfo(start).canonicalFilePath();
    while (!dir.isEmpty() && inside(dir, root)) {
        const QString vendorPath = dir + QStringLiteral("/idVendor");
        const QString productPath = dir + QStringLiteral("/idProduct");
        if (QFileInfo(vendorPath).isFile() && QFileInfo(productPath).isFile()) {
            UsbIds ids;
            ids.vendorId = readTrimmed(vendorPath).toUpper();
            ids.productId = readTrimmed(productPath).toUpper();
            ids.found = !ids.vendorId.isEmpty() && !ids.productId.isEmpty();
            return ids.found ? ids : UsbIds();
        }
        const QString parent = QFileInfo(dir).path();
        if (parent == dir)
            break;
        dir = parent;
    }
    return {};
}

UsbIds SysfsUsbDevice::ofBlockDevice(const QString& sysfsRoot, const QString& devicePath)
{
    static const QString dev = QStringLiteral("/dev/");
    if (!devicePath.startsWith(dev))
        return {};
    const QString name = devicePath.mid(dev.size());
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QStringLiteral(".")
        || name == QStringLiteral("..") || name.contains(QChar(0)))
        return {};
    const QString block = QStringLiteral("%1/class/block/%2").arg(sysfsRoot, name);
    // A whole disk links to its device; a partition sits in its disk's folder, which the walk
    // passes on its way up.
    const QString device = block + QStringLiteral("/device");
    return above(sysfsRoot, QFileInfo::exists(device) ? device : block);
}
