#pragma once

#include <QObject>
#include <QStringList>

// Base of the stand-ins that the window tests publish in place of the program's objects:
// it records the name of every invokable method the window calls, in order.
class StandInObject : public QObject
{
    Q_OBJECT
public:
    explicit StandInObject(QObject* parent = nullptr);

    QStringList calls() const;
    int callCount(const QString& method) const;
    void clearCalls();

protected:
    void record(const QString& method);

private:
    QStringList m_calls;
};
