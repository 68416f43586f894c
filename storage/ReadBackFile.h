#pragma once

#include <UncachedReader.h>

#include <QIODevice>
#include <QString>

// A copy on the volume opened for its read-back, as a read-only sequential device: the bytes
// come from the storage device, not from the system's cache (UncachedReader).
class ReadBackFile : public QIODevice
{
public:
    explicit ReadBackFile(const QString& path);
    ~ReadBackFile() override;

    // Opens the file for unbuffered reading; false when it cannot be opened so.
    bool openForReadBack();
    bool isSequential() const override { return true; }
    void close() override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    QString path;
    UncachedReader reader;
};
