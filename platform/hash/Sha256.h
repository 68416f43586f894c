#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

class QIODevice;

// An incremental SHA-256. Where the system's libcrypto is there (Linux) it does the work,
// about twenty times as fast as Qt's own code; elsewhere QCryptographicHash does. Which one is
// chosen by the build, not here.
class Sha256
{
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void reset();
    void addData(QByteArrayView data);
    // Reads the device from where it stands to its end in large blocks; false on a read error.
    bool addData(QIODevice& device);
    // The digest of everything added since the last reset (32 bytes); the state is kept.
    QByteArray result() const;

    // The digest of data in one call.
    static QByteArray hash(QByteArrayView data);

private:
    struct State;
    std::unique_ptr<State> state;
};
