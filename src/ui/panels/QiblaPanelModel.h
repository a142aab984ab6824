#pragma once

#include "PanelModel.h"

#include <QUrl>

// The qibla panel's titles, captions, picture links and bearing.
class QiblaPanelModel : public PanelModel {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString identity READ identity NOTIFY changed)
    Q_PROPERTY(QString locationKey READ locationKey NOTIFY changed)
    Q_PROPERTY(QString streetTitle READ streetTitle NOTIFY changed)
    Q_PROPERTY(QString mapTitle READ mapTitle NOTIFY changed)
    Q_PROPERTY(QString streetCaption READ streetCaption NOTIFY changed)
    Q_PROPERTY(QString bearingCapsule READ bearingCapsule NOTIFY changed)
    Q_PROPERTY(QString mapCaption READ mapCaption NOTIFY changed)
    Q_PROPERTY(bool hasImages READ hasImages NOTIFY changed)
    Q_PROPERTY(bool streetViewAvailable READ streetViewAvailable NOTIFY changed)
    // Empty when the bundle has no usable link: the view shows its placeholder.
    Q_PROPERTY(QUrl streetUrl READ streetUrl NOTIFY changed)
    Q_PROPERTY(QUrl mapUrl READ mapUrl NOTIFY changed)
    // Degrees clockwise from true north; 0 when the bundle's bearing is not a finite number.
    Q_PROPERTY(double bearing READ bearing NOTIFY changed)

  public:
    using PanelModel::PanelModel;

    QString identity() const;
    QString locationKey() const;
    QString streetTitle() const { return bundle().label(QStringLiteral("street_view")); }
    QString mapTitle() const { return bundle().label(QStringLiteral("map_north_up")); }
    QString streetCaption() const;
    QString bearingCapsule() const;
    QString mapCaption() const;
    bool hasImages() const { return bundle().qibla.images.has_value(); }
    bool streetViewAvailable() const;
    QUrl streetUrl() const;
    QUrl mapUrl() const;
    double bearing() const;

    // Width of the two picture blocks (4:3 street, 1:1 map) so that they fit `freeHeight` together; the
    // full `width` when there is room or no height is given.
    Q_INVOKABLE static double blockWidth(double width, double freeHeight);

    // A link the picture view may load: a valid absolute address, else nothing.
    static QUrl pictureUrl(const QString& link);
};
