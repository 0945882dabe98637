#include "app/EditorPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "app/TStripEditor.h"
#include "diagram/DiagramColors.h"
#include "diagram/DiagramMarks.h"
#include "model/TCase.h"
#include "qtgui/QtConversions.h"
#include "qtgui/TQtCanvas.h"

namespace kavo {

namespace {

constexpr int kPitch = TStripEditor::kCellPitch;

QRect Cell(int level, int height) {
    return {kPitch * (level + 3) + 1, 0, kPitch - 1, height};
}

}  // namespace

void DrawUtilityFace(QPainter& painter, int x, int y, int utility) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor fill = utility < 0   ? QColor(255, 160 - 30 * -utility, 140 - 30 * -utility)
                        : utility > 0 ? QColor(170 - 30 * utility, 235, 130 - 30 * utility)
                                      : QColor(250, 235, 120);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(fill);
    painter.drawEllipse(QRectF(x + 0.5, y + 0.5, 21, 21));
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPointF(x + 7.5, y + 8), 1.5, 1.5);
    painter.drawEllipse(QPointF(x + 14.5, y + 8), 1.5, 1.5);
    painter.setBrush(Qt::NoBrush);
    // The mouth bends up for a positive utility and down for a negative one.
    QPainterPath mouth(QPointF(x + 6, y + 15));
    mouth.quadTo(QPointF(x + 11, y + 15 + 2.0 * utility), QPointF(x + 16, y + 15));
    painter.drawPath(mouth);
    painter.restore();
}

void DrawGoalStrip(QPainter& painter, int chosenLevel, int priority, bool crossed,
                   bool underlined) {
    TQtCanvas canvas(painter);
    for (int level = -3; level <= 3; ++level) {
        const QColor fill =
            level == chosenLevel ? ToQColor(Lighten(GoalColor(level, priority))) : Qt::white;
        painter.fillRect(Cell(level, 25), fill);
        DrawGoalMark(canvas, kPitch * (level + 3) + 8, 12, level, priority, crossed, underlined,
                     level != chosenLevel);
    }
}

void DrawProbabilityStrip(QPainter& painter, const TProbVector& vector) {
    QFont font = painter.font();
    font.setPixelSize(9);
    painter.setFont(font);
    for (int level = -3; level <= 3; ++level) {
        const double p = vector[level];
        const int g = 255 - static_cast<int>(std::lround(std::sqrt(p / 2) * 196));
        const QRect cell(kPitch * (level + 3) + 1, 1, kPitch - 1, 24);
        painter.fillRect(cell, QColor(g, g, g));
        painter.setPen(Qt::black);
        painter.drawText(cell.adjusted(0, 5, 0, 0), Qt::AlignHCenter | Qt::AlignTop,
                         QString::number(std::lround(p * 100)) + QLatin1Char('%'));
    }
}

void DrawProspectStrip(QPainter& painter, int chosenLevel, const TCase& current) {
    TQtCanvas canvas(painter);
    for (int level = -3; level <= 3; ++level) {
        const bool chosen = level == chosenLevel;
        painter.fillRect(Cell(level, 26), chosen ? QColor(255, 255, 192) : Qt::white);
        DrawProspectMark(canvas, kPitch * (level + 3) + 21, 13, level, 0, !chosen, true,
                         current.Font);
    }
}

void DrawLinkStrip(QPainter& painter, int chosenLevel) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (int level = -3; level <= 3; ++level) {
        const bool chosen = level == chosenLevel;
        painter.fillRect(Cell(level, 26), chosen ? QColor(255, 255, 192) : Qt::white);
        const int left = kPitch * (level + 3) + 4;
        const QColor colour = !chosen     ? QColor(160, 160, 160)
                              : level < 0 ? QColor(200, 0, 0)
                              : level > 0 ? QColor(0, 120, 0)
                                          : QColor(0, 0, 0);
        const double width = level == 0 ? 1 : std::abs(level) * 1.5;
        painter.setPen(QPen(colour, width, level == 0 ? Qt::DotLine : Qt::SolidLine));
        painter.drawLine(QPointF(left, 13), QPointF(left + 14, 13));
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawPolygon(
            QPolygonF({QPointF(left + 13, 8), QPointF(left + 19, 13), QPointF(left + 13, 18)}));
        if (level < 0) {
            painter.setPen(QPen(colour, 1.5));
            painter.drawLine(QPointF(left + 4, 5), QPointF(left + 9, 5));
        }
    }
    painter.restore();
}

int UncertaintyOf(Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::ShiftModifier) {
        return 1;
    }
    if (modifiers & Qt::ControlModifier) {
        return 2;
    }
    return (modifiers & Qt::AltModifier) ? 3 : 0;
}

bool StepLevelOrUncertainty(int key, int& level, int& uncertainty) {
    int newLevel = level;
    int newUncertainty = uncertainty;
    switch (key) {
        case Qt::Key_Left:
            --newLevel;
            break;
        case Qt::Key_Right:
            ++newLevel;
            break;
        case Qt::Key_Up:
            ++newUncertainty;
            break;
        default:
            --newUncertainty;
            break;
    }
    if (newLevel < -3 || newLevel > 3 || newUncertainty < 0 || newUncertainty > 3) {
        return false;
    }
    level = newLevel;
    uncertainty = newUncertainty;
    return true;
}

Qt::KeyboardModifiers ModifiersOfUncertainty(int uncertainty) {
    switch (uncertainty) {
        case 1:
            return Qt::ShiftModifier;
        case 2:
            return Qt::ControlModifier;
        case 3:
            return Qt::AltModifier;
        default:
            return Qt::NoModifier;
    }
}

}  // namespace kavo
