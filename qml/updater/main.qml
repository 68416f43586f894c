import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Controls.Material 2.15
import Tavlo_Controls 1.0

// The window of the update-only edition: connection indicator and the update flow. What
// it shows comes from the published flow (presence, updateFlow); it calls the flow's
// invokables and holds no flow logic of its own. Every published object may be absent:
// the window then shows its first screen.
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
    // The product's name as its menu entry shows it (AppIdentity); screen readers announce
    // the window by it.
    title: Qt.application.displayName
    color: "black"
    Material.theme: Material.Dark

    // The program's objects, or null where one is not published.
    readonly property QtObject presenceState: typeof presence !== "undefined" ? presence : null
    readonly property QtObject flow: typeof updateFlow !== "undefined" ? updateFlow : null
    readonly property QtObject choices: typeof updateChoices !== "undefined" ? updateChoices : null

    // Flow flags, as the flow says.
    property bool update_available: flow ? flow.updateAvailable : true
    property bool update_started: flow ? flow.started : false
    readonly property string latestVersion: flow ? flow.latestVersion : ""

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
        presence: window.presenceState
        covered: updatePanel.pageShown
    }

    FramedButton {
        id: updateButton
        objectName: "updateButton"
        anchors.top: logoContainer.bottom
        anchors.topMargin: window.height * 0.1
        anchors.horizontalCenter: parent.horizontalCenter
        width: logoContainer.width
        visible: window.flow !== null && window.flow.updateOffered
        text: qsTr("Update")
        onClicked: if (window.flow) window.flow.open()
    }

    // When an update was interrupted: the offer to finish it, in the place of "Update".
    FinishInterrupted {
        anchors.top: logoContainer.bottom
        anchors.topMargin: window.height * 0.1
        anchors.horizontalCenter: parent.horizontalCenter
        width: logoContainer.width
        interrupted: typeof interruptedUpdate !== "undefined" ? interruptedUpdate : null
    }

    UpdatePanel {
        id: updatePanel
        columnWidth: logoContainer.width
        logoBottom: logoContainer.y + logoContainer.height
        choices: window.choices
        flow: window.flow
    }

    // "About" on F1, and "History", "Check this computer" and "About" on the right mouse button.
    AboutAction {
        ownMenu: true
        z: -1
        onHistoryRequested: historyAction.open()
        onComputerCheckRequested: computerCheckAction.open()
    }
    HistoryAction { id: historyAction }
    ComputerCheckAction { id: computerCheckAction }

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
