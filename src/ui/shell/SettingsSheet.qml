import QtQuick
import Orvane.Settings
import Orvane.Shell

// The settings window over the face, for the settings state the root controller holds while it is open.
SettingsView {
    required property RootController shell

    controller: shell.settingsWindow
    learnAdhanBuiltInURL: ShellTexts.learnAdhanBuiltInURL
    blessingsNote: Component { BlessingsNote { style: "settings" } }
}
