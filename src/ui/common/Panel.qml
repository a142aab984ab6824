import QtQuick
import Orvane.Common

// The titled card every block of the face sits on: an optional upper-case heading over the content, on
// the panel fill with a hairline border. With `fill` the card takes the height it is given; with
// `bottomSpacer` as well the content keeps its own height and the free room stays below it.
RoundedBox {
    id: card

    property string title: ""
    property bool fill: false
    property bool bottomSpacer: false
    default property Item contentItem

    readonly property bool stretchesContent: fill && !bottomSpacer

    implicitWidth: (contentItem ? contentItem.implicitWidth : 0) + 28
    implicitHeight: body.y + (contentItem ? contentItem.implicitHeight : 0) + 14
    color: Theme.panel
    radius: 16
    borderColor: Theme.line
    borderWidth: 1

    onContentItemChanged: if (contentItem) contentItem.parent = body

    ThemeText {
        id: heading
        visible: card.title.length > 0
        x: 14
        y: 14
        width: card.width - 28
        text: card.title.toUpperCase()
        textStyle: "caption2"
        semibold: true
        font.letterSpacing: 1.2
        color: Theme.textMuted
        elide: Text.ElideRight
    }

    Item {
        id: body
        x: 14
        y: heading.visible ? heading.y + heading.height + 10 : 14
        width: card.width - 28
        height: card.stretchesContent ? Math.max(0, card.height - y - 14)
                                      : (card.contentItem ? card.contentItem.height : 0)
        Binding {
            target: card.contentItem
            property: "width"
            value: body.width
            when: card.contentItem !== null
        }
        Binding {
            target: card.contentItem
            property: "height"
            value: body.height
            when: card.contentItem !== null && card.stretchesContent
        }
    }
}
