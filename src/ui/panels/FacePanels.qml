import QtQuick
import Orvane.Common
import Orvane.Face
import Orvane.Panels

// The panels the clock face places in its slots, bound to one bundle, the user's units and the face's own
// layout decisions. Give a ClockFaceView these components: alertsPanel: panels.alertsPanel, and so on.
QtObject {
    id: panels
    property ClockFaceController face
    property var bundle
    property bool metric: true

    property Component alertsPanel: Component {
        AlertsPanel { bundle: panels.bundle; metric: panels.metric }
    }
    property Component qiblaPanel: Component {
        QiblaPanel { bundle: panels.bundle; fitHeight: panels.face.wide ? panels.face.mainRowH : 0 }
    }
    property Component weatherPanel: Component {
        WeatherMoonPanel { bundle: panels.bundle; metric: panels.metric; showMoon: panels.face.weatherShowsMoon }
    }
    property Component forecastStrip: Component {
        ForecastStrip {
            bundle: panels.bundle
            metric: panels.metric
            localeName: panels.face.lang
            vertical: panels.face.wide
            fitHeight: panels.face.wide ? panels.face.weatherFitHeight : 0
        }
    }
    property Component sunSidePanel: Component {
        SunSidePanel {
            bundle: panels.bundle
            size: panels.face.sunPanelSize(width)
            imageURL: panels.face.sunImageUrl
            imagesOnly: !panels.face.wide
        }
    }
    property Component moonSidePanel: Component {
        MoonSidePanel {
            bundle: panels.bundle
            metric: panels.metric
            size: panels.face.moonPanelSize(width)
            imagesOnly: !panels.face.wide
        }
    }
    property Component skyDetailPanel: Component {
        PhoneSkyDetailPanel {
            bundle: panels.bundle
            metric: panels.metric
            showSun: panels.face.sunInClock
            showMoon: panels.face.moonInClock
        }
    }
    // Read from its file as it opens: the sky map brings the control library and the web engine.
    property Component planetariumSheet: Component {
        LazyView { view: "qrc:/qt/qml/Orvane/Panels/PlanetariumSheet.qml"; properties: ({ face: panels.face }) }
    }
}
