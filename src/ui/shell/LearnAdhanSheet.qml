import QtQuick
import Orvane.Face
import Orvane.Shell

// The learn-the-call steps as the face's sheet.
LearnAdhanView {
    required property RootController shell
    required property ClockFaceController face

    objectName: "learnAdhanView"
    settings: shell.settings
    onDismissed: face.showLearnAdhan = false
}
