import QtQuick 2.15

// Why an update step failed, in plain words, shown under the failure text. Hidden while it
// holds no text. The user sets the width and the position.
Text {
    objectName: "failureReasonText"
    textFormat: Text.PlainText
    visible: text !== ""
    text: ""
    color: "#ffb0a0"
    font.family: "Poppins"
    font.pixelSize: Math.floor(Math.max(width * 0.045, 10))
    wrapMode: Text.WordWrap
    horizontalAlignment: Text.AlignHCenter
}
