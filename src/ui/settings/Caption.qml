import QtQuick
import Orvane.Common

// A caption of the settings panes: small, muted, wrapped to the form's width.
ThemeText {
    property bool small: false
    width: parent ? parent.width : implicitWidth
    textStyle: small ? "caption2" : "caption"
    color: Theme.textMuted
    wrapMode: Text.WordWrap
    Accessible.role: Accessible.StaticText
    Accessible.name: text
}
