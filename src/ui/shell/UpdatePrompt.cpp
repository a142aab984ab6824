#include "ui/shell/UpdatePrompt.h"

void UpdatePrompt::offer(const QString& version, const QString& releaseNotes) {
    visible_ = true;
    version_ = version.simplified();
    releaseNotes_ = releaseNotes.trimmed();
    Q_EMIT changed();
}

// Each offer is answered once: a second click on the closing dialog must not install twice.
bool UpdatePrompt::close() {
    if (!visible_) return false;
    visible_ = false;
    Q_EMIT changed();
    return true;
}

void UpdatePrompt::install() {
    if (close()) Q_EMIT installRequested();
}

void UpdatePrompt::decline() {
    if (close()) Q_EMIT declined();
}
