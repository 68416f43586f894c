import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Controls.Material 2.15

// The update screen of both windows: the version line, the notice, the failure reason,
// "Start Update", "EXIT" and "Try again", and the version page. What it shows is what the
// published UpdateFlow (flow) says; its buttons call the flow. It fills the window so that
// its items sit in window coordinates; the window says where the logo ends, where the
// version line starts and how wide the column is.
Item {
    id: panel

    property real columnWidth: 0
    property real logoBottom: 0
    // The version line's top edge, before its margin; under the logo unless moved.
    property real versionTop: logoBottom
    // The published UpdateFlow, or null: without it the panel shows nothing.
    property QtObject flow: null
    // What the version line says and whether it shows (the window may say more, such as
    // the transfer flow's waiting text).
    property string lineText: flow ? flow.versionLineText : ""
    property bool lineShown: flow !== null && flow.versionLineShown

    readonly property alias versionLine: versionText
    readonly property alias notice: infoText
    // What the window draws over the texts and under the buttons (filling the window).
    property alias overTexts: overTextsLayer.data

    readonly property alias reason: failureReasonText
    // The published BackupFlow, or null (the update-only window has none): with it, "Start
    // Update" and a picked version go through it, so that the backup comes first when chosen.
    property QtObject backup: null
    // The published UpdateChoices, or null: without it the panel offers no choices.
    property QtObject choices: null
    readonly property alias choicesPage: choicesPage
    // The version page covers the panel: its buttons are not shown under it.
    readonly property bool pageShown: choicesPage.visible

    anchors.fill: parent

    VersionLine {
        id: versionText
        anchors.top: parent.top
        anchors.topMargin: panel.versionTop + panel.height * 0.02
        anchors.horizontalCenter: parent.horizontalCenter
        width: panel.columnWidth
        // Under the version page it is neither seen nor read out.
        visible: panel.lineShown && !panel.pageShown
        text: panel.lineText
    }

    UpdateNotice {
        id: infoText
        anchors.top: versionText.bottom
        anchors.topMargin: panel.height * 0.1
        anchors.horizontalCenter: parent.horizontalCenter
        width: panel.columnWidth
        visible: panel.flow !== null && panel.flow.noticeShown && !panel.pageShown
        text: panel.flow ? panel.flow.noticeText : ""
    }

    FailureReason {
        id: failureReasonText
        anchors.top: infoText.bottom
        anchors.topMargin: panel.height * 0.02
        anchors.horizontalCenter: parent.horizontalCenter
        width: panel.columnWidth
        text: panel.flow ? panel.flow.reasonText : ""
    }

    // After a handed-over update: the wait for the instrument's return, then the firmware it
    // runs. Where a failure's reason would be; the two never show together.
    Text {
        objectName: "confirmationText"
        anchors.top: infoText.bottom
        anchors.topMargin: panel.height * 0.02
        anchors.horizontalCenter: parent.horizontalCenter
        width: panel.columnWidth
        textFormat: Text.PlainText
        visible: text !== ""
        text: panel.flow ? panel.flow.confirmationText : ""
        color: "white"
        font.family: "Poppins"
        font.pixelSize: Math.floor(Math.max(width * 0.045, 10))
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }

    // From the update-mode message to the confirmation: that the computer stays awake (or
    // that the user should keep it so). At the foot, where the version page's links were.
    Text {
        objectName: "awakeText"
        anchors.bottom: parent.bottom
        anchors.bottomMargin: panel.height * 0.03
        anchors.horizontalCenter: parent.horizontalCenter
        width: panel.columnWidth
        textFormat: Text.PlainText
        visible: text !== ""
        text: panel.flow ? panel.flow.awakeText : ""
        color: "#bbbbbb"
        font.family: "Poppins"
        font.pixelSize: Math.floor(Math.max(width * 0.035, 9))
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }

    Item {
        id: overTextsLayer
        anchors.fill: parent
    }

    // "Back up Tavlo's projects first", with the last backup's size and time under it.
    Column {
        id: backupOption
        objectName: "backupOption"
        // Under the notice's text, which may take more lines than its box holds.
        y: infoText.y + Math.max(infoText.height, infoText.contentHeight) / 2 + infoText.height / 2
           + panel.height * 0.015
        anchors.horizontalCenter: parent.horizontalCenter
        width: panel.columnWidth
        visible: panel.backup !== null && panel.backup.optionOffered && startUpdateButton.visible

        CheckBox {
            id: backupFirst
            objectName: "backupFirstCheckBox"
            // The program's colour rather than the style's pink.
            Material.accent: "#44BACD"
            width: parent.width
            checked: panel.backup !== null && panel.backup.beforeUpdate
            text: qsTr("Back up Tavlo's projects first")
            font.family: "Poppins"
            font.pixelSize: Math.floor(Math.max(width * 0.043, 10))
            // Wrapped rather than cut where the column is narrow (or the sentence long).
            contentItem: Text {
                leftPadding: backupFirst.indicator ? backupFirst.indicator.width + backupFirst.spacing : 0
                textFormat: Text.PlainText
                text: backupFirst.text
                font: backupFirst.font
                color: "white"
                wrapMode: Text.WordWrap
                verticalAlignment: Text.AlignVCenter
            }
            Accessible.name: text
            onToggled: if (panel.backup) panel.backup.beforeUpdate = checked
        }
        Text {
            objectName: "backupEstimate"
            width: parent.width
            leftPadding: backupFirst.indicator ? backupFirst.indicator.width + backupFirst.spacing : 0
            textFormat: Text.PlainText
            visible: text !== ""
            text: panel.backup ? panel.backup.estimateText : ""
            color: "#bbbbbb"
            font.family: "Poppins"
            font.pixelSize: Math.floor(Math.max(width * 0.035, 9))
            wrapMode: Text.WordWrap
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }

    FramedButton {
        id: startUpdateButton
        objectName: "startUpdateButton"
        // Where it always was, or under the backup option when that reaches further down.
        y: Math.max(infoText.y + infoText.height + panel.height * 0.2,
                    backupOption.visible ? backupOption.y + backupOption.height + panel.height * 0.015 : 0)
        anchors.horizontalCenter: parent.horizontalCenter
        width: panel.columnWidth
        visible: panel.flow !== null && panel.flow.startShown && !panel.pageShown
        enabled: panel.flow !== null && panel.flow.startEnabled
        opacity: enabled ? 1 : 0.5
        text: qsTr("Start Update")
        Accessible.description: qsTr("Downloads the latest firmware and copies it onto Tavlo")
        textScale: 0.25
        onClicked: {
            if (panel.backup)
                panel.backup.startUpdate()
            else if (panel.flow)
                panel.flow.start()
        }
    }

    FramedButton {
        id: closeApplicationButton
        objectName: "closeApplicationButton"
        anchors.top: infoText.bottom
        anchors.topMargin: panel.height * 0.2
        anchors.horizontalCenter: parent.horizontalCenter
        width: panel.columnWidth
        visible: panel.flow !== null && panel.flow.exitShown && !panel.pageShown
        text: qsTr("EXIT")
        Accessible.description: qsTr("Closes this application")
        textScale: 0.25
        onClicked: Qt.quit()
    }

    FramedButton {
        id: tryAgainButton
        objectName: "tryAgainButton"
        visible: panel.flow !== null && panel.flow.retryShown
        anchors.top: closeApplicationButton.bottom
        anchors.topMargin: panel.height * 0.02
        anchors.horizontalCenter: parent.horizontalCenter
        width: panel.columnWidth
        text: qsTr("Try again")
        textScale: 0.25
        onClicked: if (panel.flow) panel.flow.retry()
    }

    // "Other versions..." and "Install from file..." at the foot of the update screen.
    Row {
        anchors.bottom: parent.bottom
        anchors.bottomMargin: panel.height * 0.03
        anchors.horizontalCenter: parent.horizontalCenter
        spacing: panel.columnWidth * 0.04
        visible: panel.choices !== null && panel.flow !== null && panel.flow.choicesOffered
                 && !panel.pageShown

        FramedButton {
            id: versionsButton
            objectName: "versionsButton"
            visible: true
            width: panel.columnWidth * 0.7
            height: width / 4
            textScale: 0.3
            text: qsTr("Other versions…")
            Accessible.description: qsTr("Lists every version on offer with its release notes")
            onClicked: choicesPage.show()
        }
        FramedButton {
            objectName: "fileButton"
            visible: true
            width: panel.columnWidth * 0.7
            height: width / 4
            textScale: 0.3
            text: qsTr("Install from file…")
            Accessible.description: qsTr("Chooses an update file on this computer")
            onClicked: {
                choicesPage.show()
                choicesPage.openFileDialog()
            }
        }
    }

    ChoicesPage {
        id: choicesPage
        choices: panel.choices
        flow: panel.flow
        backup: panel.backup
        columnWidth: panel.columnWidth
        pageTop: panel.logoBottom
        onVersionChosen: {
            if (panel.backup)
                panel.backup.startChosenUpdate()
            else if (panel.flow)
                panel.flow.startChosen()
        }
        // The keyboard goes back to where the page was opened from.
        onClosed: versionsButton.forceActiveFocus()
    }
}
