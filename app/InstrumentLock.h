#pragma once

#include <QString>

#include <memory>

class QLockFile;

// One program drives the instrument at a time: a lock per user, held for its run by either
// window and by every "tavlo" command that talks to the instrument. Beside the lock file a
// line says who holds it ("window 1234" or "tavlo 1234 update"), so that the one who finds
// it taken can say what stands in the way. A lock left behind by a program that no longer
// runs (a crash, a kill) is taken over.
class InstrumentLock
{
public:
    enum class Kind { Window, CommandLine };

    // Who holds the lock, as far as can be read.
    struct Holder
    {
        qint64 processId = 0;   // 0: not known
        bool window = false;    // a window (else "tavlo" or not known)
        QString command;        // the "tavlo" command ("update"), plain and short
    };

    // folder: where the lock lives (made when missing); empty: no lock is taken, acquire()
    // always succeeds.
    explicit InstrumentLock(const QString& folder);
    ~InstrumentLock();
    InstrumentLock(const InstrumentLock&) = delete;
    InstrumentLock& operator=(const InstrumentLock&) = delete;

    // Takes the lock for this process. False when another running program holds it
    // (holder() says which). When the lock cannot be made at all (the folder is not
    // writable), returns true and problem() says why: the program then runs unguarded
    // rather than not at all.
    bool acquire(Kind kind, const QString& command = QString());
    bool held() const { return isHeld; }
    Holder holder() const { return heldBy; }
    QString problem() const { return why; }
    // The lock file's path ("" without a folder), and the folder it lives in.
    QString path() const;
    QString lockFolder() const { return folder; }

    // The line written beside the lock, and what is read back from one. Pure; the reading
    // takes only what it expects (a number, a short command of letters) from the line.
    static QString describe(Kind kind, qint64 processId, const QString& command);
    static Holder parse(const QString& line);

    // The sentence that says who holds the instrument and what to do, for the window and for
    // "tavlo" alike.
    static QString inUseSentence(const Holder& holder);

    // Where the production programs keep the lock: the user's runtime folder, or the user's
    // temporary folder on Windows and wherever there is no runtime folder.
    static QString defaultFolder();

private:
    QString folder;
    std::unique_ptr<QLockFile> lock;
    Holder heldBy;
    QString why;
    bool isHeld = false;
};
