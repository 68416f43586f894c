import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Dialogs

// The parts of "Save support file…" that are seen only once it is asked for: the context
// menu, the save dialog and the notice of the result. SupportFileAction makes them on first
// use, so that the window's first frame waits for none of them. Fills its parent. Its texts
// keep the translation context of SupportFileAction, where they were first written.
Item {
    id: parts
    objectName: "supportFileParts"
    // The SupportFileAction these belong to (its writer saves the file).
    property var action
    anchors.fill: parent

    function popupMenu() {
        menu.popup()
    }

    function openDialog(folder, suggested) {
        dialog.currentFolder = folder
        dialog.selectedFile = suggested
        dialog.open()
    }

    // The file chosen in the dialog: saved at once, or after asking when one is there.
    function chosen(file) {
        if (parts.action.writer.exists(file)) {
            replace.file = file
            replace.open()
        } else {
            parts.save(file)
        }
    }

    function save(file) {
        parts.action.writer.save(file)
        notice.text = parts.action.writer.lastResult
        notice.open()
    }

    Menu {
        id: menu
        objectName: "supportFileMenu"
        // As wide as its caption needs in any language (the style's width is fixed).
        width: Math.max(implicitWidth, Math.max(saveItem.implicitWidth, historyItem.implicitWidth,
                                                checkItem.implicitWidth, aboutItem.implicitWidth)
                                       + leftPadding + rightPadding)
        MenuItem {
            id: saveItem
            objectName: "saveSupportFileItem"
            text: qsTranslate("SupportFileAction", "Save support file…")
            onTriggered: parts.action.open()
        }
        MenuItem {
            id: historyItem
            objectName: "historyMenuItem"
            text: qsTranslate("HistoryAction", "History…")
            onTriggered: parts.action.ui.openHistory()
        }
        MenuItem {
            id: checkItem
            objectName: "computerCheckMenuItem"
            text: qsTranslate("ComputerCheckAction", "Check this computer…")
            onTriggered: parts.action.ui.openComputerCheck()
        }
        MenuItem {
            id: aboutItem
            objectName: "aboutMenuItem"
            text: qsTranslate("AboutAction", "About %1…").arg(Qt.application.displayName)
            onTriggered: parts.action.ui.openAbout()
        }
    }

    FileDialog {
        id: dialog
        objectName: "supportFileDialog"
        title: qsTranslate("SupportFileAction", "Save support file")
        fileMode: FileDialog.SaveFile
        acceptLabel: qsTranslate("SupportFileAction", "Save")
        // Asked below, the same way whichever dialog the system draws.
        options: FileDialog.DontConfirmOverwrite
        nameFilters: [qsTranslate("SupportFileAction", "Text files (*.txt)")]
        onAccepted: parts.chosen(dialog.selectedFile.toString())
    }

    // A file of that name is there: replaced only when the user says so.
    Dialog {
        id: replace
        objectName: "replaceSupportFileDialog"
        property string file
        anchors.centerIn: parent
        width: parent.width * 0.8
        modal: true
        title: qsTranslate("SupportFileAction", "Replace the file?")
        contentItem: Label {
            objectName: "replaceSupportFileText"
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            text: qsTranslate("SupportFileAction", "A file named \u201c%1\u201d is already there. Replace it?")
                  .arg(decodeURIComponent(replace.file.substring(replace.file.lastIndexOf("/") + 1)))
        }
        footer: DialogButtonBox {
            Button {
                objectName: "replaceSupportFileButton"
                text: qsTranslate("SupportFileAction", "Replace")
                DialogButtonBox.buttonRole: DialogButtonBox.AcceptRole
            }
            Button {
                objectName: "keepSupportFileButton"
                text: qsTranslate("SupportFileAction", "Cancel")
                DialogButtonBox.buttonRole: DialogButtonBox.RejectRole
            }
        }
        onAccepted: parts.save(replace.file)
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
