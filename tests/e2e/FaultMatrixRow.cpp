#include "FaultMatrixRow.h"

#include "EndToEndRig.h"
#include "SysExMessages.h"
#include "TestTimings.h"

#include <SimWriteBarrier.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>

#include <unistd.h>

namespace {
const QString kCatalogue = QStringLiteral("/releases/releases.json");

// A download slow enough to be caught under way: 64 KiB pieces 100 ms apart.
ReleaseServer::Response slow(const QByteArray& body, int delayMs = 100)
{
    ReleaseServer::Response response = ReleaseServer::Response::ok(body);
    for (int i = 0; i < 32; ++i)
        response.pieces << 65536;
    response.pieceDelayMs = delayMs;
    return response;
}

// The headers, then nothing for a minute. (A first piece would keep curl's speed, an average
// over its last seconds, above its limit for a while after the bytes stopped.)
ReleaseServer::Response stalled(const QByteArray& body)
{
    ReleaseServer::Response response = slow(body, 60000);
    response.pieces.first() = 0;
    return response;
}
} // namespace

namespace {
bool runMount(const QStringList& arguments)
{
    QProcess mount;
    mount.start(QStringLiteral("mount"), arguments);
    return mount.waitForFinished(10000) && mount.exitStatus() == QProcess::NormalExit
        && mount.exitCode() == 0;
}
} // namespace

bool FaultMatrixRow::canLimitVolumes()
{
    return ::geteuid() == 0;
}

bool FaultMatrixRow::canRefuseWrites()
{
    return SimWriteBarrier::supportedUnder(QDir::tempPath());
}

FaultMatrixRow::FaultMatrixRow(Fault fault, EndToEndRig& rig)
    : fault(fault), rig(rig), savedPath(qgetenv("PATH"))
{
}

FaultMatrixRow::~FaultMatrixRow()
{
    for (const auto& hook : hooks)
        QObject::disconnect(hook);
    qputenv("PATH", savedPath);
    if (!smallDisk.isEmpty()) {
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), smallDisk});
        qputenv("XDG_CACHE_HOME", QFile::encodeName(rig.downloadRoot()));
    }
}

QByteArray FaultMatrixRow::catalogueWith(const char* key, const QJsonValue& value) const
{
    QJsonArray entries = QJsonDocument::fromJson(rig.catalogue()).array();
    QJsonObject entry = entries.at(0).toObject();
    entry.insert(QLatin1String(key), value);
    entries.replace(0, entry);
    return QJsonDocument(entries).toJson();
}

void FaultMatrixRow::pull()
{
    if (!active || pulled)
        return;
    pulled = true;
    rig.instrument().unplug();
}

