#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QMimeData>
#include <QValueAxis>
#include <QtTest>
#include <memory>

#include "app/TProValMonitorWindow.h"
#include "app/TRoundPlotWindow.h"
#include "model/TGroup.h"
#include "model/TTag.h"
#include "simulation/RoundZero.h"
#include "simulation/Rounds.h"
#include "simulation/TRoundExecution.h"
#include "support/TPerceptionBuilder.h"
#include "support/TestPlatform.h"

using kavo::TPlotType;

namespace {

// Farmers own Irrigate and want a good Harvest; the City owns Tax and has no goal. Rain falls by a
// level each round, played for three rounds.
struct TPlayedCase : kavo::test::TCaseFixture {
    TPlayedCase() {
        kavo::test::TPerceptionBuilder farmers(Case, "Farmers", "Water");
        kavo::TFiP* harvest = farmers.Factor("Harvest");
        farmers.Link(farmers.Action("Irrigate"), harvest, 1);
        farmers.Prospect(farmers.Factor("Rain"), -1);
        farmers.Link(farmers.Factor("Rain"), harvest);
        farmers.Goal(harvest, 1);
        kavo::test::TPerceptionBuilder city(Case, "City", "Water");
        city.Link(city.Action("Tax"), city.Factor("Budget"));
        kavo::TArena* round = kavo::CompileRound0(Case);
        for (int i = 0; i < 3; ++i) {
            round = kavo::TRoundExecution(Case).Run(round)->Round;
        }
    }
};

QList<QLineSeries*> Lines(QChart* chart) {
    QList<QLineSeries*> lines;
    for (QAbstractSeries* series : chart->series()) {
        lines << qobject_cast<QLineSeries*>(series);
    }
    return lines;
}

}  // namespace

class TRoundPlotTest : public QObject {
    Q_OBJECT

  private slots:
    void everyChartOfThePlayedRounds_data();
    void everyChartOfThePlayedRounds();
    void clickingASeriesHighlightsIt();
    void groupFilterNarrowsTheChart();
    void withoutRoundZeroNothingIsDrawn();
    void copyGraphPutsSvgAndPng();
    void closingTheCaseForgetsIt();
    void monitorChartsEverySamplePeriod();
};

void TRoundPlotTest::everyChartOfThePlayedRounds_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("series");
    QTest::newRow("tactics") << 0 << "Actions taken over time" << 2;
    QTest::newRow("changes") << 1 << "Changes in factors over time (in % relative to base level)"
                             << 2;
    QTest::newRow("utilities") << 3 << "Total utility per actor (in U)" << 2;
    QTest::newRow("satisfaction") << 4 << "Total satisfaction per actor (in %)" << 2;
    QTest::newRow("frustration") << 5 << "Total frustration per actor (in %)" << 2;
}

void TRoundPlotTest::everyChartOfThePlayedRounds() {
    QFETCH(int, type);
    QFETCH(QString, title);
    QFETCH(int, series);
    TPlayedCase played;
    kavo::TRoundPlotWindow window(played.Messages);
    window.ShowPlot(played.Case);
    window.SelectPlot(static_cast<TPlotType>(type));
    QCOMPARE(window.Chart()->title(), title);
    const QList<QLineSeries*> lines = Lines(window.Chart());
    QCOMPARE(lines.size(), series);
    QVERIFY(window.Chart()->legend()->reverseMarkers());
    // The start and three rounds; the actions' stairs have a step before each round.
    QCOMPARE(lines.front()->points().front().x(), 0.0);
    QCOMPARE(lines.front()->points().back().x(), 3.0);
    QVERIFY(played.Messages.Log.empty());
}

void TRoundPlotTest::clickingASeriesHighlightsIt() {
    TPlayedCase played;
    kavo::TRoundPlotWindow window(played.Messages);
    window.ShowPlot(played.Case);
    window.SelectPlot(TPlotType::ptUtilities);
    const QList<QLineSeries*> lines = Lines(window.Chart());
    window.Highlight(lines[1]);
    QCOMPARE(lines[0]->pen().width(), 1);
    QCOMPARE(lines[1]->pen().width(), 3);
    QCOMPARE(window.StatusText(), lines[1]->name());
    // The goals chart is a drawing, with a row per goal and a column per round.
    window.SelectPlot(TPlotType::ptGoals);
    QVERIFY(window.Overlay().width() > 100);
    QVERIFY(window.Overlay().height() >= 22 + 40);
}

