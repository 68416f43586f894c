#include "UpdateFlowTexts.h"

QString UpdateFlowTexts::versionLine(UpdateFlow::Line line, const QString& latest,
                                     const QString& detail)
{
    using Line = UpdateFlow::Line;
    switch (line) {
    case Line::Looking:
        return tr("Looking for the latest version or Tvx...");
    case Line::Latest:
        return tr("The latest available version is Tvx") + latest;
    case Line::NotFound:
        return tr("The latest version could not be found.");
    case Line::AlreadyInstalled:
        return tr("The latest version is already installed!");
    case Line::UpToDate:
        break;
    case Line::Progress:
        return detail;
    case Line::DownloadFailed:
        return tr("Download failed!");
    case Line::OtherRoute:
        return tr("Trying a different route now\u2014hang tight...");
    case Line::Complete:
        return tr("File transfer complete!");
    case Line::TransferFailed:
        return tr("File transfer failed!");
    case Line::NotFinished:
        return tr("The update was not finished!");
    case Line::LocalFile:
        return detail;
    case Line::NotApplied:
        return tr("The update was not applied!");
    case Line::NotConfirmed:
        return tr("The update could not be confirmed!");
    }
    return QString();
}

QString UpdateFlowTexts::notice(UpdateFlow::Notice notice, const QString& message)
{
    using Notice = UpdateFlow::Notice;
    switch (notice) {
    case Notice::Warning:
        return tr("PLEASE MAKE SURE THAT TAVLO IS CONNECTED TO THE BREAKOUT MODULE AND THAT THE "
                  "MIDI USB PORT IS NOT CONNECTED TO ANY DEVICE \n \n \n The update will take "
                  "several minutes and Tavlo might reboot multiple times during the process. \n "
                  "\n  DO NOT UNPLUG power or disconnect the Breakout Module until the update is done");
    case Notice::AlreadyInstalled:
        return tr("The latest version is already installed! You can now close this application.");
    case Notice::Message:
        return message;
    case Notice::Complete:
        return tr("File transfer complete! Tavlo will now reboot to apply the update. You can "
                  "now close this application.");
    case Notice::TransferFailed:
        return tr("Something went wrong during the file transfer. Please try again or contact support.");
    case Notice::NotFinished:
        return tr("Tavlo has not been told to apply the update.");
    }
    return QString();
}

QString UpdateFlowTexts::downloading(qlonglong percent)
{
    return tr("Downloading... %1%").arg(percent);
}

QString UpdateFlowTexts::copying(const QString& percentText)
{
    return tr("Transfering file... %1").arg(percentText);
}

QString UpdateFlowTexts::stillInUpdateMode()
{
    return tr(" Tavlo may still be in update mode: unplug it and plug it in again, then press "
              "Try again.");
}

QString UpdateFlowTexts::cannotInstallNow()
{
    return tr("The update file cannot be installed now.");
}

QString UpdateFlowTexts::confirmation(UpdateConfirmation::State state, const QString& installing,
                                      const QString& reported)
{
    switch (state) {
    case UpdateConfirmation::State::Waiting:
    case UpdateConfirmation::State::Settling:
        return installing.isEmpty()
            ? tr("Waiting for Tavlo to restart and report its firmware...")
            : tr("Waiting for Tavlo to restart with firmware %1...").arg(installing);
    case UpdateConfirmation::State::Confirmed:
        return tr("Tavlo now runs firmware %1.").arg(reported);
    default:
        return QString();
    }
}

QString UpdateFlowTexts::notConfirmed(UpdateConfirmation::State state, const QString& reported)
{
    if (state == UpdateConfirmation::State::OtherVersion)
        return tr("Tavlo came back with firmware %1: the update was not applied.").arg(reported);
    return tr("Tavlo did not come back after the update, so the update could not be confirmed. "
              "Switch Tavlo off and on again, then press Try again.");
}
