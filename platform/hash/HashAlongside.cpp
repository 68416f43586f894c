#include "HashAlongside.h"

#include <QPromise>

#include <memory>

HashAlongside::HashAlongside()
{
    worker.setMaxThreadCount(1);
}

HashAlongside::~HashAlongside()
{
    waitForBlock();
}

void HashAlongside::waitForBlock()
{
    // A future, not the pool's waitForDone(): that one ends the pool's thread each time.
    if (pending.isValid())
        pending.waitForFinished();
}

void HashAlongside::add(QByteArrayView block)
{
    waitForBlock();
    if (block.isEmpty())
        return;
    // Each step starts only once the one before has finished, so the state is never touched
    // by two threads at once, and the future's finish orders its writes before our reads.
    auto done = std::make_shared<QPromise<void>>();
    pending = done->future();
    done->start();
    worker.start([this, block, done]() {
        hash.addData(block);
        done->finish();
    });
}

void HashAlongside::reset()
{
    waitForBlock();
    hash.reset();
}

QByteArray HashAlongside::result()
{
    waitForBlock();
    return hash.result();
}
