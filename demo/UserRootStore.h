#pragma once

#include <string>
#include <vector>

// The current user's store of trusted root certificates on Windows (the "ROOT" system store
// of the current user, plain Win32 crypt32). Windows' TLS (Schannel) checks a server's chain
// against it; under Wine it does not take the authorities a program hands to Qt, so a program
// that must trust a certificate authority of its own puts it here.
//
// Only the demo does so, for the release server it is given on the command line. On Windows
// itself adding a root asks the user first (a system dialog). Elsewhere there is no such
// store: isAvailable() is false and add() and remove() say so.
class UserRootStore
{
public:
    using Der = std::vector<unsigned char>;

    static bool isAvailable();

    // Puts the DER-encoded certificate into the store. True when it is there afterwards;
    // *addedNow tells whether this call put it there (it was not there before), so that the
    // caller takes it away again with remove() and leaves the store as it found it.
    // False with a sentence in *error when the store cannot be opened or refuses it.
    static bool add(const Der& certificate, bool* addedNow, std::string* error);

    // Takes the certificate out of the store. True when it is not there afterwards (also when
    // it never was); false with a sentence in *error.
    static bool remove(const Der& certificate, std::string* error);

    // Whether the certificate is in the store.
    static bool contains(const Der& certificate);
};
