import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Controls.Material 2.15

ApplicationWindow {
    id: window
    width: 720 / 2
    height: 750
    visible: true
    color: "black"
    Material.theme: Material.Dark
}