bool FaultMatrixRow::before(bool withWindow)
{
    ReleaseServer& server = rig.server();
    SimInstrument& instrument = rig.instrument();
    SimulatedStorage& storage = instrument.storage();
    const QByteArray file = rig.updateFile();
    if (!rig.serve())
        return false;

    using R = ReleaseServer::Response;
    switch (fault) {
    case Fault::Catalogue404: server.setResponse("GET", kCatalogue, R::error(404)); break;
    case Fault::Catalogue500: server.setResponse("GET", kCatalogue, R::error(500)); break;
    case Fault::CatalogueGarbage: server.setCatalogue("<html>maintenance</html>"); break;
    case Fault::CatalogueEmpty: server.setCatalogue("[]"); break;
    case Fault::CatalogueObject: server.setCatalogue("{\"file_name\": \"x.tvq\"}"); break;
    case Fault::CatalogueCutOff: {
        R response = R::ok(rig.catalogue());
        response.closeAfterBytes = rig.catalogue().size() / 2;
        server.setResponse("GET", kCatalogue, response);
        break;
    }
    case Fault::CatalogueBadName: server.setCatalogue(catalogueWith("file_name", "../x.tvq")); break;
    case Fault::ServerUntrusted:
        if (!server.presentUntrustedCertificate(true))
            return false;
        break;
    case Fault::File404: server.setResponse("GET", rig.filePath(), R::error(404)); break;
    case Fault::File500: server.setResponse("GET", rig.filePath(), R::error(500)); break;
    case Fault::File403: server.setResponse("GET", rig.filePath(), R::error(403)); break;
    case Fault::FileWrongLength: {
        R response = R::ok(file);
        response.declaredLength = file.size() + 4096;
        server.setResponse("GET", rig.filePath(), response);
        break;
    }
    case Fault::FileEndsEarly: {
        R response = R::ok(file);
        response.closeAfterBytes = file.size() / 2;
        server.setResponse("GET", rig.filePath(), response);
        break;
    }
    case Fault::FileReset: {
        R response = R::ok(file);
        response.closeAfterBytes = 0;
        server.setResponse("GET", rig.filePath(), response);
        break;
    }
    case Fault::FileStalls:
        server.setResponse("GET", rig.filePath(), stalled(file));
        break;
    case Fault::FileRedirectHttp: {
        QUrl plain = server.baseUrl();
        plain.setScheme(QStringLiteral("http"));
        plain.setPath(rig.filePath());
        server.setResponse("GET", rig.filePath(), R::redirect(302, plain.toEncoded()));
        break;
    }
    case Fault::FileShortLength: {
        R response = R::ok(file);
        response.declaredLength = file.size() - 4096;
        server.setResponse("GET", rig.filePath(), response);
        break;
    }
    case Fault::ChecksumMismatch:
        server.setCatalogue(catalogueWith(
            "sha256", QString::fromLatin1(
                          QCryptographicHash::hash("other", QCryptographicHash::Sha256).toHex())));
        break;
    case Fault::ChecksumUnreadable:
        // A prefix before the digest: no checksum this program can read.
        server.setCatalogue(catalogueWith(
            "sha256", QStringLiteral("sha256:")
                          + QString::fromLatin1(QCryptographicHash::hash(file, QCryptographicHash::Sha256).toHex())));
        break;
    case Fault::SizeMismatch:
        server.setCatalogue(catalogueWith("total_file_size", QString::number(file.size() + 1)));
        break;
    case Fault::CurlMissing:
        server.queueResponse("GET", rig.filePath(), R::error(500));
        qputenv("PATH", QFile::encodeName(rig.downloadRoot() + QStringLiteral("/no-programs")));
        break;
    case Fault::CurlFails: {
        R reset = R::ok(file);
        reset.closeAfterBytes = 1000;
        server.queueResponse("GET", rig.filePath(), reset);
        server.setResponse("GET", rig.filePath(), R::error(500));
        break;
    }
    case Fault::CurlStalls:
        server.queueResponse("GET", rig.filePath(), R::error(500));
        server.setResponse("GET", rig.filePath(), stalled(file));
        break;
    case Fault::CurlRescues: server.queueResponse("GET", rig.filePath(), R::error(500)); break;
    case Fault::DownloadFolderUnusable: {
        // The cache location is a file: no download folder can be made under it.
        const QString blocker = rig.downloadRoot() + QStringLiteral("/not-a-folder");
        QFile block(blocker);
        block.open(QIODevice::WriteOnly);
        qputenv("XDG_CACHE_HOME", QFile::encodeName(blocker));
        break;
    }
    case Fault::DownloadDiskFull: {
        // The user's cache on a disk with room for half the update file.
        smallDisk = rig.downloadRoot() + QStringLiteral("/small-disk");
        if (!QDir().mkpath(smallDisk)
            || !runMount({QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                          QStringLiteral("size=%1").arg(file.size() / 2), QStringLiteral("tavlo-test"), smallDisk})) {
            smallDisk.clear();
            return false;
        }
        qputenv("XDG_CACHE_HOME", QFile::encodeName(smallDisk));
        break;
    }
    case Fault::VolumeNeverMounts:
    case Fault::UnplugOnFailureScreen: storage.setNeverMounts(true); break;
    case Fault::VolumeMountsTooLate: storage.setExtraMountDelay(4000); break;
    case Fault::VolumeMountsLate: storage.setExtraMountDelay(500); break;
    case Fault::InstrumentSilent:
        instrument.midi().setReactionEnabled(SimMidiInstrument::Reaction::ReplyToVersionRequest, false);
        instrument.setRefusesUpdateMode(true);
        break;
    case Fault::InstrumentRefuses: instrument.setRefusesUpdateMode(true); break;
    case Fault::KeepsOldFirmware: instrument.setVersionAfterUpdate(instrument.firmwareVersion()); break;
    // The volume shows its fault from the moment it mounts (set afterwards, the program's
    // 50 ms watch could find it sound first).
    case Fault::VolumeReadOnly:
    case Fault::VolumeRefusesWrites:
    case Fault::VolumeBusy:
    case Fault::VolumeNotReady:
    case Fault::VolumeStaleFile: {
        SimVolumeOptions faulty;
        faulty.readOnly = fault == Fault::VolumeReadOnly;
        faulty.refusesWrites = fault == Fault::VolumeRefusesWrites;
        faulty.busy = fault == Fault::VolumeBusy;
        faulty.ready = fault != Fault::VolumeNotReady;
        if (fault == Fault::VolumeStaleFile)
            faulty.files.insert(QString::fromLatin1(SimInstrument::kUpdateFileName), QByteArray("OLD"));
        instrument.setUpdateVolumeOptions(faulty);
        break;
    }
    case Fault::VolumeFull: {
        SimVolumeOptions small;
        small.capacityBytes = 1024 * 1024; // half the update file
        instrument.setUpdateVolumeOptions(small);
        break;
    }
    case Fault::UnplugDuringDownload:
        server.queueResponse("GET", rig.filePath(), slow(file));
        break;
    case Fault::UnplugDuringCurl:
        server.queueResponse("GET", rig.filePath(), R::error(500));
        server.queueResponse("GET", rig.filePath(), slow(file, 300));
        break;
    case Fault::RejoinsLate: {
        SimInstrument::Timings late = instrument.currentTimings();
        late.rejoinAfterEjectMs = 60000;
        instrument.setTimings(late);
        break;
    }
    case Fault::UpdateModeSendFails: {
        const auto& message = SysEx::MIDI_SYSEX_UPDATE_MODE;
        instrument.bus().failSendsOf(QByteArray(reinterpret_cast<const char*>(message.data()),
                                                qsizetype(message.size())));
        break;
    }
    // A stick of the user's named like the update volume, and the instrument's own volume
    // never shows: the stick is left alone and named.
    case Fault::StrangerUpdateVolume: {
        SimVolumeOptions stick = SimulatedStorage::strangerVolumeOptions(QStringLiteral("0781"),
                                                                         QStringLiteral("5567"));
        stick.files.insert(QStringLiteral("holiday.jpg"), QByteArray("the user's photo"));
        if (!storage.mount(QString::fromLatin1(SimInstrument::kUpdateVolumeLabel), 0, stick))
            return false;
        strangerRoot = storage.strangerRootPath(QString::fromLatin1(SimInstrument::kUpdateVolumeLabel));
        storage.setNeverMounts(true);
        break;
    }
    // A second volume of the instrument's with the update label comes with its own: neither
    // is used. It leaves with the instrument's own when the instrument is unplugged.
    case Fault::TwoOwnUpdateVolumes: {
        auto second = std::make_shared<bool>(false);
        hooks << QObject::connect(&storage, &SimulatedStorage::volumeMounted, &storage,
                                  [this, &storage, second](const QString& label) {
                                      const QString update = QString::fromLatin1(SimInstrument::kUpdateVolumeLabel);
                                      if (!active || *second || label != update)
                                          return;
                                      *second = true;
                                      storage.mount(update);
                                  });
        break;
    }
    case Fault::ProxyAsksForPassword:
    case Fault::ProxyRefuses:
        proxy = std::make_unique<ProxyFault>();
        if (!proxy->start())
            return false;
        rig.reachByName();
        if (fault == Fault::ProxyRefuses)
            proxy->strike(ProxyFault::Kind::Refuses);
        break;
    default: break;
    }
    if (!rig.start(withWindow))
        return false;

    // The faults that strike at a stage of the flow.
    Downloader& downloader = rig.program().downloader();
    MainController& controller = rig.program().mainController();
    QObject* context = &controller;
    switch (fault) {
    case Fault::DownloadVanishes:
        hooks << QObject::connect(&downloader, &Downloader::downloadFinished, context,
                                  [this](bool ok, const QString& path) {
                                      if (ok && active)
                                          QFile::remove(path);
                                  }, Qt::DirectConnection);
        break;
    case Fault::UnplugDuringDownload:
        hooks << QObject::connect(&downloader, &Downloader::downloadingProgressBar, context,
                                  [this] { pull(); });
        break;
    case Fault::UnplugDuringCurl:
        hooks << RigEdition::onCurlStarted(rig.program(), context, [this] {
            if (active)
                QTimer::singleShot(400, [this] { pull(); });
        });
        break;
    case Fault::UnplugDuringVolumeWait:
        hooks << QObject::connect(&rig.program().midiHandler(), &MidiHandler::deviceSetToTransferMode,
                                  context, [this] { pull(); });
        break;
    case Fault::UnplugDuringCopy: {
        // The copy can end before the window hears of its first progress: the copying thread
        // waits at that first report (at most 5 s) until the plug has been pulled, so the pull
        // always lands while the copy is under way.
        auto pulled = std::make_shared<std::atomic<bool>>(false);
        hooks << QObject::connect(
            rig.program().fileManager(), &FileManager::copyProgress, context,
            [pulled] {
                for (int i = 0; i < 500 && !pulled->load(); ++i)
                    QThread::msleep(10);
            },
            Qt::DirectConnection);
        hooks << QObject::connect(&controller, &MainController::copyingFileProgress, context,
                                  [this, pulled] {
                                      if (pulled->load())
                                          return;
                                      pull();
                                      pulled->store(true);
                                  });
        break;
    }
    case Fault::UnplugDuringFinalWait:
        hooks << QObject::connect(&controller, &MainController::fileTransferComplete, context,
                                  [this](bool ok) {
                                      if (ok)
                                          pull();
                                  });
        break;
    case Fault::UpdateModeSendFails:
        hooks << QObject::connect(&rig.program().midiHandler(), &MidiHandler::deviceSetToTransferMode,
                                  context, [this] { volumeAwaited = true; });
        break;
    default: break;
    }
    instrument.plugIn();
    return true;
}

