import QtQuick 2.15

// The update screen of both windows: the version line, the notice, "Start Update" and
// "EXIT". It fills the window so that its items sit in window coordinates; the window says
// where the logo ends, where the version line starts and how wide the column is.
Item {
    id: panel

    readonly property string latestVersionPrefix: qsTr("The latest available version is Tvx")

    property real columnWidth: 0
    property real logoBottom: 0
    // The version line's top edge, before its margin; under the logo unless moved.
    property real versionTop: logoBottom
    // "Start Update" can be pressed (it is dimmed otherwise).
    property bool startEnabled: true

    readonly property alias versionLine: versionText
    readonly property alias notice: infoText
    // What the window draws over the texts and under the buttons (filling the window).
    property alias overTexts: overTextsLayer.data

    readonly property alias reason: failureReasonText
    // The published UpdateChoices, or null: without it the panel offers no choices.
    property QtObject choices: null
    // The version list, the up-to-date text and "Install from file..." are offered (the
    // update screen before a start).
    property bool choicesOffered: false
    readonly property alias choicesPage: choicesPage
    // An end screen is showing: a result or a failure, with "EXIT".
    readonly property bool endShown: closeApplicationButton.visible
    // A result or failure of an update is showing; its texts stay until the panel is opened
    // again (a catalogue read late does not write over them).
    property bool resultShown: false

    signal startRequested()
    signal exitRequested()
    // "Try again" on a failure screen: the window goes back to the start of the update.
    signal retryRequested()
    // A checked update file from the computer went on to the instrument.
    signal localInstallStarted()

    // With the instrument at or above the latest on offer, the version line says so and
    // "EXIT" takes the place of "Start Update"; the list still offers every version.
    function showUpToDate() {
        if (!choicesOffered || !choices || !choices.upToDate)
            return
        versionText.text = choices.upToDateText
        startUpdateButton.visible = false
        closeApplicationButton.visible = true
    }

    // The choices are left behind once an update starts.
    function leaveChoices() {
        choicesOffered = false
        choicesPage.visible = false
        startUpdateButton.visible = false
        closeApplicationButton.visible = false
    }

    // Shows the update screen: "Start Update" when there is something newer, else "EXIT".
    function open(updateAvailable) {
        versionText.visible = true
        infoText.visible = true
        if (updateAvailable)
            startUpdateButton.visible = true
        else
            closeApplicationButton.visible = true
        choicesOffered = choices !== null
        showUpToDate()
    }

    function showLatest(version) {
        if (resultShown)
            return
        versionText.text = latestVersionPrefix + version
        showUpToDate()
    }

    function showAlreadyInstalled() {
        versionText.text = qsTr("The latest version is already installed!")
        infoText.text = qsTr("The latest version is already installed! You can now close this application.")
        console.log("The latest version is already installed!")
    }

    // The outcome of copying the update onto the instrument; "EXIT" is offered either way.
    function showTransferResult(success) {
        choicesOffered = false
        resultShown = true
        if (success) {
            versionText.text = qsTr("File transfer complete!")
            infoText.text = qsTr("File transfer complete! Tavlo will now reboot to apply the update. You can now close this application.")
        } else {
            versionText.text = qsTr("File transfer failed!")
            infoText.text = qsTr("Something went wrong during the file transfer. Please try again or contact support.")
            tryAgainButton.visible = true
        }
        closeApplicationButton.visible = true
    }

    function offerExit(shown) {
        closeApplicationButton.visible = shown
    }

    // A failure screen: the reason under the failure text, "Try again" beside "EXIT".
    function showFailure(reasonText) {
        choicesOffered = false
        resultShown = true
        if (reasonText !== undefined && reasonText !== "")
            failureReasonText.text = reasonText
        closeApplicationButton.visible = true
        tryAgainButton.visible = true
    }

    // The copy went well, but the instrument was never told to apply it (the update-finish
    // message did not go out): no claim of success, the reason and the way back instead.
    function showNotFinished(reasonText) {
        versionText.text = qsTr("The update was not finished!")
        infoText.text = qsTr("Tavlo has not been told to apply the update.")
        versionText.visible = true
        infoText.visible = true
        showFailure(reasonText)
    }

    // Everything of the panel hidden, its texts as before "Update" (the instrument was
    // unplugged: the window waits for it again).
    function close() {
        resultShown = false
        failureReasonText.text = ""
        tryAgainButton.visible = false
        closeApplicationButton.visible = false
        startUpdateButton.visible = false
        versionText.visible = false
        infoText.visible = false
        infoText.text = infoText.warningText
    }

    // Back to the update screen as it was before "Start Update".
    function reopen(updateAvailable) {
        resultShown = false
        failureReasonText.text = ""
        tryAgainButton.visible = false
        closeApplicationButton.visible = false
        infoText.text = infoText.warningText
        open(updateAvailable)
    }

    anchors.fill: parent

    VersionLine {
        id: versionText
        anchors.top: parent.top
        anchors.topMargin: panel.versionTop + panel.height * 0.02
        anchors.horizontalCenter: parent.horizontalCenter
        width: panel.columnWidth
    }

    UpdateNotice {
        id: infoText
        anchors.top: versionText.bottom
        anchors.topMargin: panel.height * 0.1
        anchors.horizontalCenter: parent.horizontalCenter
        width: panel.columnWidth
    }

    FailureReason {
        id: failureReasonText
        anchors.top: infoText.bottom
        anchors.topMargin: panel.height * 0.02
        anchors.horizontalCenter: parent.horizontalCenter
        width: panel.columnWidth
    }

    Item {
        id: overTextsLayer
        anchors.fill: parent
    }

    FramedButton {
        id: startUpdateButton
        objectName: "startUpdateButton"
        anchors.top: infoText.bottom
        anchors.topMargin: panel.height * 0.2
        anchors.horizontalCenter: parent.horizontalCenter
        width: panel.columnWidth
        enabled: panel.startEnabled
        opacity: panel.startEnabled ? 1 : 0.5
        text: qsTr("Start Update")
        Accessible.description: qsTr("Downloads the latest firmware and copies it onto Tavlo")
        textScale: 0.25
        onClicked: {
            // The update on offer, whatever the list showed before.
            if (panel.choices)
                panel.choices.chooseDefault()
            panel.choicesOffered = false
            panel.startRequested()
            startUpdateButton.visible = false
        }
    }

    FramedButton {
        id: closeApplicationButton
        objectName: "closeApplicationButton"
        anchors.top: infoText.bottom
        anchors.topMargin: panel.height * 0.2
        anchors.horizontalCenter: parent.horizontalCenter
        width: panel.columnWidth
        text: qsTr("EXIT")
        Accessible.description: qsTr("Closes this application")
        textScale: 0.25
        onClicked: {
            panel.exitRequested()
            Qt.quit()
        }
    }

    FramedButton {
        id: tryAgainButton
        objectName: "tryAgainButton"
        visible: false
        anchors.top: closeApplicationButton.bottom
        anchors.topMargin: panel.height * 0.02
        anchors.horizontalCenter: parent.horizontalCenter
        width: panel.columnWidth
        text: qsTr("Try again")
        textScale: 0.25
        onClicked: panel.retryRequested()
    }

    Connections {
        target: panel.choices
        function onUpToDateChanged() { panel.showUpToDate() }
    }

    // "Other versions..." and "Install from file..." at the foot of the update screen.
    Row {
        anchors.bottom: parent.bottom
        anchors.bottomMargin: panel.height * 0.03
        anchors.horizontalCenter: parent.horizontalCenter
        spacing: panel.columnWidth * 0.04
        visible: panel.choicesOffered && !choicesPage.visible

        FramedButton {
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
        columnWidth: panel.columnWidth
        pageTop: panel.logoBottom
        onVersionChosen: {
            panel.leaveChoices()
            panel.startRequested()
        }
        onLocalFileChosen: function(summary) {
            panel.leaveChoices()
            versionText.text = summary
            panel.localInstallStarted()
        }
    }
}
