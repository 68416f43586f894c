#pragma once

#include "StandInObject.h"

#include <QString>

// Publishes the update-only edition's MainController contract, whose copy progress is a
// ready-made text such as "40%".
class StandInUpdaterMainController : public StandInObject
{
    Q_OBJECT
public:
    using StandInObject::StandInObject;

signals:
    void fileTransferComplete(bool success);
    void transferFailureReason(QString reason);
    void copyingFileProgress(QString percentage);
};
