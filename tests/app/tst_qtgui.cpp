#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QtTest>
#include <functional>

#include "qtgui/QtConversions.h"
#include "qtgui/TQtCanvas.h"
#include "qtgui/TQtTextMeasure.h"

using kavo::TCanvas;
using kavo::TColor;
using kavo::TFont;
using kavo::TPoint;
using kavo::TRect;

Q_DECLARE_METATYPE(std::function<void(TCanvas&)>)

namespace {

constexpr TColor kRed{255, 0, 0};

// Paints on a white 20 by 20 image with a black pen and a red brush, the drawing scaled by the
// factor.
QImage Paint(const std::function<void(TCanvas&)>& draw,
             kavo::TCanvasQuality quality = kavo::TCanvasQuality::cqExact, double scale = 1) {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    kavo::TQtCanvas canvas(painter, quality);
    canvas.SetPen(kavo::kBlack);
    canvas.SetBrush(kRed);
    draw(canvas);
    return image;
}

bool IsPainted(const QImage& image, int x, int y) {
    return image.pixel(x, y) != qRgb(255, 255, 255);
}

// The smallest box, both ends included, around every pixel that is not white.
QRect PaintedBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (IsPainted(image, x, y)) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

QRect Inclusive(int left, int top, int right, int bottom) {
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

class TQtGuiTest : public QObject {
    Q_OBJECT

  private slots:
    void horizontalLineLeavesOutItsEnd();
    void primitivesStayInsideTheirBox_data();
    void primitivesStayInsideTheirBox();
    void dashedLineHasGaps();
    void rectangleOutlinesWithPenAndFillsWithBrush();
    void clearBrushLeavesTheInside();
    void textIsPlacedByItsTopLeftCorner();
    void measuredWidthsGrowWithTheText_data();
    void measuredWidthsGrowWithTheText();
    void fontStyleIsHonoured();
    void courierNewMapsToAFixedPitchFace();
    void canvasMeasuresLikeTheTextMeasure();
    void smoothOutlinesAreCrispAtFullSize();
    void smoothLinesStayAPixelWideWhenShrunk_data();
    void smoothLinesStayAPixelWideWhenShrunk();
};

void TQtGuiTest::horizontalLineLeavesOutItsEnd() {
    const QImage image = Paint([](TCanvas& c) { c.Line({0, 14}, {3, 14}); });
    for (int x = 0; x <= 2; ++x) {
        QVERIFY2(IsPainted(image, x, 14), qPrintable(QString("pixel %1").arg(x)));
    }
    QVERIFY(!IsPainted(image, 3, 14));
}

void TQtGuiTest::primitivesStayInsideTheirBox_data() {
    QTest::addColumn<std::function<void(TCanvas&)>>("draw");
    QTest::addColumn<QRect>("bounds");

    using Draw = std::function<void(TCanvas&)>;
    QTest::newRow("line rightwards") << Draw([](TCanvas& c) {
        c.Line({0, 14}, {3, 14});
    }) << Inclusive(0, 14, 2, 14);
    QTest::newRow("line leftwards") << Draw([](TCanvas& c) {
        c.Line({3, 14}, {0, 14});
    }) << Inclusive(1, 14, 3, 14);
    QTest::newRow("line downwards") << Draw([](TCanvas& c) {
        c.Line({5, 1}, {5, 6});
    }) << Inclusive(5, 1, 5, 5);
    QTest::newRow("diagonal line") << Draw([](TCanvas& c) {
        c.Line({1, 1}, {5, 5});
    }) << Inclusive(1, 1, 4, 4);
    QTest::newRow("polyline") << Draw([](TCanvas& c) {
        c.Polyline({{1, 1}, {6, 1}, {6, 5}});
    }) << Inclusive(1, 1, 6, 4);
    QTest::newRow("polygon closes on its first point") << Draw([](TCanvas& c) {
        c.Polygon({{2, 2}, {8, 2}, {8, 7}});
    }) << Inclusive(2, 2, 8, 7);
    QTest::newRow("rectangle") << Draw([](TCanvas& c) {
        c.Rectangle({2, 2, 6, 5});
    }) << Inclusive(2, 2, 5, 4);
    QTest::newRow("rectangle without pen") << Draw([](TCanvas& c) {
        c.SetPen(kavo::kBlack, 1, kavo::TPenStyle::psClear);
        c.Rectangle({2, 2, 6, 5});
    }) << Inclusive(2, 2, 5, 4);
    QTest::newRow("rectangle given upside down") << Draw([](TCanvas& c) {
        c.Rectangle({6, 5, 2, 2});
    }) << Inclusive(2, 2, 5, 4);
    QTest::newRow("fill") << Draw([](TCanvas& c) {
        c.FillRect({2, 2, 6, 5}, kRed);
    }) << Inclusive(2, 2, 5, 4);
    QTest::newRow("ellipse") << Draw([](TCanvas& c) {
        c.Ellipse({1, 2, 15, 12});
    }) << Inclusive(1, 2, 14, 11);
    QTest::newRow("ellipse without pen") << Draw([](TCanvas& c) {
        c.SetPen(kavo::kBlack, 1, kavo::TPenStyle::psClear);
        c.Ellipse({1, 2, 15, 12});
    }) << Inclusive(1, 2, 14, 11);
    QTest::newRow("empty rectangle") << Draw([](TCanvas& c) {
        c.Rectangle({4, 4, 4, 9});
    }) << QRect();
    QTest::newRow("line without pen") << Draw([](TCanvas& c) {
        c.SetPen(kavo::kBlack, 1, kavo::TPenStyle::psClear);
        c.Line({0, 14}, {9, 14});
    }) << QRect();
}

void TQtGuiTest::primitivesStayInsideTheirBox() {
    QFETCH(std::function<void(TCanvas&)>, draw);
    QFETCH(QRect, bounds);
    QCOMPARE(PaintedBounds(Paint(draw)), bounds);
}

void TQtGuiTest::dashedLineHasGaps() {
    const QImage image = Paint([](TCanvas& c) {
        c.SetPen(kavo::kBlack, 1, kavo::TPenStyle::psDash);
        c.Line({0, 3}, {19, 3});
    });
    QVERIFY(IsPainted(image, 0, 3));
    int gaps = 0;
    for (int x = 0; x < 19; ++x) {
        gaps += IsPainted(image, x, 3) ? 0 : 1;
    }
    QVERIFY(gaps > 0);
    QVERIFY(gaps < 19);
}

void TQtGuiTest::rectangleOutlinesWithPenAndFillsWithBrush() {
    const QImage image = Paint([](TCanvas& c) { c.Rectangle({2, 2, 8, 7}); });
    for (const QPoint& corner : {QPoint(2, 2), QPoint(7, 2), QPoint(2, 6), QPoint(7, 6)}) {
        QCOMPARE(image.pixel(corner), qRgb(0, 0, 0));
    }
    QCOMPARE(image.pixel(4, 4), qRgb(255, 0, 0));
}

void TQtGuiTest::clearBrushLeavesTheInside() {
    const QImage image = Paint([](TCanvas& c) {
        c.SetBrush(kRed, kavo::TBrushStyle::bsClear);
        c.Rectangle({2, 2, 8, 7});
    });
    QCOMPARE(image.pixel(2, 2), qRgb(0, 0, 0));
    QVERIFY(!IsPainted(image, 4, 4));
}

void TQtGuiTest::textIsPlacedByItsTopLeftCorner() {
    int width = 0;
    int height = 0;
    const QImage image = Paint([&](TCanvas& c) {
        c.SetFont(TFont{"Arial", 8}, kavo::kBlack);
        c.TextOut({3, 4}, "Hg");
        width = c.TextWidth("Hg");
        height = c.TextHeight("Hg");
    });
    const QRect painted = PaintedBounds(image);
    QVERIFY(!painted.isNull());
    QVERIFY2(QRect(3, 4, width, height).contains(painted),
             qPrintable(QString("text painted at %1,%2 size %3x%4")
                            .arg(painted.x())
                            .arg(painted.y())
                            .arg(painted.width())
                            .arg(painted.height())));
    // The capital starts near the top of the box, not above it and not on the baseline.
    QVERIFY(painted.top() < 4 + height / 2);
}

void TQtGuiTest::measuredWidthsGrowWithTheText_data() {
    QTest::addColumn<QString>("name");
    for (const char* name :
         {"MS Sans Serif", "Small Fonts", "Courier New", "Arial", "No Such Face"}) {
        QTest::newRow(name) << QString::fromLatin1(name);
    }
}

void TQtGuiTest::measuredWidthsGrowWithTheText() {
    QFETCH(QString, name);
    const kavo::TQtTextMeasure measure;
    const TFont font{name.toStdString(), 8};
    const int one = measure.TextWidth(font, "M");
    const int two = measure.TextWidth(font, "MM");
    const int four = measure.TextWidth(font, "MMMM");
    QVERIFY(one > 0);
    QVERIFY(one < two);
    QVERIFY(two < four);
    QCOMPARE(measure.TextWidth(font, ""), 0);
    QVERIFY(measure.TextHeight(font, "[hg]") > 0);

    const TFont larger{name.toStdString(), 16};
    QVERIFY(measure.TextWidth(larger, "MMMM") > four);
    QVERIFY(measure.TextHeight(larger, "[hg]") > measure.TextHeight(font, "[hg]"));
}

void TQtGuiTest::fontStyleIsHonoured() {
    const kavo::TQtTextMeasure measure;
    const TFont plain{"Arial", 10};
    TFont bold = plain;
    bold.Bold = true;
    TFont italic = plain;
    italic.Italic = true;
    QVERIFY(QFontInfo(kavo::ToQFont(bold)).bold());
    QVERIFY(QFontInfo(kavo::ToQFont(italic)).italic());
    QVERIFY(!QFontInfo(kavo::ToQFont(plain)).bold());
    // Measured one after the other, so a remembered font must not answer for another.
    QVERIFY(measure.TextWidth(bold, "Bold text") > measure.TextWidth(plain, "Bold text"));
    QVERIFY(measure.TextWidth(plain, "Bold text") < measure.TextWidth(bold, "Bold text"));
}

void TQtGuiTest::courierNewMapsToAFixedPitchFace() {
    const kavo::TQtTextMeasure measure;
    const TFont courier{"Courier New", 10};
    QVERIFY(QFontInfo(kavo::ToQFont(courier)).fixedPitch());
    QCOMPARE(measure.TextWidth(courier, "iiii"), measure.TextWidth(courier, "MMMM"));
    QVERIFY(!QFontInfo(kavo::ToQFont(TFont{"MS Sans Serif", 10})).fixedPitch());
}

void TQtGuiTest::canvasMeasuresLikeTheTextMeasure() {
    const kavo::TQtTextMeasure measure;
    const TFont font{"MS Sans Serif", 8, true};
    Paint([&](TCanvas& c) {
        c.SetFont(font, kavo::kBlack);
        QCOMPARE(c.TextWidth("Government budget"), measure.TextWidth(font, "Government budget"));
        QCOMPARE(c.TextHeight("[hg]"), measure.TextHeight(font, "[hg]"));
    });
}

void TQtGuiTest::smoothOutlinesAreCrispAtFullSize() {
    // Outlines run through the middle of the pixels the exact drawing paints, so at full size a
    // level or upright line is one solid pixel wide, not two half-grey ones.
    const auto smooth = kavo::TCanvasQuality::cqSmooth;
    const QImage box = Paint([](TCanvas& c) { c.Rectangle({2, 2, 8, 7}); }, smooth);
    QCOMPARE(PaintedBounds(box), Inclusive(2, 2, 7, 6));
    for (const QPoint& side : {QPoint(4, 2), QPoint(2, 4), QPoint(7, 4), QPoint(4, 6)}) {
        QCOMPARE(box.pixel(side), qRgb(0, 0, 0));
    }
    QCOMPARE(box.pixel(4, 4), qRgb(255, 0, 0));

    const QImage line = Paint([](TCanvas& c) { c.Line({0, 14}, {12, 14}); }, smooth);
    QCOMPARE(PaintedBounds(line).top(), 14);
    QCOMPARE(PaintedBounds(line).bottom(), 14);
    QCOMPARE(line.pixel(6, 14), qRgb(0, 0, 0));
}

void TQtGuiTest::smoothLinesStayAPixelWideWhenShrunk_data() {
    QTest::addColumn<std::function<void(TCanvas&)>>("draw");
    using Draw = std::function<void(TCanvas&)>;
    QTest::newRow("level") << Draw([](TCanvas& c) { c.Line({0, 33}, {76, 33}); });
    QTest::newRow("upright") << Draw([](TCanvas& c) { c.Line({33, 0}, {33, 76}); });
    QTest::newRow("aslant") << Draw([](TCanvas& c) { c.Line({0, 0}, {76, 76}); });
    QTest::newRow("outline") << Draw([](TCanvas& c) {
        c.SetBrush(kavo::kWhite);
        c.Rectangle({0, 0, 77, 77});
    });
}

void TQtGuiTest::smoothLinesStayAPixelWideWhenShrunk() {
    QFETCH(std::function<void(TCanvas&)>, draw);
    // At a quarter of the size a one-pixel line would cover a quarter of a pixel and fade away.
    const QImage image = Paint(draw, kavo::TCanvasQuality::cqSmooth, 0.25);
    const QRect painted = PaintedBounds(image);
    QVERIFY(painted.width() >= 18 || painted.height() >= 18);
    int darkest = 255;
    for (int y = painted.top(); y <= painted.bottom(); ++y) {
        for (int x = painted.left(); x <= painted.right(); ++x) {
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
        }
    }
    QVERIFY2(darkest < 128, qPrintable(QString::number(darkest)));
}

QTEST_MAIN(TQtGuiTest)
#include "tst_qtgui.moc"
