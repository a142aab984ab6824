#pragma once

#include "ui/common/SymbolIcon.h"

#include <QtQml/qqmlregistration.h>

// A tinted symbol of the settings window: the pane tabs' drawings and the place pin, then the common set.
class SettingsIcon : public SymbolIcon {
    Q_OBJECT
    QML_ELEMENT

  public:
    explicit SettingsIcon(QQuickItem* parent = nullptr);

    static QString resourceFor(const QString& name);

  protected:
    QString drawingFor(const QString& name) const override { return resourceFor(name); }
};
