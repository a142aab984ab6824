import QtQuick
import Orvane.Common
import Orvane.Face

// The wide face: the 1280-point design canvas, scaled as one piece to fit the window and standing at its
// top centre. It reports its natural height, which sets the window's aspect.
Item {
    id: wide
    property ClockFaceController face
    property Component alertsPanel: null
    property Component qiblaPanel: null
    property Component weatherPanel: null
    property Component forecastStrip: null
    property Component sunSidePanel: null
    property Component moonSidePanel: null

    readonly property real sideW: 325.52
    readonly property real rowH: face.mainRowH

    Item {
        id: canvas
        objectName: "canvas"
        width: 1280
        height: content.implicitHeight + 28
        x: (wide.width - width) / 2
        transformOrigin: Item.Top
        scale: wide.face.canvasScale
        onHeightChanged: wide.face.reportContentHeight(height)
        Component.onCompleted: wide.face.reportContentHeight(height)

        Column {
            id: content
            x: 14
            y: 14
            width: 1252
            spacing: 12

            FaceHeader { width: parent.width; face: wide.face }

            PanelSlot {
                width: parent.width
                panel: wide.alertsPanel
                placeholderTitle: wide.face.labels.status_alerts
                placeholderHeight: 64
            }

            Row {
                spacing: 12
                height: wide.rowH
                PanelSlot {
                    width: wide.sideW
                    height: wide.rowH
                    panel: wide.qiblaPanel
                    placeholderTitle: wide.face.labels.street_view
                    placeholderHeight: wide.rowH
                }
                Item {
                    width: content.width - 2 * wide.sideW - 24
                    height: wide.rowH
                    CenterCard {
                        id: card
                        width: parent.width
                        height: implicitHeight
                        face: wide.face
                        sunSidePanel: wide.sunSidePanel
                        moonSidePanel: wide.moonSidePanel
                        onImplicitHeightChanged: wide.face.reportCenterColumnHeight(implicitHeight)
                        Component.onCompleted: wide.face.reportCenterColumnHeight(implicitHeight)
                    }
                }
                Column {
                    width: wide.sideW
                    height: wide.rowH
                    spacing: 12
                    PanelSlot {
                        width: parent.width
                        panel: wide.weatherPanel
                        placeholderHeight: wide.face.weatherShowsMoon ? 272 : 112
                    }
                    PanelSlot {
                        width: parent.width
                        // weatherFitHeight is the forecast grid's own height; the card's title and
                        // padding (54) come on top of it.
                        height: wide.face.weatherFitHeight + 54
                        panel: wide.forecastStrip
                        placeholderHeight: wide.face.weatherFitHeight + 54
                    }
                }
            }

            EventsBar { width: parent.width; face: wide.face }
            StatusRow {
                objectName: "statusRow"
                anchors.horizontalCenter: parent.horizontalCenter
                pills: wide.face.statusPills
            }
            SourcesBar { width: parent.width; face: wide.face }
        }
    }
}
