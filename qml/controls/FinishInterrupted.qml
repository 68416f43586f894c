import QtQuick 2.15

// The home screen's offer when an update was interrupted and the instrument still waits in
// update mode: the sentence and "Finish update". Shown while the published InterruptedUpdate
// offers it; the user sets the width and the position.
Column {
    id: offer

    // The published InterruptedUpdate, or null: without it nothing shows.
    property QtObject interrupted: null

    visible: interrupted !== null && interrupted.offered
    spacing: width * 0.06

    Text {
        objectName: "interruptedText"
        width: offer.width
        textFormat: Text.PlainText
        text: offer.interrupted ? offer.interrupted.text : ""
        color: "white"
        font.family: "Poppins"
        font.pixelSize: Math.floor(Math.max(offer.width * 0.06, 10))
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
        Accessible.role: Accessible.AlertMessage
        Accessible.name: text
    }

    FramedButton {
        objectName: "finishUpdateButton"
        width: offer.width
        visible: offer.visible
        text: qsTr("Finish update")
        textScale: 0.25
        Accessible.description: qsTr("Copies the update file onto Tavlo and tells it to apply it")
        onClicked: if (offer.interrupted) offer.interrupted.finish()
    }
}
