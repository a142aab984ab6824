import QtQuick
import QtQuick.Controls

// A pane's scrolling form: its sections one under the other, and the control that takes the keyboard focus
// scrolled into view.
ScrollView {
    id: form
    default property alias sections: column.data
    contentWidth: availableWidth
    clip: true

    Column {
        id: column
        width: form.availableWidth - 4
        spacing: 18
        topPadding: 8
        bottomPadding: 12
    }

    function reveal(item) {
        const flick = form.contentItem
        if (!item || !flick || !form.visible) return
        let p = item
        while (p && p !== column) p = p.parent
        if (!p) return
        const y = item.mapToItem(column, 0, 0).y
        if (y < flick.contentY) flick.contentY = Math.max(0, y - 8)
        else if (y + item.height > flick.contentY + flick.height)
            flick.contentY = Math.min(column.height - flick.height, y + item.height - flick.height + 8)
    }
    Connections {
        target: form.Window.window
        function onActiveFocusItemChanged() { form.reveal(form.Window.window.activeFocusItem) }
    }
}
