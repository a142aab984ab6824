#include "ui/shell/UpdatePrompt.h"

void UpdatePrompt::show(const QString& title, const QString& version, const QString& notes, bool installable,
                        const QString& message) {
    visible_ = true;
    title_ = title;
    version_ = version;
    releaseNotes_ = notes;
    installable_ = installable;
    message_ = message;
    Q_EMIT changed();
}

void UpdatePrompt::offer(const QString& version, const QString& releaseNotes) {
    const QString v = version.simplified();
    show(v.isEmpty() ? QStringLiteral("A new version of Orvane is ready")
                     : QStringLiteral("Orvane %1 is ready").arg(v),
         v, releaseNotes.trimmed(), true, {});
}

void UpdatePrompt::offerManual(const QString& version, const QString& releaseNotes,
                               const QString& howToUpdate) {
    const QString v = version.simplified();
    show(v.isEmpty() ? QStringLiteral("A new version of Orvane is available")
                     : QStringLiteral("Orvane %1 is available").arg(v),
         v, releaseNotes.trimmed(), false, howToUpdate.trimmed());
}

void UpdatePrompt::reportFailure(const QString& reason) {
    show(QStringLiteral("The update was not installed"), {}, {}, false,
         reason.trimmed() + QStringLiteral(" Orvane keeps running the version you have."));
}

// Each offer is answered once: a second click on the closing dialog must not install twice.
bool UpdatePrompt::close() {
    if (!visible_) return false;
    visible_ = false;
    Q_EMIT changed();
    return true;
}

void UpdatePrompt::install() {
    if (installable_ && close()) Q_EMIT installRequested();
}

void UpdatePrompt::decline() {
    if (close()) Q_EMIT declined();
}
