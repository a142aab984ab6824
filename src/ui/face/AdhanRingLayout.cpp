#include "AdhanRingLayout.h"

#include "model/AdhanTexts.h"
#include "ui/common/Theme.h"

#include <QFont>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace {

AdhanRingLayout::DawnPhraseCheck& dawnCheck() {
    static AdhanRingLayout::DawnPhraseCheck check = [](const QString& line) {
        return AdhanTexts::containsFajrExtra(line);
    };
    return check;
}

bool isLineSeparator(QChar c) {
    switch (c.unicode()) {
        case 0x000A:  // line feed
        case 0x000B:  // vertical tab
        case 0x000C:  // form feed
        case 0x000D:  // carriage return
        case 0x0085:  // next line
        case 0x2028:  // line separator
        case 0x2029:  // paragraph separator
            return true;
        default:
            return false;
    }
}

QString trimSpacesAndTabs(QStringView piece) {
    qsizetype from = 0;
    qsizetype to = piece.size();
    auto horizontal = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (from < to && horizontal(piece[from])) ++from;
    while (to > from && horizontal(piece[to - 1])) --to;
    return piece.mid(from, to - from).toString();
}

}  // namespace

AdhanRingLayout::SizeClass AdhanRingLayout::sizeClassFor(double width, double height) {
    if (height < 700) return {QStringLiteral("footnote"), 36, 24, 8, true};
    if (height < 780 || width < 520) return {QStringLiteral("callout"), 48, 28, 12, true};
    return {QStringLiteral("title3"), 70, 34, 22, false};
}

double AdhanRingLayout::textMaxWidthFor(double width, bool compact) {
    // A window narrower than the margins leaves no room rather than a negative width.
    return std::max(0.0, std::min(width - (compact ? 28 : 56), 560.0));
}

QStringList AdhanRingLayout::splitLines(const QString& text) {
    QStringList out;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !isLineSeparator(text[i])) continue;
        const QString piece = trimSpacesAndTabs(QStringView(text).mid(start, i - start));
        if (!piece.isEmpty()) out.append(piece);
        start = i + 1;
    }
    return out;
}

QList<AdhanRingLayout::Line> AdhanRingLayout::callLines(const QString& text,
                                                        const DawnPhraseCheck& isDawnPhrase) {
    QList<Line> out;
    for (const QString& line : splitLines(text))
        out.append({line, isDawnPhrase ? isDawnPhrase(line) : false});
    return out;
}

int AdhanRingLayout::fittedPixelSizeFor(const QString& text, double pixelSize, bool semibold, double width,
                                        int maxLines, double minFactor) {
    const int largest = std::max(1, int(std::floor(pixelSize)));
    const int smallest = std::clamp(int(std::ceil(pixelSize * minFactor)), 1, largest);
    if (text.isEmpty() || !(width > 0) || maxLines < 1) return largest;
    QFont font(Theme::fontFamily());
    font.setWeight(semibold ? QFont::DemiBold : QFont::Normal);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    for (int size = largest; size > smallest; --size) {
        font.setPixelSize(size);
        QTextLayout layout(text, font);
        layout.setTextOption(option);
        layout.beginLayout();
        int lines = 0;
        bool fits = true;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            // A word longer than the line overflows it rather than breaking.
            if (++lines > maxLines || line.naturalTextWidth() > width) {
                fits = false;
                break;
            }
        }
        layout.endLayout();
        if (fits) return size;
    }
    return smallest;
}

int AdhanRingLayout::fittedPixelSize(const QString& text, double pixelSize, bool semibold, double width,
                                     int maxLines, double minFactor) {
    return fittedPixelSizeFor(text, pixelSize, semibold, width, maxLines, minFactor);
}

void AdhanRingLayout::setDawnPhraseCheck(DawnPhraseCheck check) {
    dawnCheck() = std::move(check);
}

QVariantMap AdhanRingLayout::sizeClass(double width, double height) {
    const SizeClass c = sizeClassFor(width, height);
    return {{"textStyle", c.textStyle},
            {"iconSize", c.iconSize},
            {"titleSize", c.titleSize},
            {"spacing", c.spacing},
            {"compact", c.compact}};
}

double AdhanRingLayout::textMaxWidth(double width, bool compact) {
    return textMaxWidthFor(width, compact);
}

QVariantList AdhanRingLayout::lines(const QString& text) {
    QVariantList out;
    for (const Line& line : callLines(text, dawnCheck()))
        out.append(QVariantMap{{"text", line.text}, {"dawn", line.dawn}});
    return out;
}
