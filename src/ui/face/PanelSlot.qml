import QtQuick
import Orvane.Common
import Orvane.Face

// The place of one panel of the face: the panel when it is given, else a titled card of the slot's size
// so the layout keeps its shape.
Loader {
    id: slot
    property Component panel: null
    property string placeholderTitle
    property real placeholderHeight: 60

    sourceComponent: panel !== null ? panel : placeholder

    Component {
        id: placeholder
        Panel {
            title: slot.placeholderTitle
            Item { implicitHeight: Math.max(0, slot.placeholderHeight - 52) }
        }
    }
}
