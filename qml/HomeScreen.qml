import QtQuick 2.15
import Tavlo_Controls 1.0

// The main window's home screen: "Update" and "Transfer". It fills the window; the window
// says where the logo ends and how wide the column is.
Item {
    id: home

    property real columnWidth: 0
    property real logoBottom: 0

    signal updateRequested()
    signal transferRequested()

    // Offers "Update", and "Transfer" when it is allowed.
    function offer(transfer) {
        updateButton.visible = true
        transferButton.visible = transfer
    }

    function withdraw() {
        updateButton.visible = false
        transferButton.visible = false
    }

    function offerTransfer(shown) {
        transferButton.visible = shown
    }

    anchors.fill: parent

    FramedButton {
        id: updateButton
        objectName: "updateButton"
        anchors.top: parent.top
        anchors.topMargin: home.logoBottom + home.height * 0.1
        anchors.horizontalCenter: parent.horizontalCenter
        width: home.columnWidth
        text: qsTr("Update")
        onClicked: {
            home.withdraw()
            home.updateRequested()
        }
    }

    FramedButton {
        id: transferButton
        objectName: "transferButton"
        anchors.top: updateButton.bottom
        anchors.topMargin: home.height * 0.02
        anchors.horizontalCenter: parent.horizontalCenter
        width: home.columnWidth
        text: qsTr("Transfer")
        Accessible.description: qsTr("Shows the storage of Tavlo on this computer, to move files")
        onClicked: home.transferRequested()
    }
}
