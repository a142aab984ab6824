#include "UiModules.h"

#include "ui/common/AccessibleItems.h"

#include <QtQml/qqmlextensionplugin.h>
#include <QQmlEngine>

Q_IMPORT_QML_PLUGIN(Orvane_CommonPlugin)
Q_IMPORT_QML_PLUGIN(Orvane_FacePlugin)
Q_IMPORT_QML_PLUGIN(Orvane_PanelsPlugin)
Q_IMPORT_QML_PLUGIN(Orvane_SettingsPlugin)
Q_IMPORT_QML_PLUGIN(Orvane_QuranPlugin)
Q_IMPORT_QML_PLUGIN(Orvane_CalendarPlugin)
Q_IMPORT_QML_PLUGIN(Orvane_ShellPlugin)

namespace UiModules {
void prepare(QQmlEngine& engine) {
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    AccessibleItems::install();
}
}  // namespace UiModules
