import QtQuick 2.15

// Why the MIDI system or the instrument's port cannot be used, with what to do: the
// published Presence's sentence, shown as plain text while there is one. The user sets the
// width and the position.
Text {
    id: problemText
    objectName: "midiProblemText"

    // The sentence; empty while nothing stands in the way (then nothing is shown).
    property string problem: ""

    visible: problem !== ""
    text: problem
    textFormat: Text.PlainText
    color: "#ffb0a0"
    font.family: "Poppins"
    wrapMode: Text.WordWrap
    horizontalAlignment: Text.AlignHCenter
    Accessible.role: Accessible.AlertMessage
    Accessible.name: text
}
