#pragma once

#include "ui/common/SymbolIcon.h"

#include <QtQml/qqmlregistration.h>

// A tinted symbol of the Quran reader: its own drawings (chevrons, text sizes, full screen, list, book) and
// every symbol the common set has.
class QuranIcon : public SymbolIcon {
    Q_OBJECT
    QML_ELEMENT

  public:
    explicit QuranIcon(QQuickItem* parent = nullptr);

    // The drawing that stands for a symbol name, or empty.
    static QString resourceFor(const QString& name);

  protected:
    QString drawingFor(const QString& name) const override { return resourceFor(name); }
};
