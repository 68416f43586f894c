import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Dialogs

// "Save support file…": one plain text file with the last session logs and what support asks
// first. Offered in the window's context menu (right click) and on Ctrl+Shift+S, so that
// neither the screens nor their Tab order change. The writer is published by the wiring as
// a QML type; a window without it offers nothing.
Item {
    id: action
    property var ui
    anchors.fill: parent

    property QtObject writer: null

    Component.onCompleted: {
        try {
            writer = Qt.createQmlObject("import Tavlo_Support 1.0; SupportFile {}", action, "SupportFile")
        } catch (error) {
            writer = null
        }
    }

    function open() {
        if (!writer)
            return
        dialog.selectedFile = writer.suggestedFile()
        dialog.open()
    }

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.RightButton
        enabled: action.writer !== null
        onClicked: menu.popup()
    }

    Menu {
        id: menu
        MenuItem {
            objectName: "saveSupportFileItem"
            text: qsTr("Save support file…")
            onTriggered: action.open()
        }
    }

    Shortcut {
        sequence: "Ctrl+Shift+S"
        enabled: action.writer !== null
        onActivated: action.open()
    }

    FileDialog {
        id: dialog
        title: qsTr("Save support file")
        fileMode: FileDialog.SaveFile
        nameFilters: [qsTr("Text files (*.txt)")]
        onAccepted: {
            action.writer.save(dialog.selectedFile.toString())
            notice.text = action.writer.lastResult
            notice.open()
        }
    }

    Popup {
        id: notice
        property alias text: noticeText.text
        anchors.centerIn: parent
        width: parent.width * 0.8
        Label {
            id: noticeText
            Accessible.role: Accessible.AlertMessage
            Accessible.name: text
            width: parent.width
            wrapMode: Text.Wrap
        }
    }
}
