#pragma once

#include "InterruptedUpdate.h"
#include "Presence.h"
#include "TransferFlow.h"
#include "UpdateFlow.h"

#include <QObject>
#include <QString>
#include <QStringList>

// One edition's flows, with a small script language that plays reports and presses onto
// them, and a description of what the window would show:
//
//   found | lost | version <v>          the link's reports
//   latest <v> | reason <text> | installed       the Downloader's (installed: versionCheck(true))
//   status ok|fail <text> | download <n> | downloaded
//   copy <n> | copied | copyFailed <why> | notFinished <why>
//   file <v>                            the version of the file the Downloader hands on
//   elapse <ms>                         the event loop runs this long (the confirmation's
//                                       waits are kConfirmMs and kSettleMs)
//   ack | endAck | ejectFailed | refused <why>   the transfer mode's
//   open | start | retry | transfer | done       the window's presses
//   volume yes|no | finish              an interrupted update: the storage's answer to the
//                                       look for the update volume, "Finish update"
//
// Calls the flows make are counted as the window's calls would be: "downloadFile",
// "sendTransferSysEx", "completeTransfer".
class FlowScript : public QObject
{
    Q_OBJECT

public:
    explicit FlowScript(const UpdateFlowPolicy& policy);

    static constexpr int kConfirmMs = 300;
    static constexpr int kSettleMs = 100;

    // False, with the step named in error(), when a step is not of the language.
    bool play(const QStringList& steps);
    QString error() const { return problem; }

    // "state line | notice | buttons | indicator", e.g.
    // "Failed DownloadFailed | Network down | exit retry | green".
    QString shown() const;

    Presence presence;
    UpdateFlow update;
    TransferFlow transfer;
    InterruptedUpdate interrupted{presence, update};
    QStringList calls;
    // How often the update volume was looked for, and how each update started ("normal", or
    // "in update mode": no update-mode message).
    int looks = 0;
    QStringList starts;
    QString fileVersion = QStringLiteral("1.6.0");

public Q_SLOTS:
    void downloadFile() { calls << QStringLiteral("downloadFile"); }
    void sendTransferSysEx() { calls << QStringLiteral("sendTransferSysEx"); }
    void completeTransfer() { calls << QStringLiteral("completeTransfer"); }

private:
    bool step(const QString& verb, const QString& rest);
    QString problem;
};
