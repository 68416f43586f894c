#include "ReadBackFile.h"

#include <QFile>

ReadBackFile::ReadBackFile(const QString& path) : path(path) {}

ReadBackFile::~ReadBackFile()
{
    ReadBackFile::close();
}

bool ReadBackFile::openForReadBack()
{
    if (!reader.open(QFile::encodeName(path).constData()))
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
