import QtQuick 2.15

// What the main window does while the update file is copied onto the instrument. ui is
// the window; target the published MainController.
Connections {
    property var ui
    property string reason: ""

    function onTransferFailureReason(text) {
        reason = text
    }

    function onFileTransferComplete(success) {
        // After a good copy the instrument reboots: its absence is expected, not shown.
        ui.inReenumeration = success
        if (success)
            ui.logo.hideIndicator()
        ui.updateView.panel.showTransferResult(success)
        if (!success) {
            // The instrument switched to update mode before the copy; no message brings it back.
            ui.updateView.panel.showFailure(reason + qsTr(" Tavlo may still be in update mode: unplug it and plug it in again, then press Try again."))
            reason = ""
        }
        ui.updateView.progressBar.visible = false
    }

    function onCopyingFileProgress(progress) {
        ui.updateView.showProgress(progress, "transfer")
    }
}
