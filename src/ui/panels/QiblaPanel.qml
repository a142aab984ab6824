import QtQuick
import Orvane.Common
import Orvane.Panels

// The direction of prayer: a street-level picture looking along the bearing with an arrow on the ground,
// and a north-up map with the arrow turned to the bearing.
Column {
    id: panel
    property var bundle
    property bool compact: false

    spacing: 12
    width: parent ? parent.width : 325

    // Height given by the face's row, 0 when the panel takes its natural height.
    property real fitHeight: 0
    // Two cards of title, caption and padding, and the gap between them.
    readonly property real chrome: 2 * (38 + 6 + 20 + 14) + spacing
    readonly property real blockWidth: qibla.blockWidth(width - 28, fitHeight > 0 ? fitHeight - chrome : 0)

    readonly property QiblaPanelModel qibla: QiblaPanelModel { bundle: panel.bundle }

    component Placeholder: Rectangle {
        color: Theme.panelHi
        PanelIcon { anchors.centerIn: parent; name: "map"; color: Theme.textMuted; size: Theme.largeTitle; opacity: 0.45 }
    }

    Panel {
        width: panel.width
        title: qibla.streetTitle
        bottomSpacer: true
        Column {
            spacing: 6
            RoundedBox {
                objectName: "streetBlock"
                anchors.horizontalCenter: parent.horizontalCenter
                width: panel.blockWidth
                height: width * 3 / 4
                radius: 10
                color: Theme.panelHi
                clip: true
                Placeholder { anchors.fill: parent; visible: street.status !== Image.Ready && qibla.streetViewAvailable }
                Image {
                    id: street
                    anchors.fill: parent
                    fillMode: Image.PreserveAspectCrop
                    source: qibla.streetUrl
                    asynchronous: true
                }
                Rectangle {
                    objectName: "noStreetView"
                    anchors.fill: parent
                    visible: !qibla.streetViewAvailable
                    gradient: Gradient {
                        GradientStop { position: 0; color: Theme.panelHi }
                        GradientStop { position: 1; color: Theme.bg }
                    }
                    NoStreetViewPicture {
                        id: nosv
                        objectName: "noStreetViewPicture"
                        anchors.fill: parent
                        locationKey: parent.visible ? qibla.locationKey : ""
                    }
                    Column {
                        visible: !nosv.hasImage
                        anchors.centerIn: parent
                        spacing: 6
                        PanelIcon { anchors.horizontalCenter: parent.horizontalCenter; name: "eye.slash"; color: Theme.textMuted; size: Theme.title }
                        ThemeText { text: "Street View not available"; textStyle: "caption"; color: Theme.textMuted }
                    }
                }
                NorthIndicator {
                    visible: qibla.streetViewAvailable
                    anchors { top: parent.top; right: parent.right; margins: 8 }
                    turn: -qibla.bearing
                }
                Rectangle {
                    visible: qibla.streetViewAvailable
                    anchors.centerIn: parent
                    width: 14; height: 14; radius: 7
                    color: "red"
                    border.color: "white"; border.width: 2
                }
                Arrow3D {
                    visible: qibla.streetViewAvailable
                    anchors { horizontalCenter: parent.horizontalCenter; bottom: parent.bottom; bottomMargin: 10 }
                    width: 44; height: 56
                }
                Rectangle {
                    anchors { left: parent.left; bottom: parent.bottom; margins: 8 }
                    width: capsule.implicitWidth + 20
                    height: capsule.implicitHeight + 10
                    radius: height / 2
                    color: Qt.rgba(0, 0, 0, 0.6)
                    ThemeText { id: capsule; anchors.centerIn: parent; text: qibla.bearingCapsule; textStyle: "caption"; bold: true }
                }
            }
            ThemeText {
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: qibla.streetCaption
                textStyle: "caption2"
                color: Theme.green
            }
        }
    }

    Panel {
        width: panel.width
        title: qibla.mapTitle
        bottomSpacer: true
        Column {
            spacing: 6
            RoundedBox {
                objectName: "mapBlock"
                anchors.horizontalCenter: parent.horizontalCenter
                width: panel.blockWidth
                height: width
                radius: 10
                color: Theme.panelHi
                clip: true
                Placeholder { anchors.fill: parent; visible: map.status !== Image.Ready }
                Image {
                    id: map
                    anchors.fill: parent
                    fillMode: Image.PreserveAspectCrop
                    source: qibla.mapUrl
                    asynchronous: true
                }
                PanelIcon {
                    anchors.centerIn: parent
                    name: "location.north.fill"
                    color: Theme.green
                    size: 34
                    rotation: qibla.bearing
                }
                // The map is drawn north up, so its indicator points straight up.
                NorthIndicator { anchors { top: parent.top; right: parent.right; margins: 8 } }
            }
            Row {
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: 6
                PanelIcon { anchors.verticalCenter: parent.verticalCenter; name: "safari"; color: Theme.green; size: Theme.caption }
                ThemeText { text: qibla.mapCaption; textStyle: "caption"; semibold: true }
            }
        }
    }
}
