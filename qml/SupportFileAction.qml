import QtQuick 2.15

// "Save support file…": one plain text file with the last session logs and what support asks
// first. Offered in the window's context menu (right click) and on Ctrl+Shift+S, so that
// neither the screens nor their Tab order change. The writer is published by the wiring as
// a QML type; a window without it offers nothing. The menu, the dialog and the notice
// (SupportFileParts) are made the first time one of them is needed.
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

    // The file takes the last "Check this computer" report of this session.
    Binding {
        target: action.writer
        property: "computerReport"
        value: typeof computerCheck !== "undefined" && computerCheck ? computerCheck.report : ""
        when: action.writer !== null
    }

    // The menu, the dialog and the notice, made on first use.
    function parts() {
        partsLoader.active = true
        return partsLoader.item
    }

    function open() {
        if (!writer)
            return
        parts().openDialog(writer.suggestedFolder(), writer.suggestedFile())
    }

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.RightButton
        enabled: action.writer !== null
        onClicked: action.parts().popupMenu()
    }

    Shortcut {
        sequence: "Ctrl+Shift+S"
        enabled: action.writer !== null
        onActivated: action.open()
    }

    Loader {
        id: partsLoader
        anchors.fill: parent
        active: false
        source: "SupportFileParts.qml"
        onLoaded: item.action = action
    }
}
