import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Controls.Material 2.15
import Tavlo_Controls 1.0

// The window of the update-only edition: connection indicator and the update flow.
// The program objects are context properties that may be absent; every call and
// every connection to them is guarded, and the window only reacts to their signals.
ApplicationWindow {
    id: window
    objectName: "window"

    width: 720 / 2
    height: 720
    minimumWidth: 720 / 2
    minimumHeight: 720
    maximumWidth: 1080 / 2
    maximumHeight: 1080
    visible: true
    color: "black"
    Material.theme: Material.Dark

    property bool update_available: true
    property bool update_started: false
    property string latestVersion: ""
    // The update-finish message did not go out: the copy's success is not claimed.
    property bool finishFailed: false

    readonly property string connectedText: logoContainer.connectedText

    // The program's objects, or null where one is not published.
    readonly property QtObject midi: typeof midiHandler !== "undefined" ? midiHandler : null
    readonly property QtObject download: typeof downloader !== "undefined" ? downloader : null
    readonly property QtObject controller: typeof mainController !== "undefined" ? mainController : null
    readonly property QtObject choices: typeof updateChoices !== "undefined" ? updateChoices : null

    Connections {
        target: window.midi

        function onDeviceFound(isConnected) {
            // Shown also during an update: the dot turns red beside the update texts.
            if (isConnected && window.update_started)
                return
            logoContainer.show(isConnected)
            // Unplugged on the update screen or while the update ran (the link does not
            // report the instrument's planned absence in update mode): what ran was
            // cancelled, the window waits for it again. An end screen stays: a failure says what
            // to do.
            if (!isConnected && !updatePanel.endShown
                    && (window.update_started || updatePanel.versionLine.visible)) {
                window.update_started = false
                window.finishFailed = false
                updatePanel.close()
                if (window.latestVersion !== "")
                    updatePanel.showLatest(window.latestVersion)
            }
            if (!isConnected || !updatePanel.versionLine.visible)
                updateButton.visible = isConnected
        }

        // The update-finish message did not go out after the copy.
        function onUpdateFinishFailed(reason) {
            window.finishFailed = true
            updatePanel.showNotFinished(reason)
        }
    }

    Connections {
        target: window.download

        function onLatestVersionFetched(version) {
            window.latestVersion = version
            updatePanel.showLatest(version)
        }

        function onDownloadingProgressBar(progress) {
            updatePanel.versionLine.text = qsTr("Downloading... %1%").arg(progress)
        }

        // Every download failure ends here with its reason (the catalogue's before a start).
        function onFailureReasonChanged(reason) {
            if (reason === "")
                return
            if (!window.update_started) {
                updatePanel.versionLine.text = qsTr("The latest version could not be found.")
                return
            }
            updatePanel.versionLine.text = qsTr("Download failed!")
            updatePanel.showFailure(reason)
        }

        function onVersionCheck(available) {
            if (!available)
                return
            updatePanel.showAlreadyInstalled()
            window.update_available = false
        }
    }

    Connections {
        target: window.controller

        property string reason: ""

        function onTransferFailureReason(text) {
            reason = text
        }

        function onFileTransferComplete(success) {
            // The link hears the result first: a finish message that did not go out has
            // been shown already.
            if (success && window.finishFailed)
                return
            updatePanel.showTransferResult(success)
            if (!success) {
                updatePanel.showFailure(reason + qsTr(" Tavlo may still be in update mode: unplug it and plug it in again, then press Try again."))
                reason = ""
            }
        }

        function onCopyingFileProgress(progress) {
            // The text arrives with its percent sign.
            updatePanel.versionLine.text = qsTr("Transfering file... %1").arg(progress)
        }
    }

    ConnectionIndicator {
        id: logoContainer
        anchors.top: parent.top
        anchors.topMargin: window.height * 0.08
        anchors.horizontalCenter: parent.horizontalCenter
        width: window.width * 0.5
        // Follows the logo's proportions; square until the image is known.
        height: logoSourceSize.width > 0 ? width * logoSourceSize.height / logoSourceSize.width : width
        sharpLogo: false
        rowWidth: width * 0.5
        rowHeight: height * 0.3
        dotSize: rowWidth * 0.07
        labelPixelSize: rowWidth * 0.1
        labelRenderType: Text.QtRendering
    }

    FramedButton {
        id: updateButton
        objectName: "updateButton"
        anchors.top: logoContainer.bottom
        anchors.topMargin: window.height * 0.1
        anchors.horizontalCenter: parent.horizontalCenter
        width: logoContainer.width
        text: qsTr("Update")
        onClicked: {
            updateButton.visible = false
            updatePanel.open(window.update_available)
        }
    }

    UpdatePanel {
        id: updatePanel
        columnWidth: logoContainer.width
        logoBottom: logoContainer.y + logoContainer.height
        choices: window.choices
        // A checked file from the computer: no download, the rest as after one.
        onLocalInstallStarted: window.update_started = true
        // Started first: a download that fails at once reports while the call runs.
        onStartRequested: {
            window.update_started = true
            if (window.download)
                window.download.downloadFile()
        }
        // "Try again": back to the update screen, as if "Update" had just been pressed.
        onRetryRequested: {
            window.update_started = false
            window.finishFailed = false
            updatePanel.reopen(window.update_available)
        }
    }

    // Said once as the window opens when this run keeps no session log.
    LogProblemNotice {
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 12
        anchors.horizontalCenter: parent.horizontalCenter
        width: parent.width - 24
        z: 10
        problem: typeof sessionLogProblem === "string" ? sessionLogProblem : ""
    }
}
