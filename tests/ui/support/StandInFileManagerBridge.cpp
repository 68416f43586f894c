#include "StandInFileManagerBridge.h"

void StandInFileManagerBridge::openProjects()
{
    record(QStringLiteral("openProjects"));
}

void StandInFileManagerBridge::openInstrumentDefinitions()
{
    record(QStringLiteral("openInstrumentDefinitions"));
}

void StandInFileManagerBridge::openMidiFiles()
{
    record(QStringLiteral("openMidiFiles"));
}

void StandInFileManagerBridge::openGrooves()
{
    record(QStringLiteral("openGrooves"));
}

void StandInFileManagerBridge::completeTransfer()
{
    record(QStringLiteral("completeTransfer"));
}
