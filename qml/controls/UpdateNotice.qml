import QtQuick 2.15

// The warning shown before an update starts, later replaced by the result. The user sets
// the text, the width and the position.
Text {
    objectName: "infoText"
    textFormat: Text.PlainText
    height: width / 4
    visible: false
    text: ""
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
