import QtQuick 2.15
import Tavlo_Controls 1.0
import "WindowRules.js" as Rules

// The main window's update screen: the shared update panel with the progress bar above
// it, the waiting dots on its version line, and the connection instructions between its
// texts and its buttons. It fills the window; the window says where the logo ends and how
// wide the column is.
Item {
    id: screen

    property real columnWidth: 0
    property real logoBottom: 0
    property bool connected: false
    property bool instructionsShown: true
    // The published UpdateChoices, or null.
    property alias choices: updatePanel.choices

    readonly property alias panel: updatePanel
    readonly property alias progressBar: genericProgressBar
    // The frame of the waiting dots (0: no dots).
    property alias loadingFrame: loading.frame

    signal startRequested()
    signal exitRequested()
    signal retryRequested()
    signal localInstallStarted()

    // Shows the base text on the version line and lets dots follow it.
    function startLoading(baseText) {
        updatePanel.versionLine.text = baseText
        updatePanel.versionLine.visible = true
        loading.begin(baseText)
    }

    function stopLoading() {
        loading.end()
    }

    // Shows the bar in place of the version line.
    function showProgress(value, progressMode) {
        genericProgressBar.percentage = Rules.clampedPercentage(value)
        genericProgressBar.mode = progressMode
        genericProgressBar.fileName = ""
        genericProgressBar.visible = true
        updatePanel.versionLine.visible = false
    }

    anchors.fill: parent

    LoadingDots {
        id: loading
        onTicked: function(text) { updatePanel.versionLine.text = text }
    }

    GenericProgressBar {
        id: genericProgressBar
        objectName: "genericProgressBar"
        anchors.top: parent.top
        anchors.topMargin: screen.logoBottom + screen.height * 0.01
        anchors.horizontalCenter: parent.horizontalCenter
        width: screen.columnWidth
        visible: false
    }

    UpdatePanel {
        id: updatePanel
        columnWidth: screen.columnWidth
        logoBottom: screen.logoBottom
        versionTop: genericProgressBar.visible ? genericProgressBar.y + genericProgressBar.height : logoBottom
        startEnabled: screen.connected
        overTexts: ConnectInstructions {
            columnWidth: screen.columnWidth
            logoBottom: screen.logoBottom
            shown: screen.instructionsShown
        }
        onStartRequested: screen.startRequested()
        onExitRequested: screen.exitRequested()
        onRetryRequested: screen.retryRequested()
        onLocalInstallStarted: screen.localInstallStarted()
    }
}
