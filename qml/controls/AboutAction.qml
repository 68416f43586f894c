import QtQuick 2.15
import QtQuick.Controls 2.15

// Opens "About" (AboutWindow) on F1, and, where the window has no menu of its own (ownMenu),
// from a menu on the right mouse button. Its window is made the first time it is asked for,
// so the main window's first frame waits for none of it. Fills its parent.
Item {
    id: action
    objectName: "aboutAction"
    anchors.fill: parent

    // Where the session logs are (published by the program as "sessionLogFolder").
    property string logFolder: typeof sessionLogFolder === "string" ? sessionLogFolder : ""
    // True: a right click offers "History", "Check this computer" and "About" in a menu of
    // this item's own.
    property bool ownMenu: false

    // "History…" was picked in the menu.
    signal historyRequested()
    // "Check this computer…" was picked in the menu.
    signal computerCheckRequested()

    property var aboutWindow: null

    function open() {
        if (!aboutWindow)
            aboutWindow = aboutComponent.createObject(action, {logFolder: action.logFolder,
                                                             transientParent: action.Window.window})
        aboutWindow.show()
        aboutWindow.raise()
        aboutWindow.requestActivate()
    }

    Shortcut {
        sequence: "F1"
        onActivated: action.open()
    }

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.RightButton
        enabled: action.ownMenu
        onClicked: menu.popup()
    }

    Menu {
        id: menu
        objectName: "aboutMenu"
        width: Math.max(implicitWidth, Math.max(historyItem.implicitWidth, checkItem.implicitWidth,
                                                aboutItem.implicitWidth) + leftPadding + rightPadding)
        MenuItem {
            id: historyItem
            objectName: "historyMenuItem"
            text: qsTranslate("HistoryAction", "History…")
            onTriggered: action.historyRequested()
        }
        MenuItem {
            id: checkItem
            objectName: "computerCheckMenuItem"
            text: qsTranslate("ComputerCheckAction", "Check this computer…")
            onTriggered: action.computerCheckRequested()
        }
        MenuItem {
            id: aboutItem
            objectName: "aboutMenuItem"
            text: qsTr("About %1…").arg(Qt.application.displayName)
            onTriggered: action.open()
        }
    }

    Component {
        id: aboutComponent
        AboutWindow {}
    }
}
