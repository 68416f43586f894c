#include "Sha256.h"

#include <QCryptographicHash>

struct Sha256::State
{
    QCryptographicHash hash{QCryptographicHash::Sha256};
};

Sha256::Sha256() : state(std::make_unique<State>()) {}

Sha256::~Sha256() = default;

void Sha256::reset()
{
    state->hash.reset();
}

void Sha256::addData(QByteArrayView data)
{
    state->hash.addData(data);
}

QByteArray Sha256::result() const
{
    return state->hash.result();
}
