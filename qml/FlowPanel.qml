import QtQuick 2.15
import QtQuick.Window 2.15
import Tavlo_Controls 1.0

// What the backup screen and the restore page share: a page under the logo (the window hides
// the other screens while it shows) with a title, a status sentence, a progress bar, and
// "Cancel" and "Close" at the foot. The owner binds the texts and flags to its flow and puts
// its own content between status and foot.
Item {
    id: page

    // The start of the items' object names ("backup": "backupTitle", "backupCloseButton"…).
    property string part: "page"
    property real columnWidth: 0
    property real logoBottom: 0
    property string title: ""
    property string status: ""
    property bool progressShown: false
    property int progress: 0
    property bool cancelShown: false
    property bool closeShown: false
    // Where the owner's content may start (under the status sentence or the bar).
    readonly property real contentTop: (progressShown ? bar.y + bar.height : statusText.y + statusText.height)
                                       + height * 0.02
    // The top of the foot's buttons: the owner's content ends above it.
    readonly property real footTop: cancelButton.visible ? cancelButton.y : closeButton.y
    property alias statusColor: statusText.color
    default property alias content: contentLayer.data

    signal cancelRequested()
    signal closeRequested()

    anchors.fill: parent
    // The page holds the keyboard's focus as it opens: a screen reader names it by its title.
    Accessible.role: Accessible.Pane
    Accessible.name: page.title

    Text {
        id: titleText
        objectName: page.part + "Title"
        anchors.top: parent.top
        anchors.topMargin: page.logoBottom + page.height * 0.06
        anchors.horizontalCenter: parent.horizontalCenter
        width: page.columnWidth
        textFormat: Text.PlainText
        text: page.title
        color: "white"
        font.family: "Poppins"
        font.bold: true
        font.pixelSize: Math.floor(Math.max(width * 0.065, 12))
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
        Accessible.role: Accessible.Heading
        Accessible.name: text
    }

    Text {
        id: statusText
        objectName: page.part + "Status"
        anchors.top: titleText.bottom
        anchors.topMargin: page.height * 0.02
        anchors.horizontalCenter: parent.horizontalCenter
        width: page.columnWidth
        textFormat: Text.PlainText
        text: page.status
        visible: text !== ""
        color: "white"
        font.family: "Poppins"
        font.pixelSize: Math.floor(Math.max(width * 0.045, 10))
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }

    GenericProgressBar {
        id: bar
        objectName: page.part + "Progress"
        anchors.top: statusText.bottom
        anchors.topMargin: page.height * 0.01
        anchors.horizontalCenter: parent.horizontalCenter
        width: page.columnWidth
        visible: page.progressShown
        percentage: page.progress
        mode: "copying"
    }

    Item {
        id: contentLayer
        anchors.fill: parent
    }

    FramedButton {
        id: cancelButton
        objectName: page.part + "CancelButton"
        anchors.bottom: parent.bottom
        anchors.bottomMargin: page.height * 0.05
        anchors.horizontalCenter: parent.horizontalCenter
        width: page.columnWidth * 0.8
        textScale: 0.3
        visible: page.cancelShown
        text: qsTr("Cancel")
        onClicked: page.cancelRequested()
    }

    FramedButton {
        id: closeButton
        objectName: page.part + "CloseButton"
        anchors.bottom: parent.bottom
        anchors.bottomMargin: page.height * 0.05
        anchors.horizontalCenter: parent.horizontalCenter
        width: page.columnWidth * 0.8
        textScale: 0.3
        visible: page.closeShown
        text: qsTr("Close")
        onClicked: page.closeRequested()
    }

    // While the page shows, the keyboard's focus stays on it: when the control that held it
    // goes (its step of the flow is over), the page takes it back, so that Tab and Escape
    // still work on the next step.
    Connections {
        target: page.Window.window
        enabled: page.visible
        function onActiveFocusItemChanged() {
            const shown = page.Window.window
            if (shown && (shown.activeFocusItem === null || shown.activeFocusItem === shown.contentItem))
                page.forceActiveFocus()
        }
    }

    Keys.onEscapePressed: {
        if (page.closeShown)
            page.closeRequested()
        else if (page.cancelShown)
            page.cancelRequested()
    }
}
