import QtQuick 2.15
import QtQuick.Controls 2.15

// A framed button whose caption is drawn by the style in bold Poppins. The user sets the
// width; the height is a third of it and the caption a share of the height.
Button {
    id: button

    // The caption's pixel size as a share of the button's height.
    property real textScale: 0.35

    height: width / 3
    visible: false
    font.family: "Poppins"
    font.bold: true
    // The texts show as written; the style would otherwise put them in capitals.
    font.capitalization: Font.MixedCase
    // Whole pixels, rounded down, however the binding is evaluated.
    font.pixelSize: Math.floor(Math.max(height * textScale, 1))
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
}
