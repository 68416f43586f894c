#pragma once

#include <QQmlNetworkAccessManagerFactory>

class QQmlEngine;

// What the window's documents may fetch over the network: nothing. Every text they show is
// plain, so no image or link in a version, a reason or a release note is ever asked for;
// this closes the door behind that as well. Each request a document makes (an image, a font,
// a script loaded by address) ends at once with an error, before any connection, and the
// address is logged without its user name and password.
class ClosedNetworkAccess : public QQmlNetworkAccessManagerFactory
{
public:
    QNetworkAccessManager* create(QObject* parent) override;

    // Gives the engine its managers from here; call before a document is loaded.
    static void closeFor(QQmlEngine& engine);
};
