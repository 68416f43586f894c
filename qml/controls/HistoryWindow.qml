import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Controls.Material 2.15

// "History", a small window of its own over the main one: what the program did to the
// instrument, newest first (the firmware updates, backups and restores), one row each with
// its date, a summary and the details (the update file and its SHA-256, the folder, the
// reason). Plain text only. Up and Down move through the rows; Escape and "Close" close it.
ApplicationWindow {
    id: window
    objectName: "historyWindow"

    // The history's rows (HistoryModel, published as "historyModel"); null: none kept.
    property var model: null
    readonly property int count: model ? model.count : 0

    width: 400
    height: 480
    minimumWidth: 320
    minimumHeight: 300
    modality: Qt.ApplicationModal
    title: qsTr("History")
    color: "black"
    Material.theme: Material.Dark

    Text {
        id: heading
        objectName: "historyHeading"
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.margins: 20
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        text: qsTr("What was done to Tavlo")
        color: "white"
        font.family: "Poppins"
        font.bold: true
        font.pixelSize: 16
        Accessible.role: Accessible.Heading
        Accessible.name: text
    }

    Text {
        objectName: "historyEmpty"
        anchors.top: heading.bottom
        anchors.topMargin: 16
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.leftMargin: 20
        anchors.rightMargin: 20
        visible: window.count === 0
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        text: qsTr("Nothing has been done to Tavlo yet.")
        color: "white"
        font.family: "Poppins"
        font.pixelSize: 13
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }

    ListView {
        id: list
        objectName: "historyList"
        anchors.top: heading.bottom
        anchors.topMargin: 12
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: closeButton.top
        anchors.leftMargin: 20
        anchors.rightMargin: 20
        anchors.bottomMargin: 16
        visible: window.count > 0
        clip: true
        spacing: 6
        model: window.model
        boundsBehavior: Flickable.StopAtBounds
        keyNavigationEnabled: true
        // The keyboard starts on the newest row.
        focus: true
        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }
        Accessible.role: Accessible.List
        Accessible.name: qsTr("What was done to Tavlo, newest first")

        delegate: Rectangle {
            id: row
            required property int index
            required property string dateText
            required property string summary
            required property string detail

            width: ListView.view.width
            height: rowColumn.implicitHeight + 12
            color: activeFocus ? "#1f5f69" : "#111111"
            // Tab goes through the rows, then to "Close"; Up and Down move through them too.
            activeFocusOnTab: true
            onActiveFocusChanged: if (activeFocus) list.currentIndex = row.index
            border.color: "#333333"

            Column {
                id: rowColumn
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.top: parent.top
                anchors.margins: 6
                spacing: 2
                Text {
                    width: parent.width
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    text: row.dateText
                    color: "#bbbbbb"
                    font.family: "Poppins"
                    font.pixelSize: 11
                }
                Text {
                    objectName: "historySummary"
                    width: parent.width
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    text: row.summary
                    color: "white"
                    font.family: "Poppins"
                    font.bold: true
                    font.pixelSize: 13
                }
                Text {
                    width: parent.width
                    visible: row.detail !== ""
                    textFormat: Text.PlainText
                    wrapMode: Text.WrapAnywhere
                    text: row.detail
                    color: "#bbbbbb"
                    font.pixelSize: 11
                }
            }
            MouseArea {
                anchors.fill: parent
                onClicked: {
                    list.currentIndex = row.index
                    list.forceActiveFocus()
                }
            }
            Accessible.role: Accessible.ListItem
            // Read out as shown: the summary first, then the date and the details.
            Accessible.name: row.summary + ", " + row.dateText + (row.detail !== "" ? ", " + row.detail : "")
        }
    }

    FramedButton {
        id: closeButton
        objectName: "historyClose"
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 20
        anchors.horizontalCenter: parent.horizontalCenter
        width: (window.width - 56) / 2
        visible: true
        focus: window.count === 0
        textScale: 0.25
        text: qsTr("Close")
        onClicked: window.close()
    }

    Shortcut {
        sequence: StandardKey.Cancel
        onActivated: window.close()
    }
}
