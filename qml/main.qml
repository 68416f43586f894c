import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Controls.Material 2.15

// The main window: connection indicator, the update flow and the transfer flow.
// The four program objects are context properties that may be absent; every call and
// every connection to them is guarded, and the window only reacts to their signals.
ApplicationWindow {
    id: window
    objectName: "window"

    width: 720 / 2
    height: 750
    minimumWidth: 720 / 2
    minimumHeight: 750
    maximumWidth: 1080 / 2
    maximumHeight: 1080
    visible: true
    color: "black"
    Material.theme: Material.Dark

    // Flow flags.
    property bool update_available: true
    property bool update_started: false
    property string latestVersion: ""
    property bool inUpdateFlow: false
    property bool inReenumeration: false
    property bool inTransferFlow: false
    property string minTransferVersion: "1.5.0"
    property string deviceVersion: ""

    // Loading animation.
    property var _dotFrames: ["", ".", "..", "..."]
    property int _loadingDots: 0
    property string _loadingBaseText: ""

    readonly property string connectedText: "Tavlo is connected"
    readonly property string latestVersionPrefix: "The latest available version is Tvx"

    // Compares two dotted versions part by part as integers; a missing part counts as 0
    // and a part without leading digits compares equal. Returns -1, 0 or 1.
    function compareVersions(a, b) {
        var partsA = String(a).split(".")
        var partsB = String(b).split(".")
        var count = Math.max(partsA.length, partsB.length)
        for (var i = 0; i < count; ++i) {
            var numberA = i < partsA.length ? parseInt(partsA[i], 10) : 0
            var numberB = i < partsB.length ? parseInt(partsB[i], 10) : 0
            if (numberA < numberB)
                return -1
            if (numberA > numberB)
                return 1
        }
        return 0
    }

    // "Transfer" is offered only once the instrument reported firmware 1.5.0 or later.
    function transferOffered() {
        return deviceVersion !== "" && compareVersions(deviceVersion, minTransferVersion) >= 0
    }

    function startLoading(baseText) {
        _loadingBaseText = baseText
        _loadingDots = 0
        versionText.text = baseText
        versionText.visible = true
        loadingTimer.start()
    }

    function stopLoading() {
        loadingTimer.stop()
        _loadingDots = 0
    }

    // Progress arrives as whole percent; anything outside 0..100 is clamped.
    function clampedPercentage(value) {
        var number = Number(value)
        if (isNaN(number))
            number = 0
        return Math.max(0, Math.min(100, number))
    }

    function showProgress(value, progressMode) {
        genericProgressBar.percentage = clampedPercentage(value)
        genericProgressBar.mode = progressMode
        genericProgressBar.fileName = ""
        genericProgressBar.visible = true
        versionText.visible = false
    }

    function callMidiHandler(method) {
        if (typeof midiHandler !== "undefined" && midiHandler)
            midiHandler[method]()
    }

    function callDownloader(method) {
        if (typeof downloader !== "undefined" && downloader)
            downloader[method]()
    }

    function callFileManagerBridge(method) {
        if (typeof fileManagerBridge !== "undefined" && fileManagerBridge)
            fileManagerBridge[method]()
    }

    Timer {
        id: loadingTimer
        objectName: "loadingTimer"
        interval: 500
        repeat: true
        onTriggered: {
            window._loadingDots = (window._loadingDots + 1) % 4
            versionText.text = window._loadingBaseText + window._dotFrames[window._loadingDots]
        }
    }

    Connections {
        target: typeof midiHandler !== "undefined" ? midiHandler : null

        function onDeviceFound(isConnected) {
            if (isConnected) {
                logoContainer.connected = true
                if (window.update_started)
                    return
                logoContainer.dotColor = "green"
                logoContainer.labelText = window.connectedText
                logoContainer.labelColor = "white"
                if (!window.inReenumeration && !window.inUpdateFlow && !window.inTransferFlow) {
                    updateButton.visible = true
                    transferButton.visible = window.transferOffered()
                } else if (window.inUpdateFlow) {
                    updateButton.visible = false
                    transferButton.visible = false
                }
            } else {
                // While the instrument is expected to leave the bus, its absence is not shown.
                if (window.inReenumeration)
                    return
                logoContainer.connected = false
                logoContainer.dotColor = "red"
                logoContainer.labelText = "Tavlo is not connected"
                logoContainer.labelColor = "white"
                updateButton.visible = false
                transferButton.visible = false
            }
        }

        function onTavloReceivedVersion(version) {
            window.deviceVersion = version
            // Only the home screen offers "Transfer"; a late report must not put the
            // button onto another screen.
            if (!window.inUpdateFlow && !window.inTransferFlow && !window.inReenumeration
                    && !window.update_started && logoContainer.connected)
                transferButton.visible = window.transferOffered()
        }

        function onTransferSysExReceived() {
            window.stopLoading()
            versionText.text = window.latestVersionPrefix + window.latestVersion
            versionText.visible = false
            window.inTransferFlow = true
            updateButton.visible = false
            transferButton.visible = false
            openProjectsButton.visible = true
            openDefinitionsButton.visible = true
            completeTransferButton.visible = true
            openGroovesButton.visible = true
            openMidiFilesButton.visible = true
            transferInfoText.visible = true
            window.inReenumeration = false
        }

        function onTransferSysExEndReceived() {
            window.stopLoading()
            versionText.visible = false
            versionText.text = window.latestVersionPrefix + window.latestVersion
            window.inTransferFlow = false
            updateButton.visible = true
            transferButton.visible = window.transferOffered()
            window.inReenumeration = false
        }
    }

    Connections {
        target: typeof downloader !== "undefined" ? downloader : null

        function onLatestVersionFetched(version) {
            window.latestVersion = version
            versionText.text = window.latestVersionPrefix + window.latestVersion
        }

        function onDownloadingProgressBar(progress) {
            window.showProgress(progress, "downloading")
        }

        function onVersionCheck(available) {
            if (!available)
                return
            versionText.text = "The latest version is already installed!"
            infoText.text = "The latest version is already installed! You can now close this application."
            console.log("The latest version is already installed!")
            window.update_available = false
        }

        function onDownloadStatus(success, message) {
            infoText.visible = true
            infoText.text = message
            genericProgressBar.visible = false
            if (!success) {
                versionText.text = "Download failed!"
                closeApplicationButton.visible = true
            } else {
                versionText.text = "Trying a different route now\u2014hang tight..."
                closeApplicationButton.visible = false
            }
        }
    }

    Connections {
        target: typeof mainController !== "undefined" ? mainController : null

        function onFileTransferComplete(success) {
            if (success) {
                window.inReenumeration = true
                dotAndLabelRow.visible = false
                versionText.text = "File transfer complete!"
                infoText.text = "File transfer complete! Tavlo will now reboot to apply the update. You can now close this application."
            } else {
                window.inReenumeration = false
                versionText.text = "File transfer failed!"
                infoText.text = "Something went wrong during the file transfer. Please try again or contact support."
            }
            closeApplicationButton.visible = true
            genericProgressBar.visible = false
        }

        function onCopyingFileProgress(progress) {
            window.showProgress(progress, "transfer")
        }
    }

    Rectangle {
        id: logoContainer
        objectName: "logoContainer"

        property color dotColor: "orange"
        property string labelText: "Looking for Tavlo"
        property color labelColor: "white"
        property bool connected: false

        anchors.top: parent.top
        anchors.topMargin: window.height * 0.08
        anchors.horizontalCenter: parent.horizontalCenter
        width: window.width * 0.5
        height: width
        color: "transparent"

        Image {
            id: backgroundImage
            objectName: "backgroundImage"
            anchors.fill: parent
            source: "qrc:/icons/icons/logo_middle.png"
            fillMode: Image.PreserveAspectFit
            smooth: true
            layer.enabled: true
            layer.smooth: true
            sourceSize.width: Math.round(logoContainer.width * 2)
            sourceSize.height: Math.round(logoContainer.height * 2)
        }

        Image {
            objectName: "foregroundImage"
            anchors.fill: parent
            source: "qrc:/icons/icons/logo_circle.png"
            fillMode: Image.PreserveAspectFit
            smooth: true
            layer.enabled: true
            layer.smooth: true
            sourceSize.width: Math.round(logoContainer.width * 2)
            sourceSize.height: Math.round(logoContainer.height * 2)
        }

        Row {
            id: dotAndLabelRow
            objectName: "dotAndLabelRow"
            anchors.top: backgroundImage.bottom
            anchors.topMargin: 10
            anchors.horizontalCenter: parent.horizontalCenter
            width: Math.min(logoContainer.width * 0.8, implicitWidth)
            height: logoContainer.height * 0.18
            spacing: 10

            Rectangle {
                id: connectionIndication
                objectName: "connectionIndication"
                width: logoContainer.width * 0.055
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
                font.pixelSize: Math.max(9, Math.round(logoContainer.width * 0.06))
                renderType: Text.NativeRendering
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
            window.inUpdateFlow = true
            transferButton.visible = false
            versionText.visible = true
            infoText.visible = true
            if (window.update_available)
                startUpdateButton.visible = true
            else
                closeApplicationButton.visible = true
        }
    }

    Button {
        id: transferButton
        objectName: "transferButton"
        anchors.top: updateButton.bottom
        anchors.topMargin: window.height * 0.02
        anchors.horizontalCenter: parent.horizontalCenter
        width: logoContainer.width
        height: logoContainer.width / 3
        visible: false
        text: "Transfer"
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
            window.inReenumeration = true
            window.callMidiHandler("sendTransferSysEx")
            updateButton.visible = false
            transferButton.visible = false
            window.startLoading("Connecting to Tavlo")
        }
    }

    GenericProgressBar {
        id: genericProgressBar
        objectName: "genericProgressBar"
        anchors.top: logoContainer.bottom
        anchors.topMargin: window.height * 0.01
        anchors.horizontalCenter: parent.horizontalCenter
        width: logoContainer.width
        visible: false
    }

    Text {
        id: versionText
        objectName: "versionText"
        anchors.top: genericProgressBar.visible ? genericProgressBar.bottom : logoContainer.bottom
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

    Text {
        id: infoConnectText
        objectName: "infoConnectText"
        anchors.top: logoContainer.bottom
        anchors.topMargin: window.height * 0.08
        anchors.horizontalCenter: parent.horizontalCenter
        width: logoContainer.width
        visible: logoContainer.labelText !== window.connectedText
        text: "1- Connect the USB-C to USB-A Tavlo cable to the HOST port of Tavlo (USB-C) and to the computer (USB-A).\n\n2- Ensure that the Breakout Module is connected to Tavlo by using the USB-C to USB-C cable from the Module Output on Tavlo to the USB-C port on the Breakout Module.\n\n3- Make sure that No cables are connected to the USB MIDI port of Tavlo."
        color: "white"
        font.family: "Poppins"
        font.bold: true
        font.pixelSize: Math.max(logoContainer.width * 0.038, 11)
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
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
        enabled: logoContainer.connected
        opacity: logoContainer.connected ? 1 : 0.5
        text: "Start Update"
        font.family: "Poppins"
        font.bold: true
        // The texts show as written; the style would otherwise put them in capitals.
        font.capitalization: Font.MixedCase
        font.pixelSize: Math.max(height * 0.25, 1)
        background: Rectangle {
            color: "black"
            border.color: "white"
            border.width: 2
        }
        onClicked: {
            window.callDownloader("downloadFile")
            startUpdateButton.visible = false
            window.update_started = true
            window.inUpdateFlow = false
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
        // The texts show as written; the style would otherwise put them in capitals.
        font.capitalization: Font.MixedCase
        font.pixelSize: Math.max(height * 0.25, 1)
        background: Rectangle {
            color: "black"
            border.color: "white"
            border.width: 2
        }
        onClicked: {
            window.inUpdateFlow = false
            Qt.quit()
        }
    }

    Button {
        id: openProjectsButton
        objectName: "openProjectsButton"
        anchors.top: logoContainer.bottom
        anchors.topMargin: window.height * 0.08
        anchors.horizontalCenter: parent.horizontalCenter
        width: logoContainer.width
        height: logoContainer.width / 3.2
        visible: false
        enabled: logoContainer.connected
        opacity: logoContainer.connected ? 1 : 0.5
        text: "Open Projects"
        background: Rectangle {
            color: "black"
            border.color: "white"
            border.width: 2
        }
        contentItem: Text {
            text: openProjectsButton.text
            color: "white"
            font.family: "Poppins"
            font.bold: true
            font.pixelSize: Math.max(openProjectsButton.height * 0.22, 9)
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }
        onClicked: window.callFileManagerBridge("openProjects")
    }

    Button {
        id: openDefinitionsButton
        objectName: "openDefinitionsButton"
        anchors.top: openProjectsButton.bottom
        anchors.topMargin: window.height * 0.01
        anchors.horizontalCenter: parent.horizontalCenter
        width: logoContainer.width
        height: logoContainer.width / 3.2
        visible: false
        enabled: logoContainer.connected
        opacity: logoContainer.connected ? 1 : 0.5
        text: "Open Instruments"
        background: Rectangle {
            color: "black"
            border.color: "white"
            border.width: 2
        }
        contentItem: Text {
            text: openDefinitionsButton.text
            color: "white"
            font.family: "Poppins"
            font.bold: true
            font.pixelSize: Math.max(openDefinitionsButton.height * 0.22, 9)
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }
        onClicked: window.callFileManagerBridge("openInstrumentDefinitions")
    }

    Button {
        id: openMidiFilesButton
        objectName: "openMidiFilesButton"
        anchors.top: openDefinitionsButton.bottom
        anchors.topMargin: window.height * 0.01
        anchors.horizontalCenter: parent.horizontalCenter
        width: logoContainer.width
        height: logoContainer.width / 3.2
        visible: false
        enabled: logoContainer.connected
        opacity: logoContainer.connected ? 1 : 0.5
        text: "Open MIDI Files"
        background: Rectangle {
            color: "black"
            border.color: "white"
            border.width: 2
        }
        contentItem: Text {
            text: openMidiFilesButton.text
            color: "white"
            font.family: "Poppins"
            font.bold: true
            font.pixelSize: Math.max(openMidiFilesButton.height * 0.22, 9)
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }
        onClicked: window.callFileManagerBridge("openMidiFiles")
    }

    Button {
        id: openGroovesButton
        objectName: "openGroovesButton"
        anchors.top: openMidiFilesButton.bottom
        anchors.topMargin: window.height * 0.01
        anchors.horizontalCenter: parent.horizontalCenter
        width: logoContainer.width
        height: logoContainer.width / 3.2
        visible: false
        enabled: logoContainer.connected
        opacity: logoContainer.connected ? 1 : 0.5
        text: "Open Grooves"
        background: Rectangle {
            color: "black"
            border.color: "white"
            border.width: 2
        }
        contentItem: Text {
            text: openGroovesButton.text
            color: "white"
            font.family: "Poppins"
            font.bold: true
            font.pixelSize: Math.max(openGroovesButton.height * 0.22, 9)
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }
        onClicked: window.callFileManagerBridge("openGrooves")
    }

    Text {
        id: transferInfoText
        objectName: "transferInfoText"
        anchors.top: openGroovesButton.bottom
        anchors.topMargin: window.height * 0.04
        anchors.horizontalCenter: parent.horizontalCenter
        width: logoContainer.width
        visible: false
        text: "Tavlo is now in transfer mode. You can move files between Tavlo and this computer. After you are done click the done button to finalize the transfer."
        color: "white"
        font.family: "Poppins"
        font.bold: false
        font.pixelSize: Math.max(logoContainer.width * 0.04, 12)
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
    }

    Button {
        id: completeTransferButton
        objectName: "completeTransferButton"
        anchors.top: transferInfoText.bottom
        anchors.topMargin: window.height * 0.02
        anchors.horizontalCenter: parent.horizontalCenter
        width: logoContainer.width
        height: logoContainer.width / 3.2
        visible: false
        enabled: logoContainer.connected
        opacity: logoContainer.connected ? 1 : 0.5
        text: "DONE"
        background: Rectangle {
            color: "black"
            border.color: "white"
            border.width: 2
        }
        contentItem: Text {
            text: completeTransferButton.text
            color: "white"
            font.family: "Poppins"
            font.bold: true
            font.pixelSize: Math.max(completeTransferButton.height * 0.22, 10)
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }
        onClicked: {
            window.inReenumeration = true
            window.callFileManagerBridge("completeTransfer")
            completeTransferButton.visible = false
            openDefinitionsButton.visible = false
            openProjectsButton.visible = false
            openGroovesButton.visible = false
            openMidiFilesButton.visible = false
            updateButton.visible = false
            transferButton.visible = false
            infoText.visible = false
            transferInfoText.visible = false
            window.startLoading("Finalizing Transfer")
        }
    }
}