void TRoundPlotTest::groupFilterNarrowsTheChart() {
    TPlayedCase played;
    kavo::TTag* tag = played.Case.FindOrCreateTag("Town");
    kavo::TGroup* group = played.Case.FindOrCreateGroup("Townsfolk", "actors");
    group->Tags.push_back(tag);
    group->Checked = true;
    played.Case.ActorList.Find("City")->Tags.push_back(tag);
    kavo::TRoundPlotWindow window(played.Messages);
    window.ShowPlot(played.Case);
    auto* actors = window.findChild<QComboBox*>(QStringLiteral("ActorGroup"));
    QCOMPARE(actors->count(), 2);
    QCOMPARE(actors->itemText(0), QStringLiteral("no selection"));
    window.SelectPlot(TPlotType::ptUtilities);
    actors->setCurrentIndex(1);
    QCOMPARE(Lines(window.Chart()).size(), 1);
    QCOMPARE(Lines(window.Chart()).front()->name(), QStringLiteral("City"));
}

void TRoundPlotTest::withoutRoundZeroNothingIsDrawn() {
    TPlayedCase played;
    kavo::TakeSimulationArenas(played.Case);
    kavo::TRoundPlotWindow window(played.Messages);
    window.ShowPlot(played.Case);
    QVERIFY(Lines(window.Chart()).isEmpty());
    QCOMPARE(played.Messages.Log.size(), 1);
    QCOMPARE(played.Messages.Log.front().Text, std::string("*Round 0 is missing"));
}

void TRoundPlotTest::copyGraphPutsSvgAndPng() {
    TPlayedCase played;
    kavo::TRoundPlotWindow window(played.Messages);
    window.ShowPlot(played.Case);
    for (const TPlotType type : {TPlotType::ptChanges, TPlotType::ptGoals}) {
        window.SelectPlot(type);
        QApplication::clipboard()->clear();
        window.CopyGraph();
        const QMimeData* data = QApplication::clipboard()->mimeData();
        QVERIFY(data != nullptr);
        QVERIFY(data->data(QStringLiteral("image/svg+xml")).startsWith("<?xml"));
        QVERIFY(!qvariant_cast<QImage>(data->imageData()).isNull());
    }
}

void TRoundPlotTest::closingTheCaseForgetsIt() {
    TPlayedCase played;
    kavo::TRoundPlotWindow window(played.Messages);
    window.ShowPlot(played.Case);
    QVERIFY(window.isVisible());
    TPlayedCase other;
    window.Forget(&other.Case);
    QVERIFY(window.isVisible());
    window.Forget(&played.Case);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.PlottedCase(), nullptr);
}

void TRoundPlotTest::monitorChartsEverySamplePeriod() {
    kavo::test::TCaseFixture fixture;
    kavo::TProValMonitorWindow monitor;
    QCOMPARE(monitor.findChild<QLabel*>(QStringLiteral("SamplePeriod"))->text(),
             QStringLiteral("500"));
    monitor.SetSamplePosition(10);
    kavo::TProVal change(kavo::TProValKind::pvChange);
    change.SetZero();
    for (int i = 0; i < 250; ++i) {
        monitor.Observe("RawMean", change);
    }
    QVERIFY(monitor.isVisible());
    monitor.Choose(1, kavo::TProValStatistics::vaCount);
    monitor.Redraw();
    const QList<QLineSeries*> lines = Lines(monitor.ChartView()->chart());
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[1]->count(), 2);
    QCOMPARE(lines[1]->at(0).y(), 1.0);
    monitor.ResetMonitor();
    QCOMPARE(Lines(monitor.ChartView()->chart())[1]->count(), 0);
}

QTEST_MAIN(TRoundPlotTest)
#include "tst_roundplot.moc"
