import QtQuick 2.15

// The warning shown before an update starts, later replaced by the result. The user sets
// the width and the position.
Text {
    objectName: "infoText"
    height: width / 4
    visible: false
    readonly property string warningText: qsTr("PLEASE MAKE SURE THAT TAVLO IS CONNECTED TO THE BREAKOUT MODULE AND THAT THE MIDI USB PORT IS NOT CONNECTED TO ANY DEVICE \n \n \n The update will take several minutes and Tavlo might reboot multiple times during the process. \n \n  DO NOT UNPLUG power or disconnect the Breakout Module until the update is done")
    text: warningText
    color: "white"
    font.family: "Poppins"
    font.bold: true
    font.pixelSize: Math.floor(Math.max(height * 0.21, 1))
    wrapMode: Text.WordWrap
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter
    Accessible.role: Accessible.StaticText
    Accessible.name: text
}
