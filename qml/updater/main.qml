import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Controls.Material 2.15

// The window of the update-only edition: connection indicator and the update flow.
// The three program objects are context properties that may be absent; every call and
// every connection to them is guarded, and the window only reacts to their signals.
ApplicationWindow {
    id: window
    objectName: "window"

    width: 720 / 2
    height: 720
    minimumWidth: 720 / 2
    minimumHeight: 720
    maximumWidth: 1080 / 2
    maximumHeight: 1080
    visible: true
    color: "black"
    Material.theme: Material.Dark

    property bool update_available: true
    property bool update_started: false

    readonly property string connectedText: "Tavlo is connected"

    Connections {
        target: typeof midiHandler !== "undefined" ? midiHandler : null

        function onDeviceFound(isConnected) {
            if (isConnected) {
                if (window.update_started)
                    return
                logoContainer.dotColor = "green"
                logoContainer.labelText = window.connectedText
                logoContainer.labelColor = "white"
                updateButton.visible = true
            } else {
                // Shown also during an update: the dot turns red beside the update texts.
                logoContainer.dotColor = "red"
                logoContainer.labelText = "Tavlo is not connected"
                logoContainer.labelColor = "white"
                updateButton.visible = false
            }
        }
    }

    Connections {
        target: typeof downloader !== "undefined" ? downloader : null

        function onLatestVersionFetched(version) {
            versionText.text = "The latest available version is Tvx" + version
        }

        function onDownloadingProgressBar(progress) {
            versionText.text = "Downloading... " + progress + "%"
        }

        function onVersionCheck(available) {
            if (!available)
                return
            versionText.text = "The latest version is already installed!"
            infoText.text = "The latest version is already installed! You can now close this application."
            console.log("The latest version is already installed!")
            window.update_available = false
        }
    }

    Connections {
        target: typeof mainController !== "undefined" ? mainController : null

        function onFileTransferComplete(success) {
            if (success) {
                versionText.text = "File transfer complete!"
                infoText.text = "File transfer complete! Tavlo will now reboot to apply the update. You can now close this application."
            } else {
                versionText.text = "File transfer failed!"
                infoText.text = "Something went wrong during the file transfer. Please try again or contact support."
            }
            closeApplicationButton.visible = true
        }

        function onCopyingFileProgress(progress) {
            // The text arrives with its percent sign.
            versionText.text = "Transfering file... " + progress
        }
    }

    Rectangle {
        id: logoContainer
        objectName: "logoContainer"

        property color dotColor: "orange"
        property string labelText: "Looking for Tavlo"
        property color labelColor: "white"

        anchors.top: parent.top
        anchors.topMargin: window.height * 0.08
        anchors.horizontalCenter: parent.horizontalCenter
        width: window.width * 0.5
        // Follows the logo's proportions; square until the image is known.
        height: backgroundImage.sourceSize.width > 0
                ? width * backgroundImage.sourceSize.height / backgroundImage.sourceSize.width
                : width
        color: "transparent"

        Image {
            id: backgroundImage
            objectName: "backgroundImage"
            anchors.fill: parent
            source: "qrc:/icons/icons/logo_middle.png"
            fillMode: Image.PreserveAspectFit
            smooth: true
        }

        Image {
            objectName: "foregroundImage"
            anchors.fill: parent
            source: "qrc:/icons/icons/logo_circle.png"
            fillMode: Image.PreserveAspectFit
            smooth: true
        }

        Row {
            id: dotAndLabelRow
            objectName: "dotAndLabelRow"
            anchors.top: backgroundImage.bottom
            anchors.topMargin: 10
            anchors.horizontalCenter: parent.horizontalCenter
            width: logoContainer.width * 0.5
            height: logoContainer.height * 0.3
            spacing: 10

            Rectangle {
                id: connectionIndication
                objectName: "connectionIndication"
                width: dotAndLabelRow.width * 0.07
                height: width
                radius: 5
                color: logoContainer.dotColor
                anchors.verticalCenter: connectionlabel.verticalCenter
            }

            Text {
                id: connectionlabel
                objectName: "connectionlabel"
                text: logoContainer.labelText
                color: logoContainer.labelColor
                font.family: "Poppins"
                font.pixelSize: dotAndLabelRow.width * 0.1
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
            }
        }
    }

    Button {
        id: updateButton
        objectName: "updateButton"
        anchors.top: logoContainer.bottom
        anchors.topMargin: window.height * 0.1
        anchors.horizontalCenter: parent.horizontalCenter
        width: logoContainer.width
        height: logoContainer.width / 3
        visible: false
        text: "Update"
        font.family: "Poppins"
        font.bold: true
        // The texts show as written; the style would otherwise put them in capitals.
        font.capitalization: Font.MixedCase
        font.pixelSize: Math.max(height * 0.35, 1)
        background: Rectangle {
            color: "black"
            border.color: "white"
            border.width: 2
        }
        onClicked: {
            updateButton.visible = false
            versionText.visible = true
            infoText.visible = true
            if (window.update_available)
                startUpdateButton.visible = true
            else
                closeApplicationButton.visible = true
        }
    }

    Text {
        id: versionText
        objectName: "versionText"
        anchors.top: logoContainer.bottom
        anchors.topMargin: window.height * 0.02
        anchors.horizontalCenter: parent.horizontalCenter
        width: logoContainer.width
        height: logoContainer.width / 2
        visible: false
        text: "Looking for the latest version or Tvx..."
        color: "white"
        font.family: "Poppins"
        font.bold: true
        font.pixelSize: Math.max(height * 0.15, 1)
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }

    Text {
        id: infoText
        objectName: "infoText"
        anchors.top: versionText.bottom
        anchors.topMargin: window.height * 0.1
        anchors.horizontalCenter: parent.horizontalCenter
        width: logoContainer.width
        height: logoContainer.width / 4
        visible: false
        text: "PLEASE MAKE SURE THAT TAVLO IS CONNECTED TO THE BREAKOUT MODULE AND THAT THE MIDI USB PORT IS NOT CONNECTED TO ANY DEVICE \n \n \n The update will take several minutes and Tavlo might reboot multiple times during the process. \n \n  DO NOT UNPLUG power or disconnect the Breakout Module until the update is done"
        color: "white"
        font.family: "Poppins"
        font.bold: true
        font.pixelSize: Math.max(height * 0.21, 1)
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }

    Button {
        id: startUpdateButton
        objectName: "startUpdateButton"
        anchors.top: infoText.bottom
        anchors.topMargin: window.height * 0.2
        anchors.horizontalCenter: parent.horizontalCenter
        width: logoContainer.width
        height: logoContainer.width / 3
        visible: false
        text: "Start Update"
        font.family: "Poppins"
        font.bold: true
        font.capitalization: Font.MixedCase
        font.pixelSize: Math.max(height * 0.25, 1)
        background: Rectangle {
            color: "black"
            border.color: "white"
            border.width: 2
        }
        onClicked: {
            if (typeof downloader !== "undefined" && downloader)
                downloader.downloadFile()
            startUpdateButton.visible = false
            window.update_started = true
        }
    }

    Button {
        id: closeApplicationButton
        objectName: "closeApplicationButton"
        anchors.top: infoText.bottom
        anchors.topMargin: window.height * 0.2
        anchors.horizontalCenter: parent.horizontalCenter
        width: logoContainer.width
        height: logoContainer.width / 3
        visible: false
        text: "EXIT"
        font.family: "Poppins"
        font.bold: true
        font.capitalization: Font.MixedCase
        font.pixelSize: Math.max(height * 0.25, 1)
        background: Rectangle {
            color: "black"
            border.color: "white"
            border.width: 2
        }
        onClicked: Qt.quit()
    }
}
