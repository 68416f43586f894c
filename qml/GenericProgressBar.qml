import QtQuick 2.15
import QtQuick.Controls 2.15

// A caption that says what is in progress and a flat bar with the percentage over it.
// The user sets the properties; the component only draws them.
Item {
    id: root

    // Shown while this is true (a user may set visible itself instead).
    property bool isFlashing: false
    // Progress in percent; the user keeps it within 0 to 100.
    property real percentage: 0
    // Name of the file being transferred, or empty.
    property string fileName: ""
    // "downloading", "transfer" or anything else.
    property string mode: "flashing"

    visible: isFlashing
    // What a screen reader reads: the caption as the bar's name and the percentage as its
    // description (Qt 6.4 gives an item's accessible node no value of its own).
    Accessible.role: Accessible.ProgressBar
    Accessible.name: label.text
    Accessible.description: percentText.text
    width: parent ? parent.width * 0.4 : 300
    height: 120

    Column {
        id: progressColumn
        objectName: "progressColumn"
        width: root.width * 0.8
        anchors.centerIn: parent
        spacing: 12

        Text {
            id: label
            objectName: "label"
            textFormat: Text.PlainText
            width: progressColumn.width
            text: root.mode === "downloading"
                  ? qsTr("Downloading...")
                  : root.mode === "transfer"
                    ? (root.fileName !== "" ? qsTr("Transferring: %1").arg(root.fileName) : qsTr("Transferring..."))
                    : qsTr("Working...")
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            font.family: "Poppins"
            font.pixelSize: progressColumn.width * 0.08
            color: "white"
            opacity: 1
        }

        Rectangle {
            id: progressBar
            objectName: "progressBar"
            width: progressColumn.width
            height: 18
            color: "transparent"
            clip: true

            Rectangle {
                id: progressBackground
                objectName: "progressBackground"
                anchors.fill: parent
                color: "#222"
                radius: 0
            }

            Rectangle {
                id: progressFill
                objectName: "progressFill"
                anchors.left: parent.left
                anchors.top: parent.top
                anchors.bottom: parent.bottom
                width: Math.max(0, progressBar.width * root.percentage / 100)
                color: "#44BACD"
                radius: 0
            }

            Text {
                id: percentText
                objectName: "percentText"
                textFormat: Text.PlainText
                anchors.centerIn: parent
                text: Math.round(root.percentage) + "%"
                font.family: "Poppins"
                font.pixelSize: 14
                color: "white"
            }
        }
    }
}
