import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Dialogs

// The parts of "Save support file…" that are seen only once it is asked for: the context
// menu, the save dialog and the notice of the result. SupportFileAction makes them on first
// use, so that the window's first frame waits for none of them. Fills its parent. Its texts
// keep the translation context of SupportFileAction, where they were first written.
Item {
    id: parts
    // The SupportFileAction these belong to (its writer saves the file).
    property var action
    anchors.fill: parent

    function popupMenu() {
        menu.popup()
    }

    function openDialog(suggested) {
        dialog.selectedFile = suggested
        dialog.open()
    }

    Menu {
        id: menu
        MenuItem {
            objectName: "saveSupportFileItem"
            text: qsTranslate("SupportFileAction", "Save support file…")
            onTriggered: parts.action.open()
        }
    }

    FileDialog {
        id: dialog
        objectName: "supportFileDialog"
        title: qsTranslate("SupportFileAction", "Save support file")
        fileMode: FileDialog.SaveFile
        nameFilters: [qsTranslate("SupportFileAction", "Text files (*.txt)")]
        onAccepted: {
            parts.action.writer.save(dialog.selectedFile.toString())
            notice.text = parts.action.writer.lastResult
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
            textFormat: Text.PlainText
            Accessible.role: Accessible.AlertMessage
            Accessible.name: text
            width: parent.width
            wrapMode: Text.Wrap
        }
    }
}
