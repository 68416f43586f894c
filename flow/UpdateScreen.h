#pragma once

#include <QObject>
#include <QString>

// What the update screen shows, as UpdateFlow sets it: the version line and its detail, the
// notice, the failure reason, which of its buttons show, the progress. The flow alone writes
// it; its getters read it.
class UpdateScreen
{
    Q_GADGET

public:
    // What the version line says.
    enum class Line {
        Looking, Latest, NotFound, AlreadyInstalled, UpToDate, Progress, DownloadFailed,
        OtherRoute, Complete, TransferFailed, NotFinished, LocalFile, NotApplied, NotConfirmed,
    };
    Q_ENUM(Line)

    // What the notice says.
    enum class Notice { Warning, AlreadyInstalled, Message, Complete, TransferFailed, NotFinished };

    // A failure: its reason (the one shown stays when why is empty), EXIT and Try again, no
    // choices.
    void showFailure(const QString& why);
    // Nothing of the update screen shows (the home screen, or the wait for the instrument).
    void close();
    // An update starts: the choices, "Start Update" and EXIT go.
    void leaveChoices();
    // The progress, as the version line's text (asText) or on the bar.
    void showProgress(bool asText, int value, const QString& progressMode, const QString& text);

    Line line = Line::Looking;
    Notice notice = Notice::Warning;
    QString message;    // the notice's message (Notice::Message)
    QString lineDetail; // the version line's detail (progress text, a local file's summary)
    QString reason;
    QString mode;       // the progress bar's mode ("downloading", "transfer")
    int percent = 0;
    bool lineShown = false;
    bool noticeVisible = false;
    bool startVisible = false;
    bool exitVisible = false;
    bool retryVisible = false;
    bool choicesOn = false;
    bool progressVisible = false;
    bool resultShown = false;
};
