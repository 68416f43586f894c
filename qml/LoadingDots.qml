import QtQuick 2.15

// Animates a waiting text: every tick one more dot, up to three, then none again.
// text is the base text with the dots of the current frame; each tick reports it.
Timer {
    id: dots
    objectName: "loadingTimer"

    readonly property var frames: ["", ".", "..", "..."]
    property string baseText: ""
    property int frame: 0
    readonly property string text: baseText + frames[frame]

    signal ticked(string text)

    // Starts over from the base text without dots.
    function begin(base) {
        baseText = base
        frame = 0
        start()
    }

    function end() {
        stop()
        frame = 0
    }

    interval: 500
    repeat: true
    onTriggered: {
        frame = (frame + 1) % frames.length
        ticked(text)
    }
}
