import QtQuick 2.15

// What the main window does while the update file is copied onto the instrument. ui is
// the window; target the published MainController.
Connections {
    property var ui

    function onFileTransferComplete(success) {
        // After a good copy the instrument reboots: its absence is expected, not shown.
        ui.inReenumeration = success
        if (success)
            ui.logo.hideIndicator()
        ui.updateView.panel.showTransferResult(success)
        ui.updateView.progressBar.visible = false
    }

    function onCopyingFileProgress(progress) {
        ui.updateView.showProgress(progress, "transfer")
    }
}
