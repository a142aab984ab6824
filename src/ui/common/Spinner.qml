import QtQuick
import Orvane.Common

// A ring of dots turning while work is under way; it turns only while it is shown. Drawn with plain items
// so that a face that waits for a picture does not need the control library for it.
Item {
    id: spinner
    property color color: Theme.gold

    implicitWidth: 40
    implicitHeight: 40
    Accessible.role: Accessible.Indicator
    Accessible.name: "Loading"

    Repeater {
        model: 8
        Rectangle {
            required property int index
            readonly property real angle: index * Math.PI / 4
            width: spinner.width / 7
            height: width
            radius: width / 2
            x: spinner.width / 2 + Math.cos(angle) * (spinner.width - width) / 2 - width / 2
            y: spinner.height / 2 + Math.sin(angle) * (spinner.height - height) / 2 - height / 2
            color: spinner.color
            opacity: 0.25 + 0.75 * index / 7
        }
    }
    RotationAnimation on rotation {
        from: 0
        to: 360
        duration: 1000
        loops: Animation.Infinite
        running: spinner.visible
    }
}
