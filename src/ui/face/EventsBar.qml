import QtQuick
import Orvane.Common
import Orvane.Face

// The titled panel around the events strip; absent when the bundle has no events.
Panel {
    id: bar
    property ClockFaceController face

    visible: face.events.length > 0
    height: visible ? implicitHeight : 0
    title: face.labels.upcoming_dates
    bottomSpacer: true

    EventsStripView {
        events: bar.face.events
        lang: bar.face.lang
        todayLabel: bar.face.labels.today
        daysShortLabel: bar.face.labels.days_short
    }
}
