#include "Sha256.h"

#include <openssl/evp.h>

struct Sha256::State
{
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    ~State() { EVP_MD_CTX_free(context); }
};

Sha256::Sha256() : state(std::make_unique<State>())
{
    reset();
}

Sha256::~Sha256() = default;

void Sha256::reset()
{
    EVP_DigestInit_ex(state->context, EVP_sha256(), nullptr);
}

void Sha256::addData(QByteArrayView data)
{
    if (!data.isEmpty())
        EVP_DigestUpdate(state->context, data.data(), size_t(data.size()));
}

QByteArray Sha256::result() const
{
    // Finishing consumes a context: a copy is finished, so more data may follow.
    EVP_MD_CTX* copy = EVP_MD_CTX_new();
    QByteArray digest(EVP_MAX_MD_SIZE, Qt::Uninitialized);
    unsigned int length = 0;
    if (!copy || !EVP_MD_CTX_copy_ex(copy, state->context)
        || !EVP_DigestFinal_ex(copy, reinterpret_cast<unsigned char*>(digest.data()), &length))
        length = 0;
    EVP_MD_CTX_free(copy);
    digest.resize(length);
    return digest;
}
