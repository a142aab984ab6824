import QtQuick
import Orvane.Common
import Orvane.Panels

// The live sun picture in its circle with the soft golden glow: the picture, a spinner while the first
// one loads, or a drawn sun when there is none.
Item {
    id: root
    property string imageURL
    property real size: 120
    property real glow: 10

    width: size
    height: size

    Repeater {
        // The glow: a few faint golden rings fading outward.
        model: 4
        Rectangle {
            required property int index
            readonly property real spread: root.glow * (index + 1) / 4
            x: -spread; y: -spread
            width: root.size + 2 * spread; height: width
            radius: width / 2
            color: "transparent"
            border.width: root.glow / 4 + 0.5
            border.color: Qt.rgba(Theme.gold.r, Theme.gold.g, Theme.gold.b, 0.25 * (1 - index / 4) * 0.5)
        }
    }
    Rectangle {
        // Black behind a picture that is still loading; the failed state draws its own disc.
        anchors.fill: parent
        radius: width / 2
        visible: picture.phase !== NasaSunImageView.Failed
        color: "black"
    }
    NasaSunImageView {
        id: picture
        objectName: "sunPicture"
        anchors.fill: parent
        imageURL: root.imageURL
        circular: true
    }
    Spinner {
        anchors.centerIn: parent
        visible: picture.phase === NasaSunImageView.Loading
    }
    PanelIcon {
        anchors.centerIn: parent
        visible: picture.phase === NasaSunImageView.Failed
        name: "sun.max.fill"
        color: "yellow"
        size: root.size * 0.5
    }
    Rectangle {
        anchors.fill: parent
        radius: width / 2
        color: "transparent"
        border.color: Theme.line
        border.width: 1
    }
}
