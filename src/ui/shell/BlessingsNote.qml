import QtQuick
import Orvane.Common
import Orvane.Shell

// The one-line blessings credit: beside a small mark and aligned to the start in the settings, centred and
// quieter under the call-to-prayer overlay. Long texts end in an ellipsis rather than wrapping.
Item {
    id: note
    // "settings" or "credit"
    property string style: "settings"
    readonly property bool credit: style === "credit"
    readonly property string text: ShellTexts.blessingsCredit()

    implicitWidth: mark.width + line.implicitWidth + (mark.visible ? row.spacing : 0)
    implicitHeight: Math.max(line.implicitHeight, mark.visible ? mark.height : 0)

    Row {
        id: row
        anchors.verticalCenter: parent.verticalCenter
        width: parent.width
        spacing: 6

        SymbolIcon {
            id: mark
            visible: !note.credit
            name: "sparkles"
            width: visible ? 14 : 0
            height: 14
            anchors.verticalCenter: parent.verticalCenter
            color: Theme.gold
        }
        ThemeText {
            id: line
            objectName: "blessingsLine"
            width: row.width - mark.width - (mark.visible ? row.spacing : 0)
            anchors.verticalCenter: parent.verticalCenter
            horizontalAlignment: note.credit ? Text.AlignHCenter : Text.AlignLeft
            textStyle: note.credit ? "caption2" : "caption"
            color: Theme.textMuted
            elide: Text.ElideRight
            maximumLineCount: 1
            // The line opens with Arabic; a left-to-right mark keeps it reading phrase-first in this interface.
            text: "\u200E" + note.text
        }
    }
}
