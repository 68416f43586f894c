#pragma once

#include "UserRootStore.h"

#include <QList>
#include <QString>

// The demo's trust in a release server started elsewhere (--server, --server-ca): its
// certificate authority is handed to Qt, as the Linux demo trusts its own server's, and on
// Windows also put into the current user's root certificate store, the one Windows' TLS
// checks (under Wine it does not take the authorities handed to Qt). Only what this put into
// the store is taken out again by release() (or when it is destroyed), so the store is left
// as it was found. The shipped programs never do this.
class DemoServerTrust
{
public:
    DemoServerTrust() = default;
    ~DemoServerTrust();
    DemoServerTrust(const DemoServerTrust&) = delete;
    DemoServerTrust& operator=(const DemoServerTrust&) = delete;

    // False with a sentence in *error when the file holds no certificate or the store
    // refuses one.
    bool trust(const QString& pemPath, QString* error);
    // Takes what trust() added out of the store again. False with a sentence in *error.
    bool release(QString* error = nullptr);

    // How many certificates trust() put into the user's root store (0 elsewhere than on
    // Windows, and when they were there already).
    int addedToUserStore() const { return int(added.size()); }

private:
    QList<UserRootStore::Der> added;
};
