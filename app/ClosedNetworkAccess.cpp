#include "ClosedNetworkAccess.h"

#include "WiringLog.h"

#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QQmlEngine>

namespace {

// Turns every request into one for an address of no known protocol, which Qt ends with
// ProtocolUnknownError without touching the network.
class RefusingManager : public QNetworkAccessManager
{
public:
    using QNetworkAccessManager::QNetworkAccessManager;

protected:
    QNetworkReply* createRequest(Operation operation, const QNetworkRequest& request,
                                 QIODevice* outgoingData) override
    {
        qCInfo(lcWiring, "The window asked for %s; nothing is fetched",
               qPrintable(request.url().toDisplayString(QUrl::RemoveUserInfo)));
        return QNetworkAccessManager::createRequest(
            operation, QNetworkRequest(QUrl(QStringLiteral("refused:"))), outgoingData);
    }
};

} // namespace

QNetworkAccessManager* ClosedNetworkAccess::create(QObject* parent)
{
    return new RefusingManager(parent);
}

void ClosedNetworkAccess::closeFor(QQmlEngine& engine)
{
    // One factory for the program's life: the engine keeps the pointer, not the object.
    static ClosedNetworkAccess factory;
    engine.setNetworkAccessManagerFactory(&factory);
}
