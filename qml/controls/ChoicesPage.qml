import QtQuick 2.15
import QtQuick.Controls 2.15

// The page of the update screen's choices, over the update panel: the version list (the
// update on offer preselected), what installing the picked row does, its release notes, a
// downgrade to confirm, and an update file from the computer. choices is the published
// UpdateChoices. The page starts nothing itself: it asks the panel through its signals.
Rectangle {
    id: page
    objectName: "choicesPage"

    property QtObject choices: null
    // The published UpdateFlow, which starts a chosen file (or null: nothing is started).
    property QtObject flow: null
    // The published BackupFlow, or null: a local file then goes through it (the backup first).
    property QtObject backup: null
    property real columnWidth: 0
    property real pageTop: 0

    // The picked row as UpdateChoices describes it.
    readonly property var picked: choices && versionList.currentIndex >= 0
                                  ? describeRow(versionList.currentIndex) : ({})
    // The downgrade warning was shown; the next press installs.
    property bool confirming: false
    // The update file chosen in the dialog, as UpdateChoices checked it; empty: none.
    property var localFile: ({})
    readonly property bool localFileShown: localFile.path !== undefined

    // Installing the picked row (UpdateChoices has made it the update to fetch).
    signal versionChosen()
    // The chosen file went on to the instrument; summary says which file and size.
    signal localFileChosen(string summary)
    signal closed()

    function describeRow(row) {
        // Re-read when the installed version or the list changes.
        void(choices.installedVersion)
        void(choices.count)
        return choices.describe(row)
    }

    function show() {
        versionList.currentIndex = choices ? choices.defaultRow : -1
        versionList.positionViewAtIndex(Math.max(versionList.currentIndex, 0), ListView.Center)
        confirming = false
        localFile = ({})
        visible = true
        // The keyboard starts on the list: Up and Down pick a version.
        versionList.forceActiveFocus()
    }

    function close() {
        visible = false
        closed()
    }

    // The file dialog (UpdateFileDialog), made the first time it is opened.
    function openFileDialog() {
        fileDialogLoader.active = true
        fileDialogLoader.item.open()
    }

    // What the file dialog hands over (also the tests' way in).
    function fileChosen(url) {
        confirming = false
        localFile = choices ? choices.checkLocalFile(String(url)) : ({})
    }

    function act() {
        if (!choices)
            return
        if (localFileShown) {
            const reason = backup ? backup.installLocal(localFile.path, localFile.summary)
                         : flow ? flow.installLocal(localFile.path, localFile.summary)
                                : qsTr("The update file cannot be installed now.")
            if (reason !== "") {
                localFile = choices.checkLocalFile(localFile.path)
                return
            }
            visible = false
            localFileChosen(localFile.summary)
            return
        }
        if (!picked.pickable)
            return
        if (picked.needsConfirmation && !confirming) {
            confirming = true
            return
        }
        if (!choices.choose(versionList.currentIndex))
            return
        visible = false
        versionChosen()
    }

    visible: false
    color: "black"
    anchors.fill: parent
    anchors.topMargin: pageTop
    // Clicks do not reach the panel under the page.
    MouseArea { anchors.fill: parent }
    // Escape leaves the page, from the list or any of its buttons.
    Keys.onEscapePressed: close()

    Column {
        id: column
        width: page.columnWidth
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.top: parent.top
        anchors.topMargin: page.height * 0.02
        spacing: page.height * 0.015

        Text {
            textFormat: Text.PlainText
            width: parent.width
            text: qsTr("Choose a version")
            color: "white"
            font.family: "Poppins"
            font.bold: true
            font.pixelSize: Math.floor(Math.max(width * 0.07, 10))
            horizontalAlignment: Text.AlignHCenter
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }

        ListView {
            id: versionList
            objectName: "versionList"
            width: parent.width
            height: page.height * 0.28
            clip: true
            model: page.choices ? page.choices.versions : null
            // Rows are made as they scroll into view, never all at once.
            cacheBuffer: 0
            reuseItems: true
            boundsBehavior: Flickable.StopAtBounds
            keyNavigationEnabled: true
            currentIndex: -1
            onCurrentIndexChanged: {
                page.confirming = false
                page.localFile = ({})
            }
            ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }
            Accessible.role: Accessible.List
            Accessible.name: qsTr("Versions on offer")

            delegate: Rectangle {
                required property int index
                required property string version
                required property string releaseDate
                required property string codeName
                required property bool pickable
                required property bool installed

                width: ListView.view.width
                height: Math.max(versionList.height / 6, 20)
                color: ListView.isCurrentItem ? "#1f5f69" : "black"
                border.color: "#333333"
                Text {
                    id: rowText
                    textFormat: Text.PlainText
                    anchors.fill: parent
                    anchors.leftMargin: 6
                    anchors.rightMargin: 6
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                    color: parent.pickable ? "white" : "#888888"
                    font.family: "Poppins"
                    font.pixelSize: Math.floor(Math.max(parent.height * 0.45, 9))
                    text: (parent.version !== "" ? parent.version : qsTr("(no version)"))
                          + (parent.releaseDate !== "" ? "  \u00b7  " + parent.releaseDate : "")
                          + (parent.codeName !== "" ? "  \u00b7  " + parent.codeName : "")
                          + (parent.installed ? "  " + qsTr("(installed)") : "")
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: versionList.currentIndex = parent.index
                }
                Accessible.role: Accessible.ListItem
                // Read out as shown (version, date, code name, installed), and whether it can
                // be installed, which the screen says by its grey.
                Accessible.name: parent ? rowText.text + (pickable ? "" : ", " + qsTr("cannot be installed")) : ""
            }
        }

        Text {
            id: sentence
            objectName: "choiceSentence"
            textFormat: Text.PlainText
            width: parent.width
            text: page.localFileShown ? page.localFile.summary
                                      : (page.picked.sentence !== undefined ? page.picked.sentence : "")
            color: page.localFileShown && !page.localFile.ok ? "#ffb0a0" : "white"
            font.family: "Poppins"
            font.pixelSize: Math.floor(Math.max(width * 0.045, 10))
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        Text {
            objectName: "downgradeWarning"
            textFormat: Text.PlainText
            width: parent.width
            visible: page.confirming
            // Filled only while shown, so that no half sentence is ever read out.
            text: page.confirming && page.picked.version !== undefined
                  ? qsTr("Going back to an older firmware is meant for when a newer one misbehaves. Press the button again to install %1.").arg(page.picked.version)
                  : ""
            color: "#ffd27f"
            font.family: "Poppins"
            font.bold: true
            font.pixelSize: Math.floor(Math.max(width * 0.045, 10))
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            Accessible.role: Accessible.AlertMessage
            Accessible.name: text
        }

        ScrollView {
            id: notesArea
            objectName: "releaseNotes"
            width: parent.width
            height: page.height * 0.2
            visible: !page.localFileShown && page.picked.notes !== undefined && page.picked.notes !== ""
            clip: true
            Text {
                objectName: "releaseNotesText"
                width: notesArea.availableWidth
                text: page.picked.notes !== undefined ? page.picked.notes : ""
                // Plain text only: UpdateChoices gives the notes with their marks taken out.
                textFormat: Text.PlainText
                color: "white"
                font.family: "Poppins"
                font.pixelSize: Math.floor(Math.max(notesArea.width * 0.042, 10))
                wrapMode: Text.WordWrap
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }

        FramedButton {
            id: actionButton
            objectName: "choiceActionButton"
            visible: true
            width: parent.width
            height: width / 5
            textScale: 0.3
            enabled: page.localFileShown ? page.localFile.ok === true : page.picked.pickable === true
            opacity: enabled ? 1 : 0.5
            text: page.localFileShown ? qsTr("Install this file")
                  : page.confirming ? qsTr("Yes, install %1").arg(page.picked.version)
                  : (page.picked.actionText !== undefined ? page.picked.actionText : qsTr("Start Update"))
            onClicked: page.act()
        }

        FramedButton {
            objectName: "installFromFileButton"
            visible: true
            width: parent.width
            height: width / 5
            textScale: 0.3
            text: qsTr("Install from file\u2026")
            Accessible.description: qsTr("Chooses an update file on this computer")
            onClicked: page.openFileDialog()
        }

        FramedButton {
            objectName: "choicesBackButton"
            visible: true
            width: parent.width
            height: width / 5
            textScale: 0.3
            text: qsTr("Back")
            onClicked: page.close()
        }
    }

    Loader {
        id: fileDialogLoader
        active: false
        source: "UpdateFileDialog.qml"
        onLoaded: item.page = page
    }
}
