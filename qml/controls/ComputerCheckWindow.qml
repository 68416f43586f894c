import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Controls.Material 2.15

// "Check this computer", a small window of its own over the main one: one row per check of
// what the program needs from this computer (ComputerCheck, published as "computerCheck"),
// each OK with what was found or the problem with what to do. Plain text only. "Copy" puts
// the report on the clipboard; Escape and "Close" close it. Tab goes through the rows and
// the buttons.
ApplicationWindow {
    id: window
    objectName: "computerCheckWindow"

    // The ComputerCheck; null: the program published none.
    property var check: null
    readonly property bool running: check ? check.running : false
    readonly property var lines: check ? check.lines : []

    width: 440
    height: 520
    minimumWidth: 320
    minimumHeight: 320
    modality: Qt.ApplicationModal
    title: qsTr("Check this computer")
    color: "black"
    Material.theme: Material.Dark

    Text {
        id: heading
        objectName: "computerCheckHeading"
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.margins: 20
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        text: window.running ? qsTr("Checking this computer…") : qsTr("What this computer offers Tavlo")
        color: "white"
        font.family: "Poppins"
        font.bold: true
        font.pixelSize: 16
        Accessible.role: Accessible.Heading
        Accessible.name: text
    }

    ListView {
        id: list
        objectName: "computerCheckList"
        anchors.top: heading.bottom
        anchors.topMargin: 12
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: buttons.top
        anchors.leftMargin: 20
        anchors.rightMargin: 20
        anchors.bottomMargin: 16
        clip: true
        spacing: 6
        opacity: window.running ? 0.4 : 1
        model: window.lines
        boundsBehavior: Flickable.StopAtBounds
        keyNavigationEnabled: true
        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }
        Accessible.role: Accessible.List
        Accessible.name: qsTr("The checks of this computer")

        delegate: Rectangle {
            id: row
            required property int index
            required property var modelData

            width: ListView.view.width
            height: rowColumn.implicitHeight + 12
            color: activeFocus ? "#1f5f69" : "#111111"
            border.color: "#333333"
            activeFocusOnTab: true
            // A row reached by Tab is scrolled into view (the window may be too small for all).
            onActiveFocusChanged: if (activeFocus) {
                list.currentIndex = row.index
                list.positionViewAtIndex(row.index, ListView.Contain)
            }

            Column {
                id: rowColumn
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                anchors.margins: 6
                spacing: 2
                Text {
                    objectName: "computerCheckStatus"
                    width: parent.width
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    text: row.modelData.name + ": " + row.modelData.status
                    color: row.modelData.outcome === "problem" ? "#ff9e80"
                           : row.modelData.outcome === "ok" ? "#8fe3a0" : "#bbbbbb"
                    font.family: "Poppins"
                    font.bold: true
                    font.pixelSize: 13
                }
                Text {
                    objectName: "computerCheckText"
                    width: parent.width
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    text: row.modelData.text
                    color: "white"
                    font.pixelSize: 12
                }
            }
            Accessible.role: Accessible.ListItem
            Accessible.name: row.modelData.name + ", " + row.modelData.status + ", " + row.modelData.text
        }
    }

    // The report as the clipboard takes it (never shown).
    TextEdit {
        id: clipboardText
        visible: false
        textFormat: TextEdit.PlainText
        text: window.check ? window.check.report : ""
    }

    Row {
        id: buttons
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 20
        anchors.horizontalCenter: parent.horizontalCenter
        spacing: 16

        FramedButton {
            id: copyButton
            objectName: "computerCheckCopy"
            width: Math.min(200, (window.width - 72) / 2)
            visible: true
            enabled: !window.running && clipboardText.text !== ""
            textScale: 0.25
            text: qsTr("Copy")
            onClicked: {
                clipboardText.selectAll()
                clipboardText.copy()
                clipboardText.deselect()
            }
        }
        FramedButton {
            id: closeButton
            objectName: "computerCheckClose"
            width: Math.min(200, (window.width - 72) / 2)
            visible: true
            focus: true
            textScale: 0.25
            text: qsTr("Close")
            onClicked: window.close()
        }
    }

    Shortcut {
        sequence: StandardKey.Cancel
        onActivated: window.close()
    }
}
