import QtQuick
import Orvane.Common
import Orvane.Face

// The five capsules under the dial: one row on the wide face, rows of three and two on a phone.
Column {
    id: capsules
    property ClockFaceController face
    property bool phone: false

    readonly property var items: [
        { title: face.labels.play_adhan, symbol: "play.fill", action: "play" },
        { title: face.learnButtonTitle, symbol: "text.book.closed.fill", action: "learn" },
        { title: face.labels.read_quran, symbol: "book.fill", action: "quran" },
        { title: face.labels.calendar, symbol: "calendar", action: "calendar" },
        { title: face.labels.sky_map, symbol: "sparkles", action: "sky" }
    ]

    function run(action) {
        if (action === "play") face.playAdhan()
        else if (action === "learn") face.showLearnAdhan = true
        else if (action === "quran") face.showQuran = true
        else if (action === "calendar") face.showCalendar = true
        else if (action === "sky") face.showPlanetarium = true
    }

    spacing: 5
    Repeater {
        model: capsules.phone ? [capsules.items.slice(0, 3), capsules.items.slice(3)] : [capsules.items]
        Row {
            id: capsuleRow
            required property var modelData
            readonly property real gap: capsules.phone ? 5 : 8
            width: capsules.width
            spacing: gap
            Repeater {
                model: capsuleRow.modelData
                FaceCapsule {
                    required property var modelData
                    objectName: "capsule_" + modelData.action
                    width: (capsuleRow.width - capsuleRow.gap * (capsuleRow.modelData.length - 1))
                           / capsuleRow.modelData.length
                    title: modelData.title
                    symbol: modelData.symbol
                    phone: capsules.phone
                    onActivated: capsules.run(modelData.action)
                }
            }
        }
    }
}
