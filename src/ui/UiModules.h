#pragma once

class QQmlEngine;

// The views' QML modules are static libraries carried in the program's resources. Whoever creates a QML
// engine calls this once on it before loading any view: it keeps the modules in the link and tells the
// engine where their files live.
namespace UiModules {
void prepare(QQmlEngine& engine);
}
