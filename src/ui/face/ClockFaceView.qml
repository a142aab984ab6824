import QtQuick
import QtQuick.Window
import Orvane.Common
import Orvane.Face

// The clock face: the scaled wide canvas above 760 points of width, the scrolling column at or below it,
// the Quran reader over everything while it is open, and the calendar, sky-map and learn-the-call sheets.
// The panels of the face and the sheets' views are given as components; a slot without one keeps its
// place with a plain card.
Rectangle {
    id: root

    property alias face: controller
    property Component alertsPanel: null
    property Component qiblaPanel: null
    property Component weatherPanel: null
    property Component forecastStrip: null
    property Component sunSidePanel: null
    property Component moonSidePanel: null
    property Component skyDetailPanel: null
    property Component quranReader: null
    property Component calendarSheet: null
    property Component planetariumSheet: null
    property Component learnAdhanSheet: null

    color: Theme.bg

    ClockFaceController {
        id: controller
        objectName: "faceController"
        windowWidth: root.width
        windowHeight: root.height
        // A closed window needs no ticking texts; reopening it reads the clock at once.
        followsClock: root.Window.window !== null && root.Window.window.visible
    }

    Loader {
        objectName: "layout"
        anchors.fill: parent
        // Under an open sheet or the reader the face takes no keys, so Tab stays in what is open.
        enabled: !controller.showCalendar && !controller.showPlanetarium && !controller.showLearnAdhan
                 && !controller.showQuran
        // The reader covers it whole: nothing of it is shown, to the eye or to a screen reader.
        visible: !controller.showQuran
        sourceComponent: controller.wide ? wideLayout : phoneLayout
    }

    Component {
        id: wideLayout
        WideFaceLayout {
            face: controller
            alertsPanel: root.alertsPanel
            qiblaPanel: root.qiblaPanel
            weatherPanel: root.weatherPanel
            forecastStrip: root.forecastStrip
            sunSidePanel: root.sunSidePanel
            moonSidePanel: root.moonSidePanel
        }
    }
    Component {
        id: phoneLayout
        PhoneFaceLayout {
            face: controller
            alertsPanel: root.alertsPanel
            qiblaPanel: root.qiblaPanel
            weatherPanel: root.weatherPanel
            forecastStrip: root.forecastStrip
            sunSidePanel: root.sunSidePanel
            moonSidePanel: root.moonSidePanel
            skyDetailPanel: root.skyDetailPanel
        }
    }

    SheetFrame {
        anchors.fill: parent
        open: controller.showCalendar
        minimumWidth: 720
        minimumHeight: 640
        title: controller.labels.calendar
        content: root.calendarSheet
        onClosed: controller.showCalendar = false
    }
    SheetFrame {
        anchors.fill: parent
        open: controller.showPlanetarium
        minimumWidth: 960
        minimumHeight: 640
        title: controller.labels.sky_map
        content: root.planetariumSheet
        onClosed: controller.showPlanetarium = false
    }
    SheetFrame {
        anchors.fill: parent
        open: controller.showLearnAdhan
        minimumWidth: 720
        minimumHeight: 480
        title: controller.labels.learn_adhan
        content: root.learnAdhanSheet
        onClosed: controller.showLearnAdhan = false
    }

    Rectangle {
        id: quranOverlay
        readonly property bool open: controller.showQuran
        objectName: "quranOverlay"
        anchors.fill: parent
        visible: open
        z: 2000
        color: Theme.bg
        // Closed, the reader gives the focus back to what opened it, as the sheets do.
        onOpenChanged: if (!open) readerOpener.giveBack()
        FocusReturn { id: readerOpener; owner: quranOverlay; watching: !quranOverlay.open }
        TapHandler {}
        Loader {
            anchors.fill: parent
            active: quranOverlay.open
            sourceComponent: root.quranReader !== null ? root.quranReader : readerPlaceholder
        }
        Component {
            id: readerPlaceholder
            Item {
                FocusButton {
                    anchors.right: parent.right
                    anchors.top: parent.top
                    anchors.margins: 10
                    width: readerDone.implicitWidth + 12
                    height: readerDone.implicitHeight + 12
                    focusRadius: 6
                    text: "Done"
                    focus: true
                    onClicked: controller.showQuran = false
                    ThemeText {
                        id: readerDone
                        anchors.centerIn: parent
                        Accessible.ignored: true
                        text: "Done"
                        semibold: true
                        color: Theme.gold
                    }
                }
            }
        }
    }
}
