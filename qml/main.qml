import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Controls.Material 2.15
import Tavlo_Controls 1.0
import "WindowRules.js" as Rules

// The main window: connection indicator, the update flow and the transfer flow.
// The four program objects are context properties that may be absent; every call and
// every connection to them is guarded, and the window only reacts to their signals.
ApplicationWindow {
    id: window
    objectName: "window"

    width: 720 / 2
    height: 750
    minimumWidth: 720 / 2
    minimumHeight: 750
    maximumWidth: 1080 / 2
    maximumHeight: 1080
    visible: true
    color: "black"
    Material.theme: Material.Dark

    // Flow flags.
    property bool update_available: true
    property bool update_started: false
    property string latestVersion: ""
    property bool inUpdateFlow: false
    property bool inReenumeration: false
    property bool inTransferFlow: false
    property string minTransferVersion: "1.5.0"
    property string deviceVersion: ""

    // The frame of the loading animation (0: no dots).
    property alias _loadingDots: updateScreen.loadingFrame

    readonly property string connectedText: logoContainer.connectedText
    readonly property string latestVersionPrefix: updateScreen.panel.latestVersionPrefix

    // The program's objects, or null where one is not published.
    readonly property QtObject midi: typeof midiHandler !== "undefined" ? midiHandler : null
    readonly property QtObject download: typeof downloader !== "undefined" ? downloader : null
    readonly property QtObject controller: typeof mainController !== "undefined" ? mainController : null
    readonly property QtObject bridge: typeof fileManagerBridge !== "undefined" ? fileManagerBridge : null
    readonly property QtObject choices: typeof updateChoices !== "undefined" ? updateChoices : null

    // The parts, for the event handlers.
    readonly property alias logo: logoContainer
    readonly property alias homeView: homeScreen
    readonly property alias updateView: updateScreen
    readonly property alias transferView: transferScreen

    // The instrument was unplugged during the update: back to waiting for it; the next
    // connection offers "Update" afresh.
    function backToWaiting() {
        window.update_started = false
        window.inUpdateFlow = false
        window.inReenumeration = false
        updateScreen.stopLoading()
        updateScreen.progressBar.visible = false
        updateScreen.panel.close()
        if (window.latestVersion !== "")
            updateScreen.panel.showLatest(window.latestVersion)
    }

    function compareVersions(a, b) {
        return Rules.compare(a, b)
    }

    // "Transfer" is offered only once the instrument reported firmware 1.5.0 or later.
    function transferOffered() {
        return Rules.atLeast(deviceVersion, minTransferVersion)
    }

    DeviceEvents { ui: window; target: window.midi }
    DownloadEvents { ui: window; target: window.download }
    ControllerEvents { ui: window; target: window.controller }
    SupportFileAction { ui: window; z: -1 }

    // Said once as the window opens when this run keeps no session log.
    LogProblemNotice {
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 12
        anchors.horizontalCenter: parent.horizontalCenter
        width: parent.width - 24
        z: 10
        problem: typeof sessionLogProblem === "string" ? sessionLogProblem : ""
    }

    ConnectionIndicator {
        id: logoContainer
        anchors.top: parent.top
        anchors.topMargin: window.height * 0.08
        anchors.horizontalCenter: parent.horizontalCenter
        width: window.width * 0.5
    }

    HomeScreen {
        id: homeScreen
        columnWidth: logoContainer.width
        logoBottom: logoContainer.y + logoContainer.height
        onUpdateRequested: {
            window.inUpdateFlow = true
            updateScreen.panel.open(window.update_available)
        }
        onTransferRequested: {
            window.inReenumeration = true
            if (window.midi)
                window.midi.sendTransferSysEx()
            homeScreen.withdraw()
            updateScreen.startLoading(qsTr("Connecting to Tavlo"))
        }
    }

    UpdateScreen {
        id: updateScreen
        columnWidth: logoContainer.width
        logoBottom: logoContainer.y + logoContainer.height
        connected: logoContainer.connected
        instructionsShown: logoContainer.labelText !== window.connectedText
        choices: window.choices
        // A checked file from the computer: no download, the rest as after one.
        onLocalInstallStarted: {
            window.update_started = true
            window.inUpdateFlow = false
        }
        // Started first: a download that fails at once reports while the call runs.
        onStartRequested: {
            window.update_started = true
            window.inUpdateFlow = false
            if (window.download)
                window.download.downloadFile()
        }
        onExitRequested: window.inUpdateFlow = false
        // "Try again": back to the update screen, as if "Update" had just been pressed.
        onRetryRequested: {
            window.update_started = false
            window.inReenumeration = false
            window.inUpdateFlow = true
            updateScreen.progressBar.visible = false
            updateScreen.panel.reopen(window.update_available)
        }
    }

    TransferScreen {
        id: transferScreen
        columnWidth: logoContainer.width
        logoBottom: logoContainer.y + logoContainer.height
        connected: logoContainer.connected
        onOpenProjects: if (window.bridge) window.bridge.openProjects()
        onOpenInstrumentDefinitions: if (window.bridge) window.bridge.openInstrumentDefinitions()
        onOpenMidiFiles: if (window.bridge) window.bridge.openMidiFiles()
        onOpenGrooves: if (window.bridge) window.bridge.openGrooves()
        onDoneRequested: {
            window.inReenumeration = true
            if (window.bridge)
                window.bridge.completeTransfer()
            transferScreen.show(false)
            homeScreen.withdraw()
            updateScreen.panel.notice.visible = false
            updateScreen.startLoading(qsTr("Finalizing Transfer"))
        }
    }
}
