import QtQuick
import Orvane.Common
import Orvane.Shell
import Orvane.Face
import Orvane.Panels

// The window's content: the consent notice until it is accepted, then the clock face (or the loading and
// error screen while no bundle exists), the question about a downloaded update over them, and the
// call-to-prayer overlay over everything while it rings. The notice, the sheets and the update question
// are read from their files only when they show, so the face alone carries neither their types nor the
// control library they use.
Item {
    id: root
    required property RootController controller

    Rectangle { anchors.fill: parent; color: Theme.bg }

    LazyView {
        id: consent
        anchors.fill: parent
        active: !root.controller.consentGiven
        view: "qrc:/qt/qml/Orvane/Shell/PrivacyConsentView.qml"
        properties: ({ privacyURL: root.controller.privacyURL,
                       notice: root.controller.settings.settingsResetNotice })
        Connections {
            target: consent.item
            function onAccepted() { root.controller.acceptPrivacy() }
        }
    }

    Item {
        anchors.fill: parent
        visible: root.controller.consentGiven
        // Behind the settings window nothing takes the keyboard.
        enabled: root.controller.settingsWindow === null

        LoadingView {
            id: loadingView
            anchors.fill: parent
            visible: !root.controller.hasBundle
            errorText: root.controller.errorText
            onOpenSettings: root.controller.openSettings("location")
        }

        Loader {
            id: faceLoader
            anchors.fill: parent
            active: root.controller.hasBundle
            // Under the call-to-prayer overlay the face takes no keys, so Tab cannot wander beneath it, and
            // once the overlay covers it whole it is not shown, so screen readers do not find it either.
            enabled: !overlay.visible
            visible: overlay.opacity < 1
            sourceComponent: ClockFaceView {
                id: faceView
                alertsPanel: panels.alertsPanel; qiblaPanel: panels.qiblaPanel
                weatherPanel: panels.weatherPanel; forecastStrip: panels.forecastStrip
                sunSidePanel: panels.sunSidePanel; moonSidePanel: panels.moonSidePanel
                skyDetailPanel: panels.skyDetailPanel; planetariumSheet: panels.planetariumSheet
                FacePanels {
                    id: panels
                    face: faceView.face
                    bundle: root.controller.bundle
                    metric: root.controller.metric
                }
                Component.onCompleted: root.controller.attachFace(face)
                quranReader: Component {
                    LazyView {
                        view: "qrc:/qt/qml/Orvane/Shell/QuranSheet.qml"
                        properties: ({ shell: root.controller, face: faceView.face })
                    }
                }
                calendarSheet: Component {
                    LazyView {
                        view: "qrc:/qt/qml/Orvane/Shell/CalendarSheet.qml"
                        properties: ({ shell: root.controller, face: faceView.face })
                    }
                }
                learnAdhanSheet: Component {
                    LazyView {
                        view: "qrc:/qt/qml/Orvane/Shell/LearnAdhanSheet.qml"
                        properties: ({ shell: root.controller, face: faceView.face })
                    }
                }
            }
        }
    }

    Connections {
        target: root.controller
        function onSettingsWindowChanged() {
            if (root.controller.settingsWindow === null) loadingView.focusAction()
        }
    }

    // Over the face and the first screens alike: changes made now will not be kept.
    Rectangle {
        objectName: "storeFailureBar"
        readonly property string failure: root.controller.settings.storeFailure
        visible: failure.length > 0
        anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
        height: failureText.implicitHeight + 12
        z: 5
        color: "#cc2a0f0f"
        ThemeText {
            id: failureText
            anchors { fill: parent; margins: 6 }
            wrapMode: Text.WrapAnywhere
            textStyle: "caption"
            color: "#ff8a8a"
            text: parent.failure
            Accessible.role: Accessible.AlertMessage
            Accessible.name: text
        }
    }

    SheetFrame {
        objectName: "settingsSheet"
        anchors.fill: parent
        title: "Settings"
        open: root.controller.settingsWindow !== null
        // Under the call-to-prayer overlay it takes no keys, and once covered whole it is not shown.
        enabled: !overlay.visible
        visible: open && overlay.opacity < 1
        minimumWidth: 640
        minimumHeight: 520
        content: Component {
            LazyView {
                view: "qrc:/qt/qml/Orvane/Shell/SettingsSheet.qml"
                properties: ({ shell: root.controller })
            }
        }
    }

    AdhanRingView {
        id: overlay
        objectName: "adhanOverlay"
        anchors.fill: parent
        // Above every sheet and question while it rings, so its Stop is within reach whatever is open.
        z: 4000
        visible: opacity > 0
        opacity: root.controller.consentGiven && root.controller.hasBundle && root.controller.player.ringing
                 ? 1 : 0
        Behavior on opacity { NumberAnimation { duration: 350; easing.type: Easing.InOutQuad } }
        activeTitle: root.controller.player.activeTitle
        activePrayerName: root.controller.player.activePrayerName
        activeText: root.controller.player.activeText
        rakatTitle: root.controller.player.rakatTitle
        rakatLines: root.controller.player.rakatLines
        rakatTotal: root.controller.player.rakatTotal
        adhanNowLabel: faceLoader.item ? faceLoader.item.face.label("adhan_now") : ""
        adhanForLabel: faceLoader.item ? faceLoader.item.face.label("adhan_for") : ""
        rakatsLabel: faceLoader.item ? faceLoader.item.face.label("rk_rakats") : ""
        stopLabel: faceLoader.item ? faceLoader.item.face.label("stop") : ""
        onStopRequested: root.controller.player.stop()
        creditNote: Component { BlessingsNote { objectName: "creditNote"; style: "credit" } }
    }

    LazyView {
        anchors.fill: parent
        z: 3000
        enabled: !overlay.visible
        active: root.controller.updatePrompt.visible
        view: "qrc:/qt/qml/Orvane/Shell/UpdateDialog.qml"
        properties: ({ prompt: root.controller.updatePrompt })
    }
}
