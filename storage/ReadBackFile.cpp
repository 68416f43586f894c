#include "ReadBackFile.h"

#include <QFile>

ReadBackFile::ReadBackFile(const QString& path) : path(path) {}

ReadBackFile::~ReadBackFile()
{
    ReadBackFile::close();
}

bool ReadBackFile::openForReadBack()
{
    // The reader takes UTF-8 on every system (on Windows the system's 8-bit code page would
    // lose a name such as "Ørsted – live.mid").
    if (!reader.open(path.toUtf8().constData()))
        return false;
    return QIODevice::open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void ReadBackFile::close()
{
    reader.close();
    QIODevice::close();
}

qint64 ReadBackFile::readData(char* data, qint64 maxSize)
{
    return reader.read(data, maxSize);
}

qint64 ReadBackFile::writeData(const char*, qint64)
{
    return -1;
}
