#include "UserRootStore.h"

#ifdef _WIN32
#include <windows.h>
#include <wincrypt.h>
#endif

#ifdef _WIN32
namespace {

std::string lastErrorSentence(const char* what)
{
    return std::string(what) + " (Windows error " + std::to_string(GetLastError()) + ").";
}

// The current user's Root store, closed when it goes out of scope.
class OpenStore
{
public:
    OpenStore() : store(CertOpenSystemStoreW(0, L"ROOT")) {}
    ~OpenStore()
    {
        if (store)
            CertCloseStore(store, 0);
    }
    OpenStore(const OpenStore&) = delete;
    OpenStore& operator=(const OpenStore&) = delete;
    HCERTSTORE handle() const { return store; }

private:
    HCERTSTORE store;
};

// The store's copy of the certificate, or null; the caller frees it.
PCCERT_CONTEXT find(HCERTSTORE store, const UserRootStore::Der& certificate)
{
    PCCERT_CONTEXT wanted = CertCreateCertificateContext(
        X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, certificate.data(), static_cast<DWORD>(certificate.size()));
    if (!wanted)
        return nullptr;
    PCCERT_CONTEXT found = CertFindCertificateInStore(store, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0,
                                                      CERT_FIND_EXISTING, wanted, nullptr);
    CertFreeCertificateContext(wanted);
    return found;
}

} // namespace
#endif

#ifndef _WIN32
namespace {
// Where there is no such store: nothing is done, and the error says why.
bool unsupported(std::string* error)
{
    if (error)
        *error = "This system has no user root certificate store.";
    return false;
}
} // namespace
#endif

bool UserRootStore::isAvailable()
{
#ifdef _WIN32
    return true;
#else
    return false;
#endif
}

bool UserRootStore::add(const Der& certificate, bool* addedNow, std::string* error)
{
    if (addedNow)
        *addedNow = false;
#ifdef _WIN32
    if (certificate.empty()) {
        if (error)
            *error = "The certificate to trust is empty.";
        return false;
    }
    const OpenStore store;
    if (!store.handle()) {
        if (error)
            *error = lastErrorSentence("The current user's root certificate store cannot be opened");
        return false;
    }
    if (PCCERT_CONTEXT present = find(store.handle(), certificate)) {
        CertFreeCertificateContext(present);
        return true;
    }
    // CERT_STORE_ADD_NEW: a certificate that came in meanwhile is not replaced, and not
    // taken for one of ours.
    if (!CertAddEncodedCertificateToStore(store.handle(), X509_ASN_ENCODING | PKCS_7_ASN_ENCODING,
                                          certificate.data(), static_cast<DWORD>(certificate.size()),
                                          CERT_STORE_ADD_NEW, nullptr)) {
        if (GetLastError() == static_cast<DWORD>(CRYPT_E_EXISTS))
            return true;
        if (error)
            *error = lastErrorSentence("The certificate could not be put into the current user's root store");
        return false;
    }
    if (addedNow)
        *addedNow = true;
    return true;
#else
    (void)certificate;
    return unsupported(error);
#endif
}

bool UserRootStore::remove(const Der& certificate, std::string* error)
{
#ifdef _WIN32
    const OpenStore store;
    if (!store.handle()) {
        if (error)
            *error = lastErrorSentence("The current user's root certificate store cannot be opened");
        return false;
    }
    PCCERT_CONTEXT present = find(store.handle(), certificate);
    if (!present)
        return true;
    // CertDeleteCertificateFromStore frees the context, also when it fails.
    if (!CertDeleteCertificateFromStore(present)) {
        if (error)
            *error = lastErrorSentence("The certificate could not be taken out of the current user's root store");
        return false;
    }
    // Written through now: under Wine a deletion was not written back to the registry when
    // the store was closed (the certificate was there again on the next open).
    CertControlStore(store.handle(), CERT_STORE_CTRL_COMMIT_FORCE_FLAG, CERT_STORE_CTRL_COMMIT, nullptr);
    if (PCCERT_CONTEXT still = find(store.handle(), certificate)) {
        CertFreeCertificateContext(still);
        if (error)
            *error = "The certificate is still in the current user's root store after it was taken out.";
        return false;
    }
    return true;
#else
    (void)certificate;
    return unsupported(error);
#endif
}

bool UserRootStore::contains(const Der& certificate)
{
#ifdef _WIN32
    const OpenStore store;
    if (!store.handle())
        return false;
    PCCERT_CONTEXT present = find(store.handle(), certificate);
    if (!present)
        return false;
    CertFreeCertificateContext(present);
    return true;
#else
    (void)certificate;
    return false;
#endif
}
