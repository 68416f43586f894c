import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavlo_Controls 1.0

// A button of the transfer screen: framed, its caption wrapped, dimmed and inert while the
// instrument is not connected. The user sets the width.
Button {
    id: button

    property bool connected: false
    // The smallest pixel size of the caption.
    property int minimumPixelSize: 9

    height: width / 3.2
    visible: false
    enabled: connected
    opacity: connected ? 1 : 0.5
    background: FrameBackground { focused: button.visualFocus }

    // Tab reaches the button; Space (by the style) and Enter press it.
    focusPolicy: Qt.StrongFocus
    Accessible.role: Accessible.Button
    Accessible.name: text
    Accessible.onPressAction: button.clicked()
    Keys.onReturnPressed: button.clicked()
    Keys.onEnterPressed: button.clicked()
    // Hidden (most often by its own click), it lets go of the keyboard's focus: Enter, Return
    // or Space must not press a button that is no longer on the screen.
    onVisibleChanged: if (!visible) focus = false
    contentItem: Text {
        textFormat: Text.PlainText
        text: button.text
        color: "white"
        font.family: "Poppins"
        font.bold: true
        font.pixelSize: Math.floor(Math.max(button.height * 0.22, button.minimumPixelSize))
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }
}
