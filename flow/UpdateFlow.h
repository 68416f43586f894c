#pragma once

#include "ChangeNotice.h"
#include "FlowTimings.h"
#include "StayAwake.h"
#include "UpdateConfirmation.h"
#include "UpdateFlowPolicy.h"
#include "UpdateScreen.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class Presence;
class SleepGuard;
class UpdateChoices;

// The firmware update as the window and "tavlo" go through it, from "Update" to its end
// screen, with one explicit state. It listens to the reports of the link, the Downloader
// and the MainController (connected by FlowConnections), calls the Downloader's
// downloadFile(), and tells the window everything it shows of the update: the version
// line, the notice, the failure reason, which buttons are shown and enabled, the progress.
// Every transition is made in one of its slots or invokables; the window only binds.
class UpdateFlow : public QObject
{
    Q_OBJECT
    Q_PROPERTY(State state READ state NOTIFY changed)
    Q_PROPERTY(bool started READ started NOTIFY changed)
    Q_PROPERTY(bool updateAvailable READ updateAvailable NOTIFY changed)
    Q_PROPERTY(bool updateOffered READ updateOffered NOTIFY changed)
    Q_PROPERTY(QString latestVersion READ latestVersion NOTIFY changed)
    Q_PROPERTY(QString versionLineText READ versionLineText NOTIFY changed)
    Q_PROPERTY(bool versionLineShown READ versionLineShown NOTIFY changed)
    Q_PROPERTY(QString noticeText READ noticeText NOTIFY changed)
    Q_PROPERTY(bool noticeShown READ noticeShown NOTIFY changed)
    Q_PROPERTY(QString reasonText READ reasonText NOTIFY changed)
    Q_PROPERTY(bool startShown READ startShown NOTIFY changed)
    Q_PROPERTY(bool startEnabled READ startEnabled NOTIFY changed)
    Q_PROPERTY(bool exitShown READ exitShown NOTIFY changed)
    Q_PROPERTY(bool retryShown READ retryShown NOTIFY changed)
    Q_PROPERTY(bool choicesOffered READ choicesOffered NOTIFY changed)
    Q_PROPERTY(bool progressShown READ progressShown NOTIFY changed)
    Q_PROPERTY(int progress READ progress NOTIFY changed)
    Q_PROPERTY(QString progressMode READ progressMode NOTIFY changed)
    // After a handed-over update: the wait for the instrument's return, then the firmware it
    // runs; empty otherwise (a return with another firmware is a failure's reason).
    Q_PROPERTY(QString confirmationText READ confirmationText NOTIFY changed)
    // While the instrument must not be cut off (update mode to confirmation): that the
    // computer stays awake, or that the user should keep it so; empty otherwise.
    Q_PROPERTY(QString awakeText READ awakeText NOTIFY changed)

public:
    enum class State {
        Idle,        // the home screen (or waiting for the instrument)
        Choosing,    // the update screen, before a start
        Downloading, // started: the update file is fetched (or awaits the catalogue)
        OtherRoute,  // the download goes on another way (the fallback downloader)
        Copying,     // the instrument is in update mode; the file goes onto its volume
        Succeeded,   // the file is on the instrument, which reboots to apply it; the
                     // confirmation waits for its return and says which firmware it runs
        Failed,      // the download or the copy failed, or the instrument came back without
                     // the update (or not at all): the reason, "Try again"
        NotFinished, // the copy went well, but the instrument was never told to apply it
    };
    Q_ENUM(State)

    // What the version line and the notice say (UpdateScreen).
    using Line = UpdateScreen::Line;
    using Notice = UpdateScreen::Notice;

    UpdateFlow(Presence& presence, const UpdateFlowPolicy& policy, const FlowTimings& timings,
               QObject* parent = nullptr);

    // The Downloader whose downloadFile() a start calls, and the published choices (either
    // may be absent).
    void setDownloader(QObject* downloader);
    void setChoices(UpdateChoices* choices);
    // The firmware version of the update file at hand (empty when not known), asked when the
    // file is handed on.
    void setFileVersionSource(std::function<QString()> source) { fileVersion = std::move(source); }
    // The system's sleep guard, held from the update-mode message to the confirmation's end.
    void setSleepGuard(std::shared_ptr<SleepGuard> guard) { stayAwake.setGuard(std::move(guard)); }

