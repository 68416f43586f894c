import QtQuick 2.15

// The logo with the connection indicator under it: a coloured dot and a label. Orange
// while the instrument is looked for, green once it is connected, red when it is not, as
// the published Presence says (presence; without it, the first of these).
// The user sets the width and the position; the sizes of the row, the dot and the label
// are the window's to choose (the defaults are the main window's).
Rectangle {
    id: logoContainer
    objectName: "logoContainer"

    // The published Presence, or null.
    property QtObject presence: null
    readonly property color dotColor: presence ? presence.dotColor : "orange"
    readonly property string labelText: presence ? presence.labelText : qsTr("Looking for Tavlo")
    readonly property color labelColor: "white"
    // The instrument is there, whatever the indicator shows meanwhile.
    readonly property bool connected: presence !== null && presence.connected

    // Draws the logo through a layer from images decoded at twice its size.
    property bool sharpLogo: true
    property real rowWidth: Math.min(logoContainer.width * 0.8, dotAndLabelRow.implicitWidth)
    property real rowHeight: logoContainer.height * 0.18
    property real dotSize: logoContainer.width * 0.055
    property real labelPixelSize: Math.max(9, Math.round(logoContainer.width * 0.06))
    property int labelRenderType: Text.NativeRendering
    // A page of the window lies over the row: it is neither seen nor read out then.
    property bool covered: false
    // The logo image's own size (once it is loaded).
    readonly property size logoSourceSize: backgroundImage.sourceSize

    height: width
    color: "transparent"
    Accessible.role: Accessible.Graphic
    Accessible.name: qsTr("Tavlo logo")

    Image {
        id: backgroundImage
        objectName: "backgroundImage"
        anchors.fill: parent
        source: "qrc:/icons/icons/logo_middle.png"
        // Decoded off the window thread, so the first frame does not wait for it.
        asynchronous: true
        fillMode: Image.PreserveAspectFit
        smooth: true
        layer.enabled: logoContainer.sharpLogo
        layer.smooth: true
    }

    Image {
        id: foregroundImage
        objectName: "foregroundImage"
        anchors.fill: parent
        source: "qrc:/icons/icons/logo_circle.png"
        // Decoded off the window thread, so the first frame does not wait for it.
        asynchronous: true
        fillMode: Image.PreserveAspectFit
        smooth: true
        layer.enabled: logoContainer.sharpLogo
        layer.smooth: true
    }

    // A sharp logo is decoded at twice its shown size; otherwise at the images' own.
    Binding {
        target: backgroundImage
        property: "sourceSize"
        when: logoContainer.sharpLogo
        value: Qt.size(Math.round(logoContainer.width * 2), Math.round(logoContainer.height * 2))
    }

    Binding {
        target: foregroundImage
        property: "sourceSize"
        when: logoContainer.sharpLogo
        value: Qt.size(Math.round(logoContainer.width * 2), Math.round(logoContainer.height * 2))
    }

    Row {
        id: dotAndLabelRow
        objectName: "dotAndLabelRow"
        anchors.top: backgroundImage.bottom
        anchors.topMargin: 10
        anchors.horizontalCenter: parent.horizontalCenter
        visible: (!logoContainer.presence || logoContainer.presence.indicatorShown) && !logoContainer.covered
        width: logoContainer.rowWidth
        height: logoContainer.rowHeight
        spacing: 10

        Rectangle {
            id: connectionIndication
            objectName: "connectionIndication"
            width: logoContainer.dotSize
            height: width
            radius: 5
            color: logoContainer.dotColor
            anchors.verticalCenter: connectionlabel.verticalCenter
        }

        Text {
            id: connectionlabel
            objectName: "connectionlabel"
            textFormat: Text.PlainText
            text: logoContainer.labelText
            color: logoContainer.labelColor
            font.family: "Poppins"
            font.pixelSize: Math.floor(logoContainer.labelPixelSize)
            renderType: logoContainer.labelRenderType
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }
}
