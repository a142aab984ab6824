import QtQuick
import Orvane.Face
import Orvane.Quran
import Orvane.Shell

// The Quran reader as the face opens it over everything.
QuranReaderView {
    required property RootController shell
    required property ClockFaceController face

    objectName: "quranReader"
    settings: shell.settings
    onCloseRequested: face.showQuran = false
}
