import QtQuick 2.15

// The look of every button of both windows: black with a white frame.
Rectangle {
    color: "black"
    border.color: "white"
    border.width: 2
}
