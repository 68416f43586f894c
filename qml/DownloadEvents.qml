import QtQuick 2.15

// What the main window does with the Downloader's reports. ui is the window; target the
// published Downloader.
Connections {
    property var ui

    function onLatestVersionFetched(version) {
        ui.latestVersion = version
        ui.updateView.panel.showLatest(version)
    }

    function onDownloadingProgressBar(progress) {
        ui.updateView.showProgress(progress, "downloading")
    }

    function onVersionCheck(available) {
        if (!available)
            return
        ui.updateView.panel.showAlreadyInstalled()
        ui.update_available = false
    }

    // The catalogue could not be had: the version line says so instead of waiting.
    function onFailureReasonChanged(reason) {
        if (reason !== "" && !ui.update_started && ui.latestVersion === "")
            ui.updateView.panel.versionLine.text = qsTr("The latest version could not be found.")
    }

    function onDownloadStatus(success, message) {
        ui.updateView.panel.notice.visible = true
        ui.updateView.panel.notice.text = message
        ui.updateView.progressBar.visible = false
        if (!success) {
            ui.updateView.panel.versionLine.text = qsTr("Download failed!")
            ui.updateView.panel.offerExit(true)
            ui.updateView.panel.showFailure(ui.download ? ui.download.failureReason : "")
        } else {
            ui.updateView.panel.versionLine.text = qsTr("Trying a different route now\u2014hang tight...")
            ui.updateView.panel.offerExit(false)
        }
    }
}