    State state() const { return current; }
    bool started() const;
    bool updateAvailable() const { return available; }
    bool updateOffered() const;
    QString latestVersion() const { return latest; }
    Line versionLine() const { return screen.line; }
    QString versionLineText() const;
    bool versionLineShown() const { return screen.lineShown; }
    QString noticeText() const;
    bool noticeShown() const { return screen.noticeVisible; }
    QString reasonText() const { return screen.reason; }
    bool startShown() const { return screen.startVisible; }
    bool startEnabled() const;
    bool exitShown() const { return screen.exitVisible; }
    bool retryShown() const { return screen.retryVisible; }
    bool choicesOffered() const { return screen.choicesOn; }
    bool progressShown() const { return screen.progressVisible; }
    int progress() const { return screen.percent; }
    QString progressMode() const { return screen.mode; }
    QString confirmationText() const;
    const UpdateConfirmation& confirmation() const { return confirming; }
    // The firmware of the update file being handed on (empty when not known), from when the
    // file is at hand.
    QString installingVersion() const { return installing; }
    // The firmware of the update file at hand now, as the source says (empty when not known).
    QString fileVersionAtHand() const { return fileVersion ? fileVersion() : QString(); }
    QString awakeText() const { return stayAwake.text(); }
    StayAwake::State awake() const { return stayAwake.state(); }
    // The end screen shows (EXIT is offered).
    bool endShown() const { return screen.exitVisible; }

    // "Update" on the home screen: the update screen.
    Q_INVOKABLE void open();
    // "Start Update": the update on offer (whatever the list showed before).
    Q_INVOKABLE void start();
    // A version picked on the version page (the choices have made it the one to fetch).
    Q_INVOKABLE void startChosen();
    // An update file from the computer, checked again and handed on as if just downloaded
    // (no download); summary says which file the version line names. Empty when it went
    // on, else why not (and nothing reached the instrument; the update screen stays).
    Q_INVOKABLE QString installLocal(const QString& urlOrPath, const QString& summary);
    // "Try again" on a failure screen: back to the update screen as after "Update".
    Q_INVOKABLE void retry();
    // An interrupted update, finished from the home screen: the update on offer, handed to
    // the instrument that waits in update mode already (InterruptedUpdate).
    void finishInterrupted();
    // While an interrupted update is offered, "Update" and "Transfer" are not.
    void setFinishOffered(bool offered);

public Q_SLOTS:
    void onLatestVersion(const QString& version);
    void onDownloadProgress(qlonglong value);
    // The update file is at hand (downloaded, or from the computer): the instrument is
    // switched to update mode and the file goes onto its volume.
    void onDownloaded(bool success);
    void onVersionCheck(bool installed);
    void onFailureReason(const QString& why);
    void onDownloadStatus(bool success, const QString& message);
    void onCopyProgress(int value);
    void onCopyProgressText(const QString& value);
    void onTransferFailureReason(const QString& why);
    void onCopyResult(bool success);
    // The update-mode message did not reach the instrument: the copy never began, and the
    // instrument stays in normal mode (no word of update mode under the reason).
    void onUpdateModeFailed(const QString& why);
    void onUpdateFinishFailed(const QString& why);
    void setTransferBusy(bool busy);

Q_SIGNALS:
    // Something shown changed; the presence's changes count as this flow's. Told at once,
    // but once per event-loop turn for the latest versions a catalogue hands on one by one
    // (ChangeNotice).
    void changed();
    void stateChanged(UpdateFlow::State state);
    // An update starts; alreadyInUpdateMode: the instrument waits in update mode (an
    // interrupted update), so no update-mode message goes out.
    void updateStarting(bool alreadyInUpdateMode);

private:
    void setState(State next);
    void onLost();
    void showUpToDate();
    // The failure screen of a hand-over that failed, with why.
    void failTransfer(const QString& why);
    void backToWaiting();
    void beginUpdate();
    // Leaves the update screen and has the Downloader fetch what the choices hold.
    void fetch();
    void onConfirmation(UpdateConfirmation::State state);

    Presence& presence;
    UpdateFlowPolicy policy;
    QPointer<QObject> downloader;
    QPointer<UpdateChoices> choices;
    std::function<QString()> fileVersion;
    UpdateConfirmation confirming;
    StayAwake stayAwake;
    QString installing;
    State current = State::Idle;
    UpdateScreen screen;
    QString latest;
    QString lastFailureReason;
    QString storageReason;
    bool available = true;
    bool transferBusy = false;
    bool finishOffered = false;
    ChangeNotice changeNotice{*this, [this] { emit changed(); }};
};
