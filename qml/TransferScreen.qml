import QtQuick 2.15

// The main window's transfer screen: the four folders of the instrument, what to do, and
// "DONE", shown while the transfer flow is open. It fills the window; the window says where the logo ends and how wide the
// column is. Its buttons are dimmed and inert while the instrument is not connected.
Item {
    id: transfer

    property real columnWidth: 0
    property real logoBottom: 0
    property bool connected: false
    // The instrument shows its storage: the folders and "DONE".
    property bool shown: false
    // Why a folder or the eject left the volume alone; empty when nothing was refused.
    property string volumeProblem: ""

    signal openProjects()
    signal openInstrumentDefinitions()
    signal openMidiFiles()
    signal openGrooves()
    signal doneRequested()

    anchors.fill: parent

    FolderButton {
        id: openProjectsButton
        objectName: "openProjectsButton"
        anchors.top: parent.top
        anchors.topMargin: transfer.logoBottom + transfer.height * 0.08
        anchors.horizontalCenter: parent.horizontalCenter
        width: transfer.columnWidth
        connected: transfer.connected
        visible: transfer.shown
        text: qsTr("Open Projects")
        onClicked: transfer.openProjects()
    }

    FolderButton {
        id: openDefinitionsButton
        objectName: "openDefinitionsButton"
        anchors.top: openProjectsButton.bottom
        anchors.topMargin: transfer.height * 0.01
        anchors.horizontalCenter: parent.horizontalCenter
        width: transfer.columnWidth
        connected: transfer.connected
        visible: transfer.shown
        text: qsTr("Open Instruments")
        onClicked: transfer.openInstrumentDefinitions()
    }

    FolderButton {
        id: openMidiFilesButton
        objectName: "openMidiFilesButton"
        anchors.top: openDefinitionsButton.bottom
        anchors.topMargin: transfer.height * 0.01
        anchors.horizontalCenter: parent.horizontalCenter
        width: transfer.columnWidth
        connected: transfer.connected
        visible: transfer.shown
        text: qsTr("Open MIDI Files")
        onClicked: transfer.openMidiFiles()
    }

    FolderButton {
        id: openGroovesButton
        objectName: "openGroovesButton"
        anchors.top: openMidiFilesButton.bottom
        anchors.topMargin: transfer.height * 0.01
        anchors.horizontalCenter: parent.horizontalCenter
        width: transfer.columnWidth
        connected: transfer.connected
        visible: transfer.shown
        text: qsTr("Open Grooves")
        onClicked: transfer.openGrooves()
    }

    Text {
        id: transferInfoText
        objectName: "transferInfoText"
        textFormat: Text.PlainText
        anchors.top: openGroovesButton.bottom
        anchors.topMargin: transfer.height * 0.04
        anchors.horizontalCenter: parent.horizontalCenter
        width: transfer.columnWidth
        visible: transfer.shown
        // Why a folder or the eject was refused takes the instructions' place until it is
        // resolved (the screen has no room for both).
        text: transfer.volumeProblem !== "" ? transfer.volumeProblem
                                            : qsTr("Tavlo is now in transfer mode. You can move files between Tavlo and this computer. After you are done click the done button to finalize the transfer.")
        color: transfer.volumeProblem !== "" ? "#ffb0a0" : "white"
        font.family: "Poppins"
        font.bold: false
        font.pixelSize: Math.floor(Math.max(transfer.columnWidth * 0.04, 12))
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }

    FolderButton {
        id: completeTransferButton
        objectName: "completeTransferButton"
        anchors.top: transferInfoText.bottom
        anchors.topMargin: transfer.height * 0.02
        anchors.horizontalCenter: parent.horizontalCenter
        width: transfer.columnWidth
        connected: transfer.connected
        visible: transfer.shown
        minimumPixelSize: 10
        text: qsTr("DONE")
        Accessible.description: qsTr("Ends the transfer mode and gives Tavlo its storage back")
        onClicked: transfer.doneRequested()
    }
}
