// The meta-object interfaces of MidiHandler, Downloader, FileManager and MainController, in
// declaration order, as the window and the connections see them. Built twice: against the
// update-only edition (TAVLO_UPDATE_ONLY comes with its libraries) and against the full one.

#include "Downloader.h"
#include "FileManager.h"
#include "MainController.h"
#include "MidiHandler.h"

#include <QMetaMethod>
#include <QMetaObject>
#include <QTest>

namespace {

// "signal deviceFound(bool)", "slot private checkForTavloHost()", "method downloadFile()".
QStringList ownMethods(const QMetaObject& meta)
{
    QStringList list;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod m = meta.method(i);
        QString kind;
        switch (m.methodType()) {
        case QMetaMethod::Signal:
            kind = QStringLiteral("signal ");
            break;
        case QMetaMethod::Slot:
            kind = m.access() == QMetaMethod::Private ? QStringLiteral("slot private ")
                                                      : QStringLiteral("slot ");
            break;
        default:
            kind = QStringLiteral("method ");
            break;
        }
        list << kind + QString::fromLatin1(m.methodSignature());
    }
    return list;
}

} // namespace

class TestInterfaces : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void declarationOrder_data();
    void declarationOrder();
    void slotReturnTypes();
};

void TestInterfaces::declarationOrder_data()
{
    QTest::addColumn<const QMetaObject*>("meta");
    QTest::addColumn<QStringList>("expected");

#ifdef TAVLO_UPDATE_ONLY
    QTest::newRow("MidiHandler") << &MidiHandler::staticMetaObject
                                 << QStringList{
                                        "signal deviceFound(bool)",
                                        "signal deviceSetToTransferMode()",
                                        "signal updateTransferDone()",
                                        "signal tavloReceivedVersion(QString)",
                                        "slot private checkForTavloHost()",
                                        "slot transferComplete(bool)",
                                        "slot fileDownloaded(bool)",
                                    };
    QTest::newRow("Downloader") << &Downloader::staticMetaObject
                                << QStringList{
                                       "signal downloadFinished(bool,QString,QString)",
                                       "signal setDeviceToTransferMode(bool)",
                                       "signal releasesJsonFetched()",
                                       "signal downloadingProgressBar(qlonglong)",
                                       "signal latestVersionFetched(QString)",
                                       "signal versionCheck(bool)",
                                       "slot tavloReceivedVersion(QString)",
                                       "slot private onReleasesJsonFetched(QNetworkReply*)",
                                       "slot private onFileDownloaded(QNetworkReply*,QString)",
                                       "slot private onReadyRead(QNetworkReply*)",
                                       "method downloadFile()",
                                   };
    QTest::newRow("FileManager") << &FileManager::staticMetaObject
                                 << QStringList{
                                        "signal fileTransferComplete(bool)",
                                        "signal copyProgress(QString)",
                                        "slot onDownloadFinished(bool,QString,QString)",
                                        "slot onDeviceSetToTransferMode()",
                                    };
    QTest::newRow("MainController") << &MainController::staticMetaObject
                                    << QStringList{
                                           "signal fileTransferComplete(bool)",
                                           "signal copyingFileProgress(QString)",
                                       };
#else
    QTest::newRow("MidiHandler") << &MidiHandler::staticMetaObject
                                 << QStringList{
                                        "signal deviceReenumerationFinished(bool)",
                                        "signal deviceFound(bool)",
                                        "signal deviceSetToTransferMode()",
                                        "signal updateTransferDone()",
                                        "signal transferSysExReceived()",
                                        "signal transferSysExEndReceived()",
                                        "signal tavloReceivedVersion(QString)",
                                        "slot private checkForTavloHost()",
                                        "slot transferComplete(bool)",
                                        "slot fileDownloaded(bool)",
                                        "slot onEjectCompleted(bool)",
                                        "method sendTransferSysEx()",
                                    };
    QTest::newRow("Downloader") << &Downloader::staticMetaObject
                                << QStringList{
                                       "signal downloadFinished(bool,QString,QString)",
                                       "signal setDeviceToTransferMode(bool)",
                                       "signal releasesJsonFetched()",
                                       "signal downloadingProgressBar(qlonglong)",
                                       "signal latestVersionFetched(QString)",
                                       "signal versionCheck(bool)",
                                       "signal downloadStatus(bool,QString)",
                                       "slot tavloReceivedVersion(QString)",
                                       "slot private onReleasesJsonFetched(QNetworkReply*)",
                                       "slot private onFileDownloaded(QNetworkReply*,QString)",
                                       "slot private onReadyRead(QNetworkReply*)",
                                       "method downloadFile()",
                                   };
    QTest::newRow("FileManager") << &FileManager::staticMetaObject
                                 << QStringList{
                                        "signal fileTransferComplete(bool)",
                                        "signal copyProgress(int)",
                                        "signal ejectCompleted(bool)",
                                        "slot onDownloadFinished(bool,QString,QString)",
                                        "slot onDeviceSetToTransferMode()",
                                        "slot ejectDeviceAndEmit(QString)",
                                        "slot openFolderOnDevice(QString,QString)",
                                    };
    QTest::newRow("MainController") << &MainController::staticMetaObject
                                    << QStringList{
                                           "signal fileTransferComplete(bool)",
                                           "signal copyingFileProgress(int)",
                                       };
#endif
}

void TestInterfaces::declarationOrder()
{
    QFETCH(const QMetaObject*, meta);
    QFETCH(QStringList, expected);
    QCOMPARE(ownMethods(*meta), expected);
}

void TestInterfaces::slotReturnTypes()
{
    // The presence check answers whether it found the instrument, in both editions.
    const QMetaObject& meta = MidiHandler::staticMetaObject;
    const int index = meta.indexOfSlot("checkForTavloHost()");
    QVERIFY(index >= 0);
    QCOMPARE(meta.method(index).returnMetaType(), QMetaType::fromType<bool>());
}

QTEST_GUILESS_MAIN(TestInterfaces)
#include "tst_interfaces.moc"
