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

    // Quit, as desktop programs do; with no tray it is the way out besides the close notice.
    Shortcut {
        sequence: "Ctrl+Q"
        context: Qt.ApplicationShortcut
        onActivated: window.controller.requestQuit()
    }

    RootView {
        anchors.fill: parent
        controller: window.controller
    }
}
