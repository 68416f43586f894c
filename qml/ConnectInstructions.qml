import QtQuick 2.15
import Tavlo_Controls 1.0

// How to connect the instrument, shown while it is not connected, with why the MIDI system or
// the instrument's port cannot be used under it while there is such a problem. It fills the
// window; the window says where the logo ends and how wide the column is.
Item {
    id: instructions

    property real columnWidth: 0
    property real logoBottom: 0
    property bool shown: true
    // The MIDI problem's sentence (Presence.midiProblem); empty: none.
    property string problem: ""

    anchors.fill: parent

    Text {
        id: infoConnectText
        objectName: "infoConnectText"
        textFormat: Text.PlainText
        anchors.top: parent.top
        anchors.topMargin: instructions.logoBottom + instructions.height * 0.08
        anchors.horizontalCenter: parent.horizontalCenter
        width: instructions.columnWidth
        visible: instructions.shown
        text: qsTr("1- Connect the USB-C to USB-A Tavlo cable to the HOST port of Tavlo (USB-C) and to the computer (USB-A).\n\n2- Ensure that the Breakout Module is connected to Tavlo by using the USB-C to USB-C cable from the Module Output on Tavlo to the USB-C port on the Breakout Module.\n\n3- Make sure that No cables are connected to the USB MIDI port of Tavlo.")
        color: "white"
        font.family: "Poppins"
        font.bold: true
        font.pixelSize: Math.floor(Math.max(instructions.columnWidth * 0.038, 11))
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }

    MidiProblemText {
        anchors.top: infoConnectText.bottom
        anchors.topMargin: instructions.height * 0.03
        anchors.horizontalCenter: parent.horizontalCenter
        width: instructions.columnWidth
        problem: instructions.shown ? instructions.problem : ""
        font.pixelSize: infoConnectText.font.pixelSize
    }
}
