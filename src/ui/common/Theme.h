#pragma once

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QObject>
#include <QString>

// The fixed palette every view draws with, and the point sizes of the named text styles. Nothing changes
// it at run time.
class Theme : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QColor bg READ bg CONSTANT)
    Q_PROPERTY(QColor panel READ panel CONSTANT)
    Q_PROPERTY(QColor panelHi READ panelHi CONSTANT)
    Q_PROPERTY(QColor line READ line CONSTANT)
    Q_PROPERTY(QColor gold READ gold CONSTANT)
    Q_PROPERTY(QColor green READ green CONSTANT)
    Q_PROPERTY(QColor textMuted READ textMuted CONSTANT)
    Q_PROPERTY(QString fontFamily READ fontFamily CONSTANT)
    Q_PROPERTY(qreal largeTitle READ largeTitle CONSTANT)
    Q_PROPERTY(qreal title READ title CONSTANT)
    Q_PROPERTY(qreal title2 READ title2 CONSTANT)
    Q_PROPERTY(qreal title3 READ title3 CONSTANT)
    Q_PROPERTY(qreal headline READ headline CONSTANT)
    Q_PROPERTY(qreal body READ body CONSTANT)
    Q_PROPERTY(qreal callout READ callout CONSTANT)
    Q_PROPERTY(qreal subheadline READ subheadline CONSTANT)
    Q_PROPERTY(qreal footnote READ footnote CONSTANT)
    Q_PROPERTY(qreal caption READ caption CONSTANT)
    Q_PROPERTY(qreal caption2 READ caption2 CONSTANT)

  public:
    using QObject::QObject;

    static QColor bg() { return QColor::fromRgbF(0.02f, 0.03f, 0.06f); }
    static QColor panel() { return QColor::fromRgbF(0.07f, 0.10f, 0.15f); }
    static QColor panelHi() { return QColor::fromRgbF(0.10f, 0.14f, 0.21f); }
    static QColor line() { return QColor::fromRgbF(1.0f, 1.0f, 1.0f, 0.08f); }
    static QColor gold() { return QColor::fromRgbF(0.91f, 0.73f, 0.29f); }
    static QColor green() { return QColor::fromRgbF(0.21f, 0.75f, 0.54f); }
    static QColor textMuted() { return QColor::fromRgbF(0.54f, 0.63f, 0.74f); }

    // The interface font: Noto Sans covers Latin, Arabic script and the rest; DejaVu Sans stands in when
    // Noto is missing (the font system falls back on its own).
    static QString fontFamily() { return QStringLiteral("Noto Sans"); }

    // Point size of a named text style ("caption2", "title3", ...); unknown names give the body size.
    Q_INVOKABLE static qreal textSize(const QString& style);
    // Whether a named style is drawn bold by default (only "headline").
    Q_INVOKABLE static bool textStyleIsBold(const QString& style);

    static qreal largeTitle() { return textSize(QStringLiteral("largeTitle")); }
    static qreal title() { return textSize(QStringLiteral("title")); }
    static qreal title2() { return textSize(QStringLiteral("title2")); }
    static qreal title3() { return textSize(QStringLiteral("title3")); }
    static qreal headline() { return textSize(QStringLiteral("headline")); }
    static qreal body() { return textSize(QStringLiteral("body")); }
    static qreal callout() { return textSize(QStringLiteral("callout")); }
    static qreal subheadline() { return textSize(QStringLiteral("subheadline")); }
    static qreal footnote() { return textSize(QStringLiteral("footnote")); }
    static qreal caption() { return textSize(QStringLiteral("caption")); }
    static qreal caption2() { return textSize(QStringLiteral("caption2")); }
};
