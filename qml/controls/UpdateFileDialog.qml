import QtQuick 2.15
import QtQuick.Dialogs

// The choices page's dialog for an update file on this computer. ChoicesPage makes it the
// first time it is opened, so that the dialogs module is not loaded for the first frame. Its
// texts keep the translation context of ChoicesPage, where they were first written.
FileDialog {
    // The ChoicesPage the chosen file is handed to.
    property var page
    objectName: "updateFileDialog"
    title: qsTranslate("ChoicesPage", "Choose an update file")
    nameFilters: page && page.choices ? page.choices.fileFilters : []
    fileMode: FileDialog.OpenFile
    onAccepted: page.fileChosen(selectedFile)
}
