#pragma once

#include "PanelModel.h"

#include <QVariantList>

// The forecast strip's title, its day cards and the grid arithmetic the layout binds to.
class ForecastStripModel : public PanelModel {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString title READ title NOTIFY changed)
    // One map per day: weekday, icon, temperatures, wind, humidity (0 when none), precipitation ("" when
    // none).
    Q_PROPERTY(QVariantList days READ days NOTIFY changed)

  public:
    using PanelModel::PanelModel;

    QString title() const;
    const QVariantList& days() const { return days_; }

    Q_INVOKABLE static int rows(int dayCount);
    Q_INVOKABLE static double rowHeight(int dayCount, double height);
    Q_INVOKABLE static bool isCompact(double rowHeight);

  protected:
    void refresh() override;

  private:
    QVariantList days_;
};
