#pragma once

#include <QObject>
#include <QString>

// The window's way to the storage worker while the instrument is in transfer mode: each
// button becomes one request signal carrying the instrument's volume label and folder name.
class FileManagerBridge : public QObject
{
    Q_OBJECT
public:
    explicit FileManagerBridge(QObject* parent = nullptr);

    static const char* const kTransferVolumeLabel;

Q_SIGNALS:
    void requestOpenFolder(const QString& deviceName, const QString& relativePath);
    void requestEjectDevice(const QString& deviceName);

public:
    Q_INVOKABLE void openProjects();
    Q_INVOKABLE void openInstrumentDefinitions();
    Q_INVOKABLE void openMidiFiles();
    Q_INVOKABLE void openGrooves();
    Q_INVOKABLE void completeTransfer();
};
