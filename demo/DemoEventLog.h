#pragma once

#include <QElapsedTimer>
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QObject>
#include <QString>

class Wiring;
class SimInstrument;

// Writes one line per event of a demo run to a file: the program's signals, the messages
// sent to and received from the instrument, what the instrument did (the update files it
// applied with their sizes and SHA-256). Each line is "<ms since start> <source>: <text>",
// so a run can be checked by a script.
class DemoEventLog : public QObject
{
    Q_OBJECT
public:
    explicit DemoEventLog(const QString& path, QObject* parent = nullptr);

    bool isOpen() const { return file.isOpen(); }
    QString path() const { return file.fileName(); }

    void watchInstrument(SimInstrument& instrument);
    void watchProgram(Wiring& wiring);

public Q_SLOTS:
    void write(const QString& source, const QString& text);

private:
    void tap(QObject* object, const QString& source, const QList<QByteArray>& signalNames);

    QFile file;
    QElapsedTimer clock;
};
