#pragma once

#include "StandInObject.h"

// Publishes the FileManagerBridge's window contract: five methods, no signals.
class StandInFileManagerBridge : public StandInObject
{
    Q_OBJECT
public:
    using StandInObject::StandInObject;

    Q_INVOKABLE void openProjects();
    Q_INVOKABLE void openInstrumentDefinitions();
    Q_INVOKABLE void openMidiFiles();
    Q_INVOKABLE void openGrooves();
    Q_INVOKABLE void completeTransfer();
};
