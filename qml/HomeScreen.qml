import QtQuick 2.15
import Tavlo_Controls 1.0

// The main window's home screen: "Update", "Transfer" and, while the instrument is not
// connected, how to connect it. It fills the window; the window says where the logo ends
// and how wide the column is.
Item {
    id: home

    property real columnWidth: 0
    property real logoBottom: 0
    property bool instructionsShown: true

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
        text: "Update"
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
        text: "Transfer"
        onClicked: home.transferRequested()
    }

    Text {
        id: infoConnectText
        objectName: "infoConnectText"
        anchors.top: parent.top
        anchors.topMargin: home.logoBottom + home.height * 0.08
        anchors.horizontalCenter: parent.horizontalCenter
        width: home.columnWidth
        visible: home.instructionsShown
        text: "1- Connect the USB-C to USB-A Tavlo cable to the HOST port of Tavlo (USB-C) and to the computer (USB-A).\n\n2- Ensure that the Breakout Module is connected to Tavlo by using the USB-C to USB-C cable from the Module Output on Tavlo to the USB-C port on the Breakout Module.\n\n3- Make sure that No cables are connected to the USB MIDI port of Tavlo."
        color: "white"
        font.family: "Poppins"
        font.bold: true
        font.pixelSize: Math.floor(Math.max(home.columnWidth * 0.038, 11))
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
    }
}
