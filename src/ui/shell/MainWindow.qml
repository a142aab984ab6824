import QtQuick
import QtQuick.Window
import Orvane.Common
import Orvane.Shell

// The one window of the clock.
Window {
    id: window
    objectName: "main"
    required property RootController controller
    title: "Orvane"
    color: Theme.bg

    RootView {
        anchors.fill: parent
        controller: window.controller
    }
}
