import QtQuick 2.15

// Said once, as the window opens, when this run keeps no session log: why, in the program's
// own sentence. A click anywhere on it, or "OK", puts it away; it does not come back in the
// same run. Without a problem it is never shown. The user sets the width and the position.
Rectangle {
    id: notice
    objectName: "logProblemNotice"

    // The sentence of the session log's problem; empty when the log is kept.
    property string problem: ""
    property bool dismissed: false

    visible: problem !== "" && !dismissed
    height: column.implicitHeight + 16
    radius: 6
    color: "#333333"
    border.color: "#ffb0a0"
    border.width: 1

    Accessible.role: Accessible.AlertMessage
    Accessible.name: noticeText.text

    function dismiss() { notice.dismissed = true }

    MouseArea {
        anchors.fill: parent
        onClicked: notice.dismiss()
    }

    Column {
        id: column
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        anchors.margins: 8
        spacing: 4

        Text {
            id: noticeText
            objectName: "logProblemText"
            textFormat: Text.PlainText
            width: parent.width
            text: qsTr("This run keeps no session log. %1").arg(notice.problem)
            color: "white"
            font.family: "Poppins"
            font.pixelSize: Math.floor(Math.max(notice.width * 0.035, 10))
            wrapMode: Text.WordWrap
        }
        Text {
            objectName: "logProblemOk"
            textFormat: Text.PlainText
            anchors.right: parent.right
            text: qsTr("OK")
            color: "#ffb0a0"
            font.family: "Poppins"
            font.bold: true
            font.pixelSize: noticeText.font.pixelSize
        }
    }
}
