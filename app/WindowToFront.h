#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// The window that holds the instrument listens beside the lock; a second window started by
// the user asks it to come to the front instead of opening a window of its own.
class WindowToFront : public QObject
{
    Q_OBJECT

public:
    // folder: the lock's folder (each lock has its own channel).
    explicit WindowToFront(const QString& folder, QObject* parent = nullptr);
    ~WindowToFront() override;

    // Listens for requests; only the lock's holder calls it. False when it cannot.
    bool listen();
    // Asks the window listening beside the lock in folder to come to the front; true when
    // it answered within waitMs.
    static bool ask(const QString& folder, int waitMs);

    // The channel's name for the lock in folder. Pure.
    static QString channelName(const QString& folder);

Q_SIGNALS:
    void requested();

private:
    void onConnection();

    QString name;
    QLocalServer* server = nullptr;
};
