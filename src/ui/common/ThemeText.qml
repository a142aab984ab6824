import QtQuick
import Orvane.Common

// Text in the interface font at a named text style; white unless told otherwise. Screen readers read it
// as static text.
Text {
    property string textStyle: "body"
    property bool semibold: false
    property bool bold: Theme.textStyleIsBold(textStyle)

    color: "white"
    font.family: Theme.fontFamily
    font.pixelSize: Theme.textSize(textStyle)
    font.weight: bold ? Font.Bold : (semibold ? Font.DemiBold : Font.Normal)
    textFormat: Text.PlainText
    Accessible.role: Accessible.StaticText
    Accessible.name: text
}
