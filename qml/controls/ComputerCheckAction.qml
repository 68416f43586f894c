import QtQuick 2.15

// Opens "Check this computer" (ComputerCheckWindow) over the window and runs the checks anew,
// with the check the program published ("computerCheck"; absent: the window shows nothing).
// Offered in each window's right-click menu. The window is made the first time it is asked for.
Item {
    id: action
    objectName: "computerCheckAction"

    readonly property var check: typeof computerCheck !== "undefined" ? computerCheck : null
    property var checkWindow: null

    function open() {
        if (check)
            check.start()
        if (!checkWindow)
            checkWindow = checkComponent.createObject(action, {check: action.check,
                                                             transientParent: action.Window.window})
        checkWindow.show()
        checkWindow.raise()
        checkWindow.requestActivate()
    }

    Component {
        id: checkComponent
        ComputerCheckWindow {}
    }
}
