#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>
#include <functional>

// The call-to-prayer overlay's size classes and its call text split into lines, with the line said only
// at dawn marked for highlighting.
class AdhanRingLayout : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

  public:
    struct SizeClass {
        QString textStyle;
        double iconSize = 0;
        double titleSize = 0;
        double spacing = 0;
        bool compact = false;
    };
    struct Line {
        QString text;
        bool dawn = false;
    };
    using DawnPhraseCheck = std::function<bool(const QString&)>;

    static SizeClass sizeClassFor(double width, double height);
    static double textMaxWidthFor(double width, bool compact);
    // Splits at every Unicode line separator, trims spaces and tabs, drops empty pieces.
    static QStringList splitLines(const QString& text);
    static QList<Line> callLines(const QString& text, const DawnPhraseCheck& isDawnPhrase);

    // The largest whole pixel size from `pixelSize` down to `minFactor` of it (never below) at which `text`,
    // wrapped at word boundaries in the interface font, takes at most `maxLines` lines of `width` with no
    // line wider; the smallest allowed size when even that needs more room (the text is then cut).
    static int fittedPixelSizeFor(const QString& text, double pixelSize, bool semibold, double width,
                                  int maxLines, double minFactor);

    // The dawn-phrase test the overlay uses: the call texts' own unless replaced (an empty one restores it).
    static void setDawnPhraseCheck(DawnPhraseCheck check);

    using QObject::QObject;

    Q_INVOKABLE static QVariantMap sizeClass(double width, double height);
    Q_INVOKABLE static double textMaxWidth(double width, bool compact);
    Q_INVOKABLE static int fittedPixelSize(const QString& text, double pixelSize, bool semibold, double width,
                                           int maxLines, double minFactor);
    // {text, dawn} per line, with the dawn-phrase test.
    Q_INVOKABLE static QVariantList lines(const QString& text);
};
