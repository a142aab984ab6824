import QtQuick
import QtQuick.Controls
import Orvane.Common
import Orvane.Shell

// The learn-the-call sheet: the devotional cards one by one (each moves on by itself or on a click), then the
// learn-the-call link handed to the browser, with a status line when that did not work.
Item {
    id: view
    property alias settings: steps.settings
    readonly property alias steps: steps
    // How long each card stays before the next one.
    property int cardMs: 1800
    signal dismissed()

    implicitWidth: 720
    implicitHeight: 480

    LearnAdhanController { id: steps }

    Component.onCompleted: steps.start()

    Timer {
        interval: view.cardMs
        running: steps.showingSplash && view.visible
        repeat: true
        onTriggered: steps.advance()
    }

    FocusButton {
        objectName: "learnDone"
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 10
        width: learnDoneText.implicitWidth + 12
        height: learnDoneText.implicitHeight + 12
        focusRadius: 6
        text: "Done"
        focus: true
        onClicked: view.dismissed()
        ThemeText {
            id: learnDoneText
            anchors.centerIn: parent
            Accessible.ignored: true
            text: "Done"
            textStyle: "body"
            semibold: true
            color: Theme.gold
        }
    }

    // The card before the steps: a click anywhere on it, or Return or Space once Tab is on it, goes on.
    FocusButton {
        objectName: "splash"
        anchors.fill: parent
        anchors.topMargin: 48
        visible: steps.showingSplash
        focusRadius: 12
        text: "Continue"
        onClicked: steps.advance()

        Column {
            anchors.centerIn: parent
            width: parent.width - 64
            spacing: 14

            ThemeText {
                objectName: "cardArabic"
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                textStyle: "largeTitle"
                color: Theme.gold
                wrapMode: Text.WordWrap
                maximumLineCount: 2
                elide: Text.ElideRight
                text: steps.card.arabic ?? ""
            }
            ThemeText {
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                textStyle: "title3"
                semibold: true
                maximumLineCount: 1
                elide: Text.ElideRight
                text: steps.card.transliteration ?? ""
            }
            ThemeText {
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                color: Theme.textMuted
                wrapMode: Text.WordWrap
                maximumLineCount: 3
                elide: Text.ElideRight
                text: steps.card.english ?? ""
            }
            Row {
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: 8
                topPadding: 10
                Repeater {
                    model: steps.cardCount
                    Rectangle {
                        required property int index
                        width: 8; height: 8; radius: 4
                        color: index === steps.cardIndex ? Theme.gold : Theme.line
                    }
                }
            }
        }
    }

    Column {
        objectName: "afterSplash"
        anchors.centerIn: parent
        width: parent.width - 64
        spacing: 16
        visible: !steps.showingSplash

        SymbolIcon {
            anchors.horizontalCenter: parent.horizontalCenter
            name: "play.fill"
            width: 40; height: 40
            color: steps.statusText.length ? Theme.textMuted : Theme.gold
        }
        ThemeText {
            objectName: "headline"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            textStyle: "title3"
            semibold: true
            wrapMode: Text.WordWrap
            text: steps.opened ? "Opened in your browser" : "Learn the call to prayer"
        }
        AlertText {
            objectName: "status"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            color: "#ff8a80"
            text: steps.statusText
        }
        TextEdit {
            objectName: "link"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WrapAnywhere
            readOnly: true
            selectByMouse: true
            textFormat: TextEdit.PlainText
            visible: steps.statusText.length > 0 || steps.opened
            color: Theme.textMuted
            font.family: Theme.fontFamily
            font.pixelSize: Theme.caption
            text: steps.linkText
        }
        ActionButton {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Open again"
            onClicked: steps.openLink()
        }
        BlessingsNote {
            width: parent.width
            style: "credit"
        }
    }
}
