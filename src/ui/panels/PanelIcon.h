#pragma once

#include "ui/common/SymbolIcon.h"

#include <QtQml/qqmlregistration.h>

// A tinted symbol of the panels: the panels' own drawings (weather, shields, compass) and every symbol the
// common set already has.
class PanelIcon : public SymbolIcon {
    Q_OBJECT
    QML_ELEMENT

  public:
    explicit PanelIcon(QQuickItem* parent = nullptr);

    // The drawing that stands for a symbol name, or empty.
    static QString resourceFor(const QString& name);

  protected:
    QString drawingFor(const QString& name) const override { return resourceFor(name); }
};
