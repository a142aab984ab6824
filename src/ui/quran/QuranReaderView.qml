import QtQuick
import QtQuick.Controls
import Orvane.Common
import Orvane.Quran

// The Quran reader over the whole window: one ayah at a time under a title bar with "Done" and full screen,
// the loading or error state while the text is not there, the bottom bar (or the full-screen controls) and
// the browse sheet. The arrow keys move by ayah and Escape leaves full screen or closes.
FocusScope {
    id: view
    property alias settings: reader.settings
    readonly property alias reader: reader
    // The presenter's flag goes down through this.
    signal closeRequested()

    QuranReaderController {
        id: reader
        onCloseRequested: view.closeRequested()
        onFocusRequested: Qt.callLater(function() { keyTarget.forceActiveFocus() })
        onShowBrowseChanged: showBrowse ? browsePopup.open() : browsePopup.close()
    }

    Component.onCompleted: reader.appear()

    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            GradientStop { position: 0; color: Qt.rgba(0.05, 0.08, 0.06, 1) }
            GradientStop { position: 1; color: Theme.bg }
        }
    }

    Item {
        id: keyTarget
        objectName: "readerKeys"
        anchors.fill: parent
        focus: true
        // In the Tab chain, so Tab leads from the text to the buttons and back.
        activeFocusOnTab: true
        Accessible.role: Accessible.Pane
        Accessible.name: "Read Qur’an"
        // The ayah on show, so a screen reader reads it as the reader takes the keyboard and again each
        // time the arrow keys turn to another one.
        Accessible.description: reader.screenState === "reading"
                                ? reader.arabicText + "\n" + reader.translationText : ""
        Keys.onShortcutOverride: function(event) {
            // In reading full screen Escape belongs to the reader, which only leaves full screen.
            event.accepted = event.key === Qt.Key_Escape && reader.fullscreen
        }
        Keys.onPressed: function(event) {
            if (event.modifiers !== Qt.NoModifier && event.modifiers !== Qt.KeypadModifier) return
            if (event.key === Qt.Key_Left) reader.goPrev()
            else if (event.key === Qt.Key_Right) reader.goNext()
            else if (event.key === Qt.Key_Escape) reader.handleEscape()
            else return
            event.accepted = true
        }
    }

    Item {
        id: titleBar
        objectName: "titleBar"
        anchors { left: parent.left; right: parent.right; top: parent.top }
        height: reader.fullscreen ? 0 : 48
        visible: !reader.fullscreen

        QuranButton {
            objectName: "doneButton"
            anchors { left: parent.left; leftMargin: 12; verticalCenter: parent.verticalCenter }
            text: "Done"
            onClicked: reader.closeReader()
        }
        ThemeText {
            anchors.centerIn: parent
            text: "Read Qur’an"
            textStyle: "headline"
        }
        QuranButton {
            objectName: "fullscreenButton"
            anchors { right: parent.right; rightMargin: 12; verticalCenter: parent.verticalCenter }
            text: "Full screen"
            iconOnly: true
            symbol: "arrow.up.left.and.arrow.down.right"
            symbolSize: 16
            onClicked: reader.enterReadingFullScreen()
        }
    }

    Loader {
        objectName: "stateContent"
        anchors {
            left: parent.left; right: parent.right; top: titleBar.bottom
            bottom: bottomBar.visible ? bottomBar.top : parent.bottom
        }
        sourceComponent: reader.screenState === "loading" ? loadingState
                       : reader.screenState === "error" ? errorState
                       : reader.screenState === "reading" ? readingState
                       : reader.screenState === "waiting" ? waitingState : null
    }

    Component {
        id: loadingState
        Item {
            Column {
                anchors.centerIn: parent
                width: parent.width - 48
                spacing: 16
                BusyIndicator {
                    anchors.horizontalCenter: parent.horizontalCenter
                    running: true
                    scale: 1.4
                    palette.dark: Theme.gold
                }
                ThemeText {
                    objectName: "loadingText"
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    text: reader.loadingText
                    textStyle: "callout"
                    color: Theme.gold
                }
                ThemeText {
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    text: "Downloaded once, then available offline."
                    textStyle: "caption"
                    color: Theme.textMuted
                }
            }
        }
    }

    Component {
        id: errorState
        Item {
            Column {
                anchors.centerIn: parent
                width: parent.width - 32
                spacing: 12
                AlertText {
                    objectName: "errorText"
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.WordWrap
                    text: reader.errorText
                    color: Theme.textMuted
                }
                QuranButton {
                    objectName: "tryAgainButton"
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: "Try again"
                    prominent: true
                    onClicked: reader.tryAgain()
                }
            }
        }
    }

    Component {
        id: readingState
        QuranReadingArea { reader: view.reader }
    }

    Component {
        id: waitingState
        Item {
            BusyIndicator { anchors.centerIn: parent; running: true; palette.dark: Theme.gold }
        }
    }

    QuranBottomBar {
        id: bottomBar
        objectName: "bottomBar"
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
        reader: view.reader
        active: reader.isReady && !reader.fullscreen
        visible: active
    }

    QuranFullscreenControls {
        objectName: "fullscreenControls"
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
        reader: view.reader
        active: reader.isReady && reader.fullscreen
        visible: opacity > 0
        opacity: active ? 1 : 0
        Behavior on opacity { NumberAnimation { duration: 200; easing.type: Easing.InOutQuad } }
    }

    Popup {
        id: browsePopup
        objectName: "browsePopup"
        parent: Overlay.overlay
        anchors.centerIn: parent
        width: Math.min(520, view.width)
        height: Math.min(640, view.height)
        modal: true
        focus: true
        padding: 0
        closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
        onClosed: reader.showBrowse = false
        background: Rectangle { color: Theme.bg; radius: 12; border.color: Theme.line }
        contentItem: Loader {
            active: browsePopup.opened || browsePopup.visible
            sourceComponent: QuranBrowseSheet {
                settings: reader.settings
                library: reader.library
                onSelectSurah: function(surah, ayah) { reader.browseSelected(surah, ayah) }
                onClose: reader.showBrowse = false
            }
        }
    }
}
