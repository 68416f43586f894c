#include "ChangeNotice.h"

#include <QMetaObject>
#include <QObject>

#include <utility>

ChangeNotice::ChangeNotice(QObject& owner, std::function<void()> emitChanged)
    : owner(owner), emitChanged(std::move(emitChanged))
{
}

void ChangeNotice::now()
{
    isPending = false;
    emitChanged();
}

void ChangeNotice::mark()
{
    if (isPending)
        return;
    isPending = true;
    // Queued on the owner: the call goes with it when it is destroyed first.
    QMetaObject::invokeMethod(
        &owner,
        [this] {
            // Told at once meanwhile (now()): nothing is left to tell.
            if (!isPending)
                return;
            isPending = false;
            emitChanged();
        },
        Qt::QueuedConnection);
}
