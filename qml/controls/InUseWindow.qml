import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Controls.Material 2.15

// Shown instead of the main window when another program holds the instrument ("tavlo", or
// a window that could not be brought to the front): the sentence that says which, "Try
// again" and "Close". The program sets the sentence and answers the two signals.
ApplicationWindow {
    id: window
    objectName: "inUseWindow"

    // Why this window cannot open, as the program says it (shown as plain text).
    property string sentence: ""

    signal retryRequested()
    signal closeRequested()

    width: 360
    height: 260
    minimumWidth: 300
    minimumHeight: 220
    visible: true
    title: Qt.application.displayName
    color: "black"
    Material.theme: Material.Dark


    Text {
        id: sentenceText
        objectName: "inUseSentence"
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.margins: 20
        textFormat: Text.PlainText
        text: window.sentence
        color: "white"
        font.family: "Poppins"
        font.pixelSize: 15
        wrapMode: Text.Wrap
        Accessible.role: Accessible.AlertMessage
        Accessible.name: text
    }

    Row {
        anchors.bottom: parent.bottom
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottomMargin: 20
        spacing: 16

        FramedButton {
            id: retryButton
            objectName: "inUseRetry"
            width: (window.width - 56) / 2
            visible: true
            focus: true
            textScale: 0.25
            text: qsTr("Try again")
            onClicked: window.retryRequested()
        }
        FramedButton {
            objectName: "inUseClose"
            width: (window.width - 56) / 2
            visible: true
            textScale: 0.25
            text: qsTr("Close")
            onClicked: window.closeRequested()
        }
    }

    Shortcut {
        sequence: StandardKey.Cancel
        onActivated: window.closeRequested()
    }
}
