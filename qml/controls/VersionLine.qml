import QtQuick 2.15

// The line under the logo that tells the latest version, the progress or the result.
// The user sets the width and the position.
Text {
    objectName: "versionText"
    textFormat: Text.PlainText
    height: width / 2
    visible: false
    text: ""
    color: "white"
    font.family: "Poppins"
    font.bold: true
    font.pixelSize: Math.floor(Math.max(height * 0.15, 1))
    // Longer sentences (and the German ones) take a second line instead of running past
    // the column, or past the window.
    wrapMode: Text.WordWrap
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter
    Accessible.role: Accessible.StaticText
    Accessible.name: text
}
