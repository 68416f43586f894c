#include "StandInObject.h"

StandInObject::StandInObject(QObject* parent) : QObject(parent) {}

QStringList StandInObject::calls() const
{
    return m_calls;
}

int StandInObject::callCount(const QString& method) const
{
    return int(m_calls.count(method));
}

void StandInObject::clearCalls()
{
    m_calls.clear();
}

void StandInObject::record(const QString& method)
{
    m_calls.append(method);
}
