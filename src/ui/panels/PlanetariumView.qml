import QtQuick
import QtQuick.Controls
import Orvane.Common
import Orvane.Panels

// The sky-map sheet: the web planetarium for the place and minute, a spinner while it loads, and a way
// out to the browser, always in the bar and with the notice when the page fails.
Rectangle {
    id: sheet
    property url url
    readonly property PlanetariumController controller: PlanetariumController { url: sheet.url }
    signal done()

    color: Theme.bg

    Item {
        id: bar
        width: parent.width
        height: 44
        ThemeText { anchors.centerIn: parent; text: "Sky map"; textStyle: "headline" }
        FocusButton {
            objectName: "doneButton"
            anchors { left: parent.left; leftMargin: 8; verticalCenter: parent.verticalCenter }
            width: doneText.implicitWidth + 12
            height: doneText.implicitHeight + 12
            focusRadius: 6
            text: "Done"
            focus: true
            onClicked: sheet.done()
            ThemeText { id: doneText; anchors.centerIn: parent; Accessible.ignored: true; text: "Done"; color: Theme.gold }
        }
        FocusButton {
            objectName: "openInBrowserButton"
            anchors { right: parent.right; rightMargin: 8; verticalCenter: parent.verticalCenter }
            width: openRow.implicitWidth + 12
            height: openRow.implicitHeight + 12
            focusRadius: 6
            text: "Open in Browser"
            onClicked: sheet.controller.openInBrowser()
            Row {
                id: openRow
                anchors.centerIn: parent
                spacing: 6
                PanelIcon { anchors.verticalCenter: parent.verticalCenter; name: "safari"; color: Theme.gold; size: 16 }
                ThemeText { Accessible.ignored: true; text: "Open in Browser"; color: Theme.gold }
            }
        }
    }

    Loader {
        id: web
        objectName: "webView"
        anchors { top: bar.bottom; left: parent.left; right: parent.right; bottom: parent.bottom }
        active: sheet.controller.webViewAvailable && sheet.controller.url.toString().length > 0
        Component.onCompleted: setSource("PlanetariumWeb.qml", { controller: sheet.controller })
        onStatusChanged: if (status === Loader.Error) sheet.controller.navigationFailed()
    }
    Component.onCompleted: if (!controller.webViewAvailable) controller.navigationFailed()

    BusyIndicator {
        anchors.centerIn: web
        running: sheet.controller.isLoading
        visible: running
        scale: 1.2
        palette.dark: Theme.gold
    }

    Rectangle {
        objectName: "failureNotice"
        visible: sheet.controller.loadFailed
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
        height: notice.implicitHeight + 24
        color: Qt.rgba(Theme.panel.r, Theme.panel.g, Theme.panel.b, 0.95)
        Column {
            id: notice
            anchors.centerIn: parent
            width: parent.width - 24
            spacing: 8
            ThemeText {
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                text: sheet.controller.notice
                textStyle: "caption"
                color: Theme.textMuted
            }
            FocusButton {
                objectName: "noticeOpenInBrowser"
                anchors.horizontalCenter: parent.horizontalCenter
                width: openText.implicitWidth + 24
                height: openText.implicitHeight + 10
                focusRadius: 8
                text: "Open in Browser"
                onClicked: sheet.controller.openInBrowser()
                Rectangle { anchors.fill: parent; radius: 8; color: Theme.gold }
                ThemeText {
                    id: openText
                    anchors.centerIn: parent
                    Accessible.ignored: true
                    text: "Open in Browser"
                    color: Theme.bg
                    semibold: true
                }
            }
        }
    }
}
