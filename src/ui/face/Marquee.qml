import QtQuick
import Orvane.Common
import Orvane.Face

// One line of text that scrolls right to left in a seamless loop when it does not fit (or when forced);
// two copies `gap` apart, moved by the time elapsed since the strip was created.
Item {
    id: strip

    property string text
    property font font: Qt.font({ family: Theme.fontFamily, pixelSize: Theme.caption, weight: Font.Medium })
    property color color: "white"
    property bool forceScroll: false
    property real speed: 55
    property real gap: 60

    implicitHeight: 20
    clip: true
    // Read once, as one line, whatever its two scrolling copies show.
    Accessible.role: Accessible.StaticText
    Accessible.name: strip.text

    MarqueeMotion {
        id: motion
        textWidth: first.implicitWidth
        containerWidth: strip.width
        forceScroll: strip.forceScroll
        speed: strip.speed
        gap: strip.gap
    }

    FrameAnimation {
        running: motion.scrolls && strip.visible
        onTriggered: motion.advance()
    }

    Row {
        objectName: "marqueeRow"
        x: motion.scrolls ? motion.offset : 0
        height: strip.height
        spacing: strip.gap
        Text {
            id: first
            anchors.verticalCenter: parent.verticalCenter
            text: strip.text
            font: strip.font
            color: strip.color
            textFormat: Text.PlainText
        }
        Text {
            visible: motion.scrolls
            anchors.verticalCenter: parent.verticalCenter
            text: strip.text
            font: strip.font
            color: strip.color
            textFormat: Text.PlainText
        }
    }
}
