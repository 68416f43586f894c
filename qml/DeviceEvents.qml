import QtQuick 2.15

// What the main window does when the instrument appears, goes, reports its version or
// acknowledges the transfer mode. ui is the window; target the published MidiHandler.
Connections {
    property var ui

    function onDeviceFound(isConnected) {
        if (isConnected) {
            ui.logo.connected = true
            if (ui.update_started)
                return
            ui.logo.show(true)
            if (!ui.inReenumeration && !ui.inUpdateFlow && !ui.inTransferFlow)
                ui.homeView.offer(ui.transferOffered())
            else if (ui.inUpdateFlow)
                ui.homeView.withdraw()
        } else {
            // While the instrument is expected to leave the bus, its absence is not shown.
            if (ui.inReenumeration)
                return
            ui.logo.connected = false
            ui.logo.show(false)
            ui.homeView.withdraw()
            // Unplugged while the update ran: what ran was cancelled, the window waits for
            // the instrument again. An end screen stays: a failure says what to do.
            if (ui.update_started && !ui.updateView.panel.endShown)
                ui.backToWaiting()
        }
    }

    // The final wait ended without the update-finish message having gone out.
    function onUpdateFinishFailed(reason) {
        ui.inReenumeration = false
        ui.updateView.stopLoading()
        ui.updateView.progressBar.visible = false
        ui.logo.show(ui.logo.connected)
        ui.updateView.panel.showNotFinished(reason)
    }

    function onTavloReceivedVersion(version) {
        ui.deviceVersion = version
        // Only the home screen offers "Transfer"; a late report must not put the
        // button onto another screen.
        if (!ui.inUpdateFlow && !ui.inTransferFlow && !ui.inReenumeration
                && !ui.update_started && ui.logo.connected)
            ui.homeView.offerTransfer(ui.transferOffered())
    }

    function onTransferSysExReceived() {
        ui.updateView.stopLoading()
        ui.updateView.panel.showLatest(ui.latestVersion)
        ui.updateView.panel.versionLine.visible = false
        ui.inTransferFlow = true
        ui.homeView.withdraw()
        ui.transferView.show(true)
        ui.inReenumeration = false
    }

    function onTransferSysExEndReceived() {
        ui.updateView.stopLoading()
        ui.updateView.panel.versionLine.visible = false
        ui.updateView.panel.showLatest(ui.latestVersion)
        ui.inTransferFlow = false
        ui.homeView.offer(ui.transferOffered())
        ui.inReenumeration = false
    }
}
