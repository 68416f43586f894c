import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Controls.Material 2.15

// "About", a small window of its own over the main one: the program's name and version,
// where its session logs are kept, and the licences of what it is built with. Plain text
// only; the folder can be selected and copied. Escape and "Close" close it.
ApplicationWindow {
    id: window
    objectName: "aboutWindow"

    // Where this run's session logs are (as the program published it; empty: not known).
    property string logFolder: ""

    width: 340
    height: Math.max(300, content.implicitHeight + 110)
    minimumWidth: 300
    minimumHeight: 280
    modality: Qt.ApplicationModal
    title: qsTr("About %1").arg(Qt.application.displayName)
    color: "black"
    Material.theme: Material.Dark

    Column {
        id: content
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.margins: 20
        spacing: 12

        Text {
            objectName: "aboutName"
            width: parent.width
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            text: qsTr("%1, version %2").arg(Qt.application.displayName).arg(Qt.application.version)
            color: "white"
            font.family: "Poppins"
            font.bold: true
            font.pixelSize: 16
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }

        Text {
            width: parent.width
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            visible: window.logFolder !== ""
            text: qsTr("Session logs are kept in this folder:")
            color: "white"
            font.family: "Poppins"
            font.pixelSize: 13
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        TextEdit {
            objectName: "aboutLogFolder"
            width: parent.width
            visible: window.logFolder !== ""
            readOnly: true
            selectByMouse: true
            textFormat: TextEdit.PlainText
            wrapMode: TextEdit.WrapAnywhere
            color: "#bbbbbb"
            font.pixelSize: 13
            text: window.logFolder
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        Text {
            objectName: "aboutLicences"
            width: parent.width
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            text: qsTr("Built with Qt 6 (GNU LGPL version 3), RtMidi (MIT licence) and the Poppins "
                       + "font (SIL Open Font License 1.1).")
            color: "white"
            font.family: "Poppins"
            font.pixelSize: 13
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }

    FramedButton {
        objectName: "aboutClose"
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 20
        anchors.horizontalCenter: parent.horizontalCenter
        width: (window.width - 56) / 2
        visible: true
        focus: true
        textScale: 0.25
        text: qsTr("Close")
        onClicked: window.close()
    }

    Shortcut {
        sequence: StandardKey.Cancel
        onActivated: window.close()
    }
}
