import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Controls.Material 2.15
import Tavlo_Controls 1.0

// The main window: connection indicator, the update flow and the transfer flow. What it
// shows comes from the published flows (presence, updateFlow, transferFlow); it calls
// their invokables and the bridge's folder openers, and holds no flow logic of its own.
// Every published object may be absent: the window then shows its first screen.
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
    // The product's name as its menu entry shows it (AppIdentity); screen readers announce
    // the window by it.
    title: Qt.application.displayName
    color: "black"
    Material.theme: Material.Dark

    // The program's objects, or null where one is not published.
    readonly property QtObject presenceState: typeof presence !== "undefined" ? presence : null
    readonly property QtObject flow: typeof updateFlow !== "undefined" ? updateFlow : null
    readonly property QtObject transfer: typeof transferFlow !== "undefined" ? transferFlow : null
    readonly property QtObject bridge: typeof fileManagerBridge !== "undefined" ? fileManagerBridge : null
    readonly property QtObject choices: typeof updateChoices !== "undefined" ? updateChoices : null
    readonly property QtObject backup: typeof backupFlow !== "undefined" ? backupFlow : null
    readonly property QtObject restore: typeof restoreFlow !== "undefined" ? restoreFlow : null
    // The backup's screen or the restore page covers the others: they are neither seen nor
    // read out under it.
    readonly property bool pageCovers: (backup !== null && backup.screenShown)
                                       || (restore !== null && restore.pageShown)

    // Flow flags, as the flows say.
    property bool update_available: flow ? flow.updateAvailable : true
    property bool update_started: flow ? flow.started : false
    readonly property string latestVersion: flow ? flow.latestVersion : ""

    // The frame of the loading animation (0: no dots).
    property alias _loadingDots: updateScreen.loadingFrame

    SupportFileAction { ui: window; z: -1 }
    // F1; the right-click menu above offers it too.
    AboutAction { id: aboutAction; z: -1 }

    function openAbout() {
        aboutAction.open()
    }

    // "History…" in the right-click menu above.
    HistoryAction { id: historyAction }

    function openHistory() {
        historyAction.open()
    }

    // "Check this computer…" in the right-click menu above.
    ComputerCheckAction { id: computerCheckAction }

    function openComputerCheck() {
        computerCheckAction.open()
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

    ConnectionIndicator {
        id: logoContainer
        anchors.top: parent.top
        anchors.topMargin: window.height * 0.08
        anchors.horizontalCenter: parent.horizontalCenter
        width: window.width * 0.5
        presence: window.presenceState
        covered: updateScreen.panel.pageShown
    }

    HomeScreen {
        id: homeScreen
        columnWidth: logoContainer.width
        logoBottom: logoContainer.y + logoContainer.height
        updateOffered: window.flow !== null && window.flow.updateOffered
        transferOffered: window.transfer !== null && window.transfer.offered
        backupOffered: window.backup !== null && window.backup.offered
        restoreOffered: window.restore !== null && window.restore.offered
        visible: !window.pageCovers
        interrupted: typeof interruptedUpdate !== "undefined" ? interruptedUpdate : null
        onUpdateRequested: if (window.flow) window.flow.open()
        onTransferRequested: if (window.transfer) window.transfer.start()
        onBackupRequested: if (window.backup) window.backup.backUpNow()
        onRestoreRequested: if (window.restore) window.restore.open()
    }

    UpdateScreen {
        id: updateScreen
        columnWidth: logoContainer.width
        logoBottom: logoContainer.y + logoContainer.height
        instructionsShown: !window.presenceState || !window.presenceState.indicatorConnected
        visible: !window.pageCovers
        flow: window.flow
        transfer: window.transfer
        backup: window.backup
        choices: window.choices
    }

    TransferScreen {
        id: transferScreen
        columnWidth: logoContainer.width
        logoBottom: logoContainer.y + logoContainer.height
        shown: window.transfer !== null && window.transfer.screenShown
        volumeProblem: window.transfer !== null ? window.transfer.volumeProblem : ""
        connected: window.presenceState !== null && window.presenceState.connected
        onOpenProjects: if (window.bridge) window.bridge.openProjects()
        onOpenInstrumentDefinitions: if (window.bridge) window.bridge.openInstrumentDefinitions()
        onOpenMidiFiles: if (window.bridge) window.bridge.openMidiFiles()
        onOpenGrooves: if (window.bridge) window.bridge.openGrooves()
        onDoneRequested: if (window.transfer) window.transfer.done()
    }

    BackupScreen {
        id: backupScreen
        columnWidth: logoContainer.width
        logoBottom: logoContainer.y + logoContainer.height
        backup: window.backup
        onVisibleChanged: if (visible) forceActiveFocus()
    }

    RestorePage {
        id: restorePage
        columnWidth: logoContainer.width
        logoBottom: logoContainer.y + logoContainer.height
        restore: window.restore
        onVisibleChanged: if (visible) forceActiveFocus()
    }
}
