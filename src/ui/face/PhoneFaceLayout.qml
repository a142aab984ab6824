import QtQuick
import Orvane.Common
import Orvane.Face

// The narrow face: every block in one scrolling column, the dial sized to the width.
Flickable {
    id: phone
    property ClockFaceController face
    property Component alertsPanel: null
    property Component qiblaPanel: null
    property Component weatherPanel: null
    property Component forecastStrip: null
    property Component sunSidePanel: null
    property Component moonSidePanel: null
    property Component skyDetailPanel: null

    contentWidth: width
    contentHeight: column.implicitHeight + 24
    flickableDirection: Flickable.VerticalFlick
    boundsBehavior: Flickable.StopAtBounds
    clip: true

    // A thin indicator of the scroll position, shown while the column is longer than the window.
    Rectangle {
        parent: phone
        visible: phone.contentHeight > phone.height
        x: phone.width - 5
        y: phone.visibleArea.yPosition * phone.height
        width: 3
        height: Math.max(20, phone.visibleArea.heightRatio * phone.height)
        radius: 1.5
        color: Qt.rgba(1, 1, 1, 0.3)
    }

    Column {
        id: column
        x: 12
        y: 12
        width: phone.width - 24
        spacing: 12

        FaceHeader { width: parent.width; face: phone.face }
        PanelSlot {
            width: parent.width
            panel: phone.alertsPanel
            placeholderTitle: phone.face.labels.status_alerts
            placeholderHeight: 64
        }
        CenterCard {
            width: parent.width
            height: implicitHeight
            face: phone.face
            phone: true
            clockSize: phone.face.phoneDialSize
            flankW: phone.face.phoneFlankWidth
            sunSidePanel: phone.sunSidePanel
            moonSidePanel: phone.moonSidePanel
            skyDetailPanel: phone.skyDetailPanel
        }
        PanelSlot {
            width: parent.width
            panel: phone.qiblaPanel
            placeholderTitle: phone.face.labels.street_view
            placeholderHeight: 220
        }
        EventsBar { width: parent.width; face: phone.face }
        PanelSlot {
            width: parent.width
            panel: phone.weatherPanel
            placeholderHeight: phone.face.weatherShowsMoon ? 272 : 112
        }
        PanelSlot {
            width: parent.width
            panel: phone.forecastStrip
            placeholderHeight: 140
        }
        StatusRow { width: parent.width; pills: phone.face.statusPills; compact: true }
        SourcesBar { width: parent.width; face: phone.face }
    }
}
