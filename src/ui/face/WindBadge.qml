import QtQuick
import Orvane.Common
import Orvane.Face

// A wind text behind a swaying wind symbol with three flickering streaks; the motion starts when the
// badge appears and never stops on its own.
Row {
    id: badge

    property string text
    property font font: Qt.font({ family: Theme.fontFamily, pixelSize: Theme.caption })
    property real iconSize: 11
    property bool animate: false
    // An animation that runs while nothing shows it still makes the window draw every frame.
    readonly property bool moving: animate && visible && Window.visibility !== Window.Hidden
                                   && Window.visibility !== Window.Minimized

    spacing: 4
    // Read as the symbol and the figure say it.
    Accessible.role: Accessible.StaticText
    Accessible.name: "Wind " + badge.text
    Component.onCompleted: animate = true

    Item {
        width: 26
        height: 16
        anchors.verticalCenter: parent.verticalCenter

        Repeater {
            model: 3
            Rectangle {
                id: streak
                required property int index
                x: 12 + 4 * index
                y: (parent.height - height) / 2 + 2.5 * (index - 1)
                width: 5 + 3 * index
                height: 1.2
                radius: 0.6
                color: Qt.rgba(Theme.textMuted.r, Theme.textMuted.g, Theme.textMuted.b, 0.25)
                opacity: 0.55
                SequentialAnimation on opacity {
                    running: badge.moving
                    loops: Animation.Infinite
                    PauseAnimation { duration: 120 * streak.index }
                    SequentialAnimation {
                        loops: Animation.Infinite
                        NumberAnimation { to: 0.15; duration: 900 + 150 * streak.index; easing.type: Easing.InOutQuad }
                        NumberAnimation { to: 0.55; duration: 900 + 150 * streak.index; easing.type: Easing.InOutQuad }
                    }
                }
            }
        }

        SymbolIcon {
            id: windSymbol
            name: "wind"
            size: badge.iconSize
            color: Theme.textMuted
            y: (parent.height - height) / 2
            rotation: -10
            transform: Translate { id: sway; x: -1.5; y: 0.5 }
            SequentialAnimation {
                running: badge.moving
                loops: Animation.Infinite
                ParallelAnimation {
                    NumberAnimation { target: windSymbol; property: "rotation"; to: 14; duration: 1400; easing.type: Easing.InOutQuad }
                    NumberAnimation { target: sway; property: "x"; to: 1.5; duration: 1400; easing.type: Easing.InOutQuad }
                    NumberAnimation { target: sway; property: "y"; to: -0.5; duration: 1400; easing.type: Easing.InOutQuad }
                }
                ParallelAnimation {
                    NumberAnimation { target: windSymbol; property: "rotation"; to: -10; duration: 1400; easing.type: Easing.InOutQuad }
                    NumberAnimation { target: sway; property: "x"; to: -1.5; duration: 1400; easing.type: Easing.InOutQuad }
                    NumberAnimation { target: sway; property: "y"; to: 0.5; duration: 1400; easing.type: Easing.InOutQuad }
                }
            }
        }
    }

    Text {
        anchors.verticalCenter: parent.verticalCenter
        text: badge.text
        font: badge.font
        color: Theme.textMuted
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: Math.max(1, Math.floor(badge.font.pixelSize * 0.8))
        elide: Text.ElideRight
        maximumLineCount: 1
        textFormat: Text.PlainText
    }
}
