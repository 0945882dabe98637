#include "app/ShellIcons.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <vector>

#include "diagram/TagIcon.h"
#include "model/TConcept.h"
#include "model/TTag.h"
#include "qtgui/TQtCanvas.h"

namespace kavo {

namespace {

enum class TShape { shCircle, shSquare, shRounded, shBox, shDiamond, shPerson, shPlain };

struct TIconStyle {
    TShape Shape;
    QRgb Fill;
    const char* Glyph;
};

constexpr QRgb kBlue = 0x3060C0;
constexpr QRgb kGreen = 0x309040;
constexpr QRgb kPurple = 0x800080;
constexpr QRgb kGrey = 0x808080;
constexpr QRgb kRed = 0xC03030;
constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kAmber = 0xD09020;

TIconStyle StyleOf(TShellIcon kind) {
    switch (kind) {
        case TShellIcon::siCase:
            return {TShape::shBox, kAmber, ""};
        case TShellIcon::siArena:
            return {TShape::shCircle, kBlue, ""};
        case TShellIcon::siAnalystView:
            return {TShape::shCircle, kWhite, "A"};
        case TShellIcon::siActor:
            return {TShape::shPerson, kGreen, ""};
        case TShellIcon::siFactor:
            return {TShape::shRounded, kWhite, ""};
        case TShellIcon::siStockFactor:
            return {TShape::shBox, kWhite, "S"};
        case TShellIcon::siAttribute:
            return {TShape::shRounded, 0xE0F0E0, ""};
        case TShellIcon::siStockAttribute:
            return {TShape::shBox, 0xE0F0E0, "S"};
        case TShellIcon::siAction:
            return {TShape::shBox, 0xF0E0F0, ""};
        case TShellIcon::siTreeType:
            return {TShape::shPlain, kBlue, "\u21C4"};
        case TShellIcon::siAddArena:
            return {TShape::shCircle, kBlue, "+"};
        case TShellIcon::siAddActor:
            return {TShape::shPerson, kGreen, "+"};
        case TShellIcon::siTag:
            return {TShape::shDiamond, kAmber, ""};
        case TShellIcon::siDelete:
            return {TShape::shPlain, kRed, "\u2715"};
        case TShellIcon::siInfo:
            return {TShape::shCircle, kBlue, "i"};
        case TShellIcon::siEditComment:
            return {TShape::shPlain, kBlue, "\u270E"};
        case TShellIcon::siAccept:
            return {TShape::shPlain, kGreen, "\u2713"};
        case TShellIcon::siCancel:
            return {TShape::shPlain, kRed, "\u2717"};
        case TShellIcon::siCursor:
            return {TShape::shPlain, 0x000000, "\u2196"};
        case TShellIcon::siLink:
            return {TShape::shPlain, 0x000000, "\u2192"};
        case TShellIcon::siAddFactor:
            return {TShape::shRounded, kWhite, "+"};
        case TShellIcon::siAddAttribute:
            return {TShape::shRounded, 0xE0F0E0, "+"};
        case TShellIcon::siAddAction:
            return {TShape::shBox, 0xF0E0F0, "+"};
        case TShellIcon::siGoal:
            return {TShape::shPlain, kGreen, "\u25B2"};
        case TShellIcon::siProspect:
            return {TShape::shDiamond, kWhite, "?"};
        case TShellIcon::siClearGoals:
            return {TShape::shPlain, kRed, "\u25B3"};
        case TShellIcon::siSelectTag:
            return {TShape::shDiamond, kAmber, "\u2713"};
        case TShellIcon::siCut:
            return {TShape::shPlain, 0x000000, "\u2702"};
        case TShellIcon::siCopy:
            return {TShape::shSquare, kWhite, "\u2750"};
        case TShellIcon::siPaste:
            return {TShape::shSquare, kAmber, "\u2193"};
        case TShellIcon::siLayout:
            return {TShape::shPlain, kPurple, "\u2637"};
        case TShellIcon::siDefineGroups:
            return {TShape::shPlain, kAmber, "\u25A6"};
        case TShellIcon::siConfigureAnalysis:
            return {TShape::shPlain, kGrey, "\u2699"};
        case TShellIcon::siAnalyze:
            return {TShape::shPlain, kGreen, "\u25B6"};
        case TShellIcon::siSaveReport:
            return {TShape::shSquare, kBlue, "\u2193"};
        case TShellIcon::siPrint:
            return {TShape::shSquare, kWhite, "P"};
        case TShellIcon::siBrowser:
            return {TShape::shCircle, kBlue, "W"};
        case TShellIcon::siCancelAnalysis:
            return {TShape::shCircle, kRed, "\u2715"};
    }
    return {TShape::shPlain, kGrey, "?"};
}

void DrawShape(QPainter& painter, const TIconStyle& style) {
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    painter.setBrush(QColor(style.Fill));
    switch (style.Shape) {
        case TShape::shCircle:
            painter.drawEllipse(QRectF(1.5, 1.5, 13, 13));
            break;
        case TShape::shSquare:
            painter.drawRect(QRectF(2.5, 2.5, 11, 11));
            break;
        case TShape::shRounded:
            painter.drawRoundedRect(QRectF(0.5, 3.5, 15, 9), 4.5, 4.5);
            break;
        case TShape::shBox:
            painter.drawRect(QRectF(0.5, 3.5, 15, 9));
            break;
        case TShape::shDiamond: {
            const QPointF points[] = {{8, 1}, {15, 8}, {8, 15}, {1, 8}};
            painter.drawPolygon(points, 4);
            break;
        }
        case TShape::shPerson:
            painter.drawEllipse(QRectF(5, 1, 6, 6));
            painter.drawRoundedRect(QRectF(2.5, 8.5, 11, 7), 3, 3);
            break;
        case TShape::shPlain:
            break;
    }
}

void DrawGlyph(QPainter& painter, const TIconStyle& style) {
    const QString glyph = QString::fromUtf8(style.Glyph);
    if (glyph.isEmpty()) {
        return;
    }
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(style.Shape == TShape::shPlain ? 14 : 10);
    painter.setFont(font);
    const bool onShape = style.Shape != TShape::shPlain;
    const bool darkFill = qGray(style.Fill) < 140;
    painter.setPen(onShape ? (darkFill ? QColor(Qt::white) : QColor(Qt::black))
                           : QColor(style.Fill));
    painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, glyph);
}

QImage Draw(TShellIcon kind) {
    QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const TIconStyle style = StyleOf(kind);
    DrawShape(painter, style);
    DrawGlyph(painter, style);
    return image;
}

// The tag icon of a concept, one stripe per tag, with white transparent as in the icon files.
QImage TagPicture(const TConcept& item) {
    QImage image(kTagIconSize, kTagIconSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    DrawConceptTagIcon(canvas, item);
    painter.end();
    QImage transparent = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < transparent.height(); ++y) {
        for (int x = 0; x < transparent.width(); ++x) {
            if (transparent.pixel(x, y) == qRgb(255, 255, 255)) {
                transparent.setPixel(x, y, qRgba(0, 0, 0, 0));
            }
        }
    }
    return transparent;
}

void DrawTagMarker(QPainter& painter, const TConcept& item) {
    if (item.Tags.empty()) {
        painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        const QPoint outline[] = {{1, 4}, {11, 4}, {15, 8}, {11, 12}, {1, 12}};
        painter.drawPolygon(outline, 5);
        return;
    }
    painter.drawImage(QPoint(0, 0), TagPicture(item));
}

}  // namespace

QIcon ShellIcon(TShellIcon kind) {
    return QIcon(QPixmap::fromImage(Draw(kind)));
}

QPixmap TreeNodePicture(TShellIcon kind, const TConcept* item) {
    QImage image(kTreeIconWidth, kTreeIconHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    if (item != nullptr) {
        DrawTagMarker(painter, *item);
    }
    painter.drawImage(QPoint(kTreeIconWidth - 16, 0), Draw(kind));
    painter.end();
    return QPixmap::fromImage(image);
}

}  // namespace kavo
