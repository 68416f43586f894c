#include "EndToEndRig.h"

#include "TestTimings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

const char* const EndToEndRig::kFileName = "tavlo-1.6.0.tvq";
const char* const EndToEndRig::kVersion = "1.6.0";

namespace {
QByteArray firmwareImage(qint64 size)
{
    QByteArray data(size, Qt::Uninitialized);
    quint32 state = 0x1600u;
    for (qint64 i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        data[i] = char(state >> 24);
    }
    return data;
}
} // namespace

EndToEndRig::EndToEndRig() : firmware(firmwareImage(2 * 1024 * 1024 + 123))
{
    // Downloads go to the per-user cache location, which follows XDG_CACHE_HOME.
    qputenv("TMPDIR", QFile::encodeName(downloads.path()));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(downloads.path()));
    simInstrument.setTimings(TestTimings::fastInstrument());
    simInstrument.setFirmwareVersion(QStringLiteral("1.5.2"));
    simInstrument.setVersionAfterUpdate(QString::fromLatin1(kVersion));
    QObject::connect(&simInstrument.bus(), &SimMidiBus::programSent,
                     [this](const QString&, const QByteArray& message) { sent.append(message); });
}

EndToEndRig::~EndToEndRig() = default;

QString EndToEndRig::filePath() const
{
    return QStringLiteral("/releases/") + QString::fromLatin1(kFileName);
}

QByteArray EndToEndRig::catalogue() const
{
    const QJsonObject entry{{"file_name", QString::fromLatin1(kFileName)},
                            {"version", QString::fromLatin1(kVersion)},
                            {"total_file_size", QString::number(firmware.size())},
                            {"release_date", "2026-11-30"},
                            {"code_name", "Rig"},
                            {"uuid", "00000000-0000-4000-8000-00000000e2e0"}};
    QJsonArray entries;
    for (const Release& release : releases) {
        QJsonObject other{{"file_name", QStringLiteral("tavlo-%1.tvq").arg(release.version)},
                          {"version", release.version},
                          {"total_file_size", QString::number(release.bytes.size())}};
        if (!release.notes.isEmpty())
            other.insert(QStringLiteral("release_notes"), release.notes);
        entries.append(other);
    }
    entries.append(entry);
    return QJsonDocument(entries).toJson();
}

void EndToEndRig::addRelease(const QString& version, const QByteArray& bytes, const QString& notes)
{
    releases.append({version, bytes, notes});
}

bool EndToEndRig::serve()
{
    releaseServer.setCatalogue(catalogue());
    releaseServer.setResponse("GET", filePath(), ReleaseServer::Response::ok(firmware));
    for (const Release& release : releases)
        releaseServer.setResponse("GET", QStringLiteral("/releases/tavlo-%1.tvq").arg(release.version),
                                  ReleaseServer::Response::ok(release.bytes));
    if (!releaseServer.start()) {
        problem = QStringLiteral("release server: ") + releaseServer.errorText();
        return false;
    }
    ReleaseServer::trustInThisProcess();
    return true;
}

bool EndToEndRig::start(bool withWindow)
{
    wiring = std::make_unique<RigEdition::Wiring>(simInstrument.platform(),
                                                  byName ? releaseServer.namedUrl() : releaseServer.baseUrl(),
                                                  TestTimings::fast());
    if (!withWindow)
        return true;
    driver = std::make_unique<WindowDriver>();
    wiring->publish(driver->engine());
    if (!driver->load(QUrl(QString::fromLatin1(RigEdition::kWindow)))) {
        problem = QStringLiteral("the window did not come up");
        return false;
    }
    return true;
}

void EndToEndRig::crash()
{
    driver.reset();
    wiring.reset();
}

int EndToEndRig::sentCount(const QByteArray& message) const
{
    return int(std::count(sent.begin(), sent.end(), message));
}