void FaultMatrixRow::onUpdateScreen()
{
    if (fault == Fault::UnplugBeforeStart)
        pull();
    // The catalogue came through the proxy; the file meets its question.
    if (fault == Fault::ProxyAsksForPassword)
        proxy->strike(ProxyFault::Kind::AsksForPassword);
}

void FaultMatrixRow::atEnd()
{
    if (fault == Fault::UnplugOnFailureScreen)
        pull();
    // No volume was looked for.
    if (fault == Fault::UpdateModeSendFails)
        QVERIFY(!volumeAwaited);
    // The stick holds what it held, and nothing was written to it.
    if (fault == Fault::StrangerUpdateVolume) {
        const QDir stick(strangerRoot);
        QCOMPARE(stick.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("holiday.jpg")});
        QFile photo(stick.filePath(QStringLiteral("holiday.jpg")));
        QVERIFY(photo.open(QIODevice::ReadOnly));
        QCOMPARE(photo.readAll(), QByteArray("the user's photo"));
    }
}

void FaultMatrixRow::clear()
{
    active = false;
    ReleaseServer& server = rig.server();
    SimInstrument& instrument = rig.instrument();
    server.clearResponses();
    server.presentUntrustedCertificate(false);
    server.setCatalogue(rig.catalogue());
    // The full disk gets room (the cache stays on it).
    if (!smallDisk.isEmpty())
        runMount({QStringLiteral("-o"), QStringLiteral("remount,size=%1").arg(rig.updateFile().size() * 8), smallDisk});
    server.setResponse("GET", rig.filePath(), ReleaseServer::Response::ok(rig.updateFile()));
    qputenv("PATH", savedPath);
    if (smallDisk.isEmpty())
        qputenv("XDG_CACHE_HOME", QFile::encodeName(rig.downloadRoot()));
    instrument.storage().setNeverMounts(false);
    instrument.storage().setExtraMountDelay(0);
    instrument.setRefusesUpdateMode(false);
    instrument.setUpdateVolumeOptions(SimVolumeOptions());
    instrument.midi().setReactionEnabled(SimMidiInstrument::Reaction::ReplyToVersionRequest, true);
    instrument.setTimings(TestTimings::fastInstrument());
    instrument.bus().failSendsOf(QByteArray());
    instrument.setVersionAfterUpdate(QString::fromLatin1(EndToEndRig::kVersion));
    if (proxy)
        proxy->clear();
}
