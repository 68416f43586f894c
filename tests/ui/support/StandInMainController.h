#pragma once

#include "StandInObject.h"

// Publishes the MainController's window contract (full edition: progress as int).
class StandInMainController : public StandInObject
{
    Q_OBJECT
public:
    using StandInObject::StandInObject;

signals:
    void fileTransferComplete(bool success);
    void transferFailureReason(QString reason);
    void copyingFileProgress(int percentage);
};
