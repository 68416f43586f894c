import QtQuick 2.15
import Tavlo_Controls 1.0

// The main window's home screen: "Update", "Transfer", "Back up now" and "Restore", shown as
// the flows offer them, or, when an update was interrupted, the offer to finish it.
// It fills the window; the window says where the logo ends and how wide the column is.
Item {
    id: home

    property real columnWidth: 0
    property real logoBottom: 0
    property bool updateOffered: false
    property bool transferOffered: false
    property bool backupOffered: false
    property bool restoreOffered: false
    // The published InterruptedUpdate, or null.
    property QtObject interrupted: null

    signal updateRequested()
    signal transferRequested()
    signal backupRequested()
    signal restoreRequested()

    anchors.fill: parent

    FramedButton {
        id: updateButton
        objectName: "updateButton"
        anchors.top: parent.top
        anchors.topMargin: home.logoBottom + home.height * 0.1
        anchors.horizontalCenter: parent.horizontalCenter
        width: home.columnWidth
        visible: home.updateOffered
        text: qsTr("Update")
        onClicked: home.updateRequested()
    }

    FramedButton {
        id: transferButton
        objectName: "transferButton"
        anchors.top: updateButton.bottom
        anchors.topMargin: home.height * 0.02
        anchors.horizontalCenter: parent.horizontalCenter
        width: home.columnWidth
        visible: home.transferOffered
        text: qsTr("Transfer")
        Accessible.description: qsTr("Shows the storage of Tavlo on this computer, to move files")
        onClicked: home.transferRequested()
    }

    FramedButton {
        id: backupButton
        objectName: "backupButton"
        anchors.top: transferButton.bottom
        anchors.topMargin: home.height * 0.02
        anchors.horizontalCenter: parent.horizontalCenter
        width: home.columnWidth
        visible: home.backupOffered
        text: qsTr("Back up now")
        textScale: 0.28
        Accessible.description: qsTr("Copies Tavlo's projects and other files into a new backup on this computer")
        onClicked: home.backupRequested()
    }

    FramedButton {
        objectName: "restoreButton"
        textScale: 0.28
        anchors.top: backupButton.bottom
        anchors.topMargin: home.height * 0.02
        anchors.horizontalCenter: parent.horizontalCenter
        width: home.columnWidth
        visible: home.restoreOffered
        text: qsTr("Restore")
        Accessible.description: qsTr("Puts the files of a backup back onto Tavlo")
        onClicked: home.restoreRequested()
    }

    FinishInterrupted {
        anchors.top: parent.top
        anchors.topMargin: home.logoBottom + home.height * 0.1
        anchors.horizontalCenter: parent.horizontalCenter
        width: home.columnWidth
        interrupted: home.interrupted
    }
}
