#pragma once

#include "Sha256.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFuture>
#include <QThreadPool>

// A SHA-256 worked out on a thread of its own while the caller goes on with the same bytes
// (writes them out, reads the next block): on two cores the hash then costs no wall time
// beside a copy. Blocks are hashed in the order they are added. add() waits for the block
// before to be done, then starts on this one: the caller must leave a block's bytes as they
// are until the next add() or result() returns, so two buffers in turn are enough.
class HashAlongside
{
public:
    HashAlongside();
    ~HashAlongside();
    HashAlongside(const HashAlongside&) = delete;
    HashAlongside& operator=(const HashAlongside&) = delete;

    void add(QByteArrayView block);
    // Waits for the block under way, then starts again from nothing.
    void reset();
    // Waits for every block added, then gives the digest (32 bytes) of them all.
    QByteArray result();

private:
    void waitForBlock();

    Sha256 hash;
    QThreadPool worker;
    QFuture<void> pending;
};
