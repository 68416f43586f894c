import QtQuick 2.15

// What the main window does with the Downloader's reports. ui is the window; target the
// published Downloader.
Connections {
    property var ui

    function onLatestVersionFetched(version) {
        ui.latestVersion = version
        ui.panel.showLatest(version)
    }

    function onDownloadingProgressBar(progress) {
        ui.showProgress(progress, "downloading")
    }

    function onVersionCheck(available) {
        if (!available)
            return
        ui.panel.showAlreadyInstalled()
        ui.update_available = false
    }

    function onDownloadStatus(success, message) {
        ui.panel.notice.visible = true
        ui.panel.notice.text = message
        ui.progressBar.visible = false
        if (!success) {
            ui.panel.versionLine.text = "Download failed!"
            ui.panel.offerExit(true)
        } else {
            ui.panel.versionLine.text = "Trying a different route now\u2014hang tight..."
            ui.panel.offerExit(false)
        }
    }
}
