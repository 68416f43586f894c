import QtQuick 2.15
import QtQuick.Controls 2.15
import Tavlo_Controls 1.0

// The restore page: the backups to choose from, then what the published RestoreFlow does,
// the files it would replace (with "Replace" and "Keep Tavlo's files"), and how it ended.
FlowPanel {
    id: page

    // The published RestoreFlow, or null.
    property QtObject restore: null

    objectName: "restorePage"
    part: "restore"
    visible: restore !== null && restore.pageShown
    title: restore ? restore.titleText : ""
    status: restore ? restore.statusText : ""
    progressShown: restore !== null && restore.progressShown
    progress: restore ? restore.progress : 0
    cancelShown: restore !== null && restore.cancelShown
    closeShown: restore !== null && restore.closeShown
    statusColor: restore !== null && restore.failed ? "#ffb0a0" : "white"
    onCancelRequested: if (restore) restore.cancel()
    onCloseRequested: if (restore) restore.close()

    readonly property real listBottom: (askRow.visible ? askRow.y : page.footTop) - page.height * 0.02

    // The backups, newest first: each row chooses its backup.
    ListView {
        id: backupList
        objectName: "backupList"
        x: (page.width - page.columnWidth) / 2
        y: page.contentTop
        width: page.columnWidth
        height: Math.max(0, page.listBottom - y)
        visible: page.restore !== null && page.restore.listShown
        clip: true
        spacing: 6
        model: page.restore ? page.restore.backups : []
        activeFocusOnTab: true
        keyNavigationEnabled: true
        Accessible.role: Accessible.List
        Accessible.name: qsTr("Backups")
        delegate: FramedButton {
            objectName: "backupRow"
            width: backupList.width
            height: rowText.implicitHeight + 16
            visible: true
            focusPolicy: Qt.StrongFocus
            text: modelData.text
            Accessible.name: modelData.text
            contentItem: Text {
                id: rowText
                textFormat: Text.PlainText
                text: modelData.text
                color: "white"
                font.family: "Poppins"
                font.pixelSize: Math.floor(Math.max(backupList.width * 0.04, 10))
                wrapMode: Text.WordWrap
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
            }
            onClicked: if (page.restore) page.restore.choose(index)
        }
    }

    // While asking: the files that differ.
    ListView {
        id: fileList
        objectName: "differingList"
        x: (page.width - page.columnWidth) / 2
        y: page.contentTop
        width: page.columnWidth
        height: Math.max(0, page.listBottom - y)
        visible: page.restore !== null && page.restore.askShown
        clip: true
        model: page.restore && page.restore.askShown ? page.restore.differing : []
        activeFocusOnTab: true
        keyNavigationEnabled: true
        Accessible.role: Accessible.List
        Accessible.name: qsTr("Files to replace")
        ScrollBar.vertical: ScrollBar {}
        delegate: Text {
            width: fileList.width
            textFormat: Text.PlainText
            text: modelData
            color: "#dddddd"
            font.family: "Poppins"
            font.pixelSize: Math.floor(Math.max(fileList.width * 0.037, 9))
            wrapMode: Text.WrapAnywhere
            Accessible.role: Accessible.ListItem
            Accessible.name: text
        }
    }

    Column {
        id: askRow
        anchors.bottom: parent.bottom
        anchors.bottomMargin: page.height * 0.05
        anchors.horizontalCenter: parent.horizontalCenter
        spacing: page.height * 0.015
        visible: page.restore !== null && page.restore.askShown

        FramedButton {
            objectName: "replaceButton"
            width: page.columnWidth * 0.8
            textScale: 0.3
            visible: askRow.visible
            text: qsTr("Replace")
            Accessible.description: qsTr("Replaces the listed files on Tavlo with the backup's versions")
            onClicked: if (page.restore) page.restore.confirm()
        }
        FramedButton {
            objectName: "keepButton"
            width: page.columnWidth * 0.8
            textScale: 0.22
            visible: askRow.visible
            text: qsTr("Keep Tavlo's files")
            Accessible.description: qsTr("Leaves Tavlo as it is and ends the restore")
            onClicked: if (page.restore) page.restore.decline()
        }
    }
}
