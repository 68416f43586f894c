#include "app/full/FileManagerBridge.h"

const char* const FileManagerBridge::kTransferVolumeLabel = "TAVLO";

FileManagerBridge::FileManagerBridge(QObject* parent) : QObject(parent) {}

void FileManagerBridge::openProjects()
{
    Q_EMIT requestOpenFolder(QString::fromLatin1(kTransferVolumeLabel), QStringLiteral("projects"));
}

void FileManagerBridge::openInstrumentDefinitions()
{
    Q_EMIT requestOpenFolder(QString::fromLatin1(kTransferVolumeLabel),
                             QStringLiteral("instrument_definitions"));
}

void FileManagerBridge::openMidiFiles()
{
    Q_EMIT requestOpenFolder(QString::fromLatin1(kTransferVolumeLabel), QStringLiteral("MIDI_Clips"));
}

void FileManagerBridge::openGrooves()
{
    Q_EMIT requestOpenFolder(QString::fromLatin1(kTransferVolumeLabel), QStringLiteral("grooves"));
}

void FileManagerBridge::completeTransfer()
{
    Q_EMIT requestEjectDevice(QString::fromLatin1(kTransferVolumeLabel));
}
