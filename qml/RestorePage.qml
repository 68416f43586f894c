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

    readonly property bool asking: restore !== null && restore.askShown
    readonly property real listBottom: (asking ? replaceButton.y : page.footTop) - page.height * 0.02

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
        // Tab goes from row to row (each a button); Up and Down too, once a row has the focus.
        keyNavigationEnabled: true
        // Hidden once a backup is chosen: the keyboard's focus goes back to the page.
        onVisibleChanged: if (!visible) focus = false
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
        // Tab stops at the list itself (its lines are text, not controls); Up and Down
        // scroll it.
        activeFocusOnTab: true
        currentIndex: -1
        // The view makes its first line current as the lines come: none is, so that the
        // focus stays on the list.
        onCountChanged: currentIndex = -1
        keyNavigationEnabled: false
        Keys.onDownPressed: fileScroll.increase()
        Keys.onUpPressed: fileScroll.decrease()
        onVisibleChanged: if (!visible) focus = false
        Accessible.role: Accessible.List
        Accessible.name: qsTr("Files to replace")
        spacing: 3
        // Always shown while there is more than fits, so that the rest is not missed.
        ScrollBar.vertical: ScrollBar {
            id: fileScroll
            stepSize: 0.1
            policy: fileList.contentHeight > fileList.height ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded
        }
        delegate: Text {
            width: fileList.width
            textFormat: Text.PlainText
            text: modelData
            color: "#dddddd"
            font.family: "Poppins"
            font.pixelSize: Math.floor(Math.max(fileList.width * 0.037, 9))
            // Broken between words where it can be, inside a long name only where it must.
            wrapMode: Text.Wrap
            rightPadding: fileScroll.width
            // A line is text, not a control: the keyboard's focus stays on the list.
            onActiveFocusChanged: if (activeFocus) focus = false
            Accessible.role: Accessible.ListItem
            Accessible.name: text
        }
    }

    // Anchored rather than in a Column: they stand where they are shown from the first
    // frame on, so that a click lands on the button it was aimed at.
    FramedButton {
        id: replaceButton
        objectName: "replaceButton"
        anchors.bottom: keepButton.top
        anchors.bottomMargin: page.height * 0.015
        anchors.horizontalCenter: parent.horizontalCenter
        width: page.columnWidth * 0.8
        textScale: 0.3
        visible: page.asking
        text: qsTr("Replace")
        Accessible.description: qsTr("Replaces the listed files on Tavlo with the backup's versions")
        onClicked: if (page.restore) page.restore.confirm()
    }
    FramedButton {
        id: keepButton
        objectName: "keepButton"
        anchors.bottom: parent.bottom
        anchors.bottomMargin: page.height * 0.05
        anchors.horizontalCenter: parent.horizontalCenter
        width: page.columnWidth * 0.8
        textScale: 0.22
        visible: page.asking
        text: qsTr("Keep Tavlo's files")
        Accessible.description: qsTr("Leaves Tavlo as it is and ends the restore")
        onClicked: if (page.restore) page.restore.decline()
    }
}
