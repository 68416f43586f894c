import QtQuick 2.15

// Opens "History" (HistoryWindow) over the window, with the history the program published
// ("historyModel"; absent: the window says that nothing was done). Offered in each window's
// right-click menu. The window is made the first time it is asked for and reads the history
// anew each time it opens.
Item {
    id: action
    objectName: "historyAction"

    readonly property var model: typeof historyModel !== "undefined" ? historyModel : null
    property var historyWindow: null

    function open() {
        if (model)
            model.reload()
        if (!historyWindow)
            historyWindow = historyComponent.createObject(action, {model: action.model,
                                                                 transientParent: action.Window.window})
        historyWindow.show()
        historyWindow.raise()
        historyWindow.requestActivate()
    }

    Component {
        id: historyComponent
        HistoryWindow {}
    }
}
