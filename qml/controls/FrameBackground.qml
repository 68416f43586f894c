import QtQuick 2.15

// The look of every button of both windows: black with a white frame. While the button
// has the keyboard's focus a teal frame is drawn inside the white one.
Rectangle {
    id: frame

    // The button has the focus from the keyboard (never set by a mouse click).
    property bool focused: false

    color: "black"
    border.color: "white"
    border.width: 2

    Rectangle {
        objectName: "focusFrame"
        anchors.fill: parent
        anchors.margins: 5
        visible: frame.focused
        color: "transparent"
        border.color: "#44BACD"
        border.width: 2
    }
}
