#include "Sha256.h"

#include <QIODevice>

namespace {
constexpr qint64 kBlock = 1024 * 1024;
}

bool Sha256::addData(QIODevice& device)
{
    QByteArray buffer(kBlock, Qt::Uninitialized);
    for (;;) {
        const qint64 got = device.read(buffer.data(), kBlock);
        if (got < 0)
            return false;
        if (got == 0)
            return device.atEnd() || !device.isSequential();
        addData(QByteArrayView(buffer.constData(), got));
    }
}

QByteArray Sha256::hash(QByteArrayView data)
{
    Sha256 sha;
    sha.addData(data);
    return sha.result();
}
