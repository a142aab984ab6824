import QtQuick
import Orvane.Common
import Orvane.Face

// The place name in gold and the settings button.
Item {
    id: header
    property ClockFaceController face

    implicitHeight: Math.max(city.implicitHeight, gear.height)

    ThemeText {
        id: city
        objectName: "cityTitle"
        anchors.verticalCenter: parent.verticalCenter
        width: header.width - gear.width - 10
        text: header.face.cityTitle
        textStyle: "title3"
        bold: true
        font.letterSpacing: 2
        color: Theme.gold
        maximumLineCount: 1
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: Math.floor(Theme.title3 * 0.6)
        elide: Text.ElideRight
    }

    FocusButton {
        id: gear
        objectName: "settingsButton"
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        width: Theme.title3 + 8
        height: Theme.title3 + 8
        text: "Settings"
        onClicked: header.face.openSettings()
        SymbolIcon {
            anchors.centerIn: parent
            name: "gearshape.fill"
            size: Theme.title3
            color: Theme.textMuted
        }
    }
}
