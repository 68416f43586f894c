import QtQuick 2.15
import Tavlo_Controls 1.0

// The main window's update screen: the shared update panel with the progress bar above
// it, the waiting dots of the transfer flow on its version line, and the connection
// instructions between its texts and its buttons. It fills the window; the window says
// where the logo ends and how wide the column is.
Item {
    id: screen

    property real columnWidth: 0
    property real logoBottom: 0
    property bool instructionsShown: true
    // Why the MIDI system or the instrument's port cannot be used (under the instructions).
    property string midiProblem: ""
    // The published flows and UpdateChoices, or null.
    property QtObject flow: null
    property QtObject transfer: null
    property alias backup: updatePanel.backup
    property alias choices: updatePanel.choices

    readonly property alias panel: updatePanel
    readonly property alias progressBar: genericProgressBar
    // The frame of the waiting dots (0: no dots).
    property alias loadingFrame: loading.frame
    // The transfer flow waits for the instrument: the version line says so, with dots.
    readonly property bool waiting: transfer !== null && transfer.waiting

    anchors.fill: parent

    onWaitingChanged: {
        if (waiting)
            loading.begin(transfer.waitingText)
        else
            loading.end()
    }

    LoadingDots {
        id: loading
    }

    GenericProgressBar {
        id: genericProgressBar
        objectName: "genericProgressBar"
        anchors.top: parent.top
        anchors.topMargin: screen.logoBottom + screen.height * 0.01
        anchors.horizontalCenter: parent.horizontalCenter
        width: screen.columnWidth
        visible: screen.flow !== null && screen.flow.progressShown
        percentage: screen.flow ? screen.flow.progress : 0
        mode: screen.flow ? screen.flow.progressMode : "flashing"
    }

    UpdatePanel {
        id: updatePanel
        columnWidth: screen.columnWidth
        logoBottom: screen.logoBottom
        versionTop: genericProgressBar.visible ? genericProgressBar.y + genericProgressBar.height : logoBottom
        flow: screen.flow
        lineText: screen.waiting ? loading.text : (screen.flow ? screen.flow.versionLineText : "")
        lineShown: screen.waiting || (screen.flow !== null && screen.flow.versionLineShown)
        overTexts: ConnectInstructions {
            columnWidth: screen.columnWidth
            logoBottom: screen.logoBottom
            shown: screen.instructionsShown
            problem: screen.midiProblem
        }
    }
}
