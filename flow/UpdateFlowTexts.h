#pragma once

#include "UpdateFlow.h"

#include <QCoreApplication>
#include <QString>

// The sentences of the update screen that UpdateFlow shows: the version line, the notice, the
// progress on the version line and the failure hints, in the window's language. They are
// translated in UpdateFlow's context, where the catalogues have them.
class UpdateFlowTexts
{
    Q_DECLARE_TR_FUNCTIONS(UpdateFlow)

public:
    // The version line's fixed sentences and the latest version; detail is what a progress or
    // local-file line says. The up-to-date line is the choices' sentence, not made here.
    static QString versionLine(UpdateFlow::Line line, const QString& latest, const QString& detail);
    // message: what the Downloader said, for a notice that shows it.
    static QString notice(UpdateFlow::Notice notice, const QString& message);
    // The progress on the version line: the download's percent, the copy's "40%".
    static QString downloading(qlonglong percent);
    static QString copying(const QString& percentText);
    // Follows the reason of a failed copy: the instrument switched to update mode before it.
    static QString stillInUpdateMode();
    static QString cannotInstallNow();
    // The update's confirmation: the wait for the instrument's return (version: the firmware
    // being installed, empty when not known), the firmware it runs, and its two failures.
    // While the confirmation waits or once it has confirmed; empty otherwise.
    static QString confirmation(UpdateConfirmation::State state, const QString& installing,
                                const QString& reported);
    // Why it ended without: OtherVersion (with the firmware reported) or NotBack.
    static QString notConfirmed(UpdateConfirmation::State state, const QString& reported);
};
