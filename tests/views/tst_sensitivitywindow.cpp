#include <QApplication>
#include <QBarSet>
#include <QChart>
#include <QClipboard>
#include <QHorizontalStackedBarSeries>
#include <QMimeData>
#include <QTreeWidget>
#include <QtTest>

#include "analyses/Sensitivity.h"
#include "app/CaseFixture.h"
#include "app/ModalAnswers.h"
#include "app/TCaseView.h"
#include "app/TKAVO.h"
#include "qtgui/TQtTextMeasure.h"
#include "support/TPerceptionBuilder.h"
#include "support/TestPlatform.h"
#include "views/TSensitivityWindow.h"

namespace {

// An action for one goal whose factor may rise by itself, and a goal out of reach whose factor
// may rise too: two uncertain prospects, the second with the wider swing.
struct TSensitiveCase {
    TSensitiveCase() {
        kavo::TFiP* action = Build.Action("Irrigate");
        kavo::TFiP* crops = Build.Factor("Crops");
        kavo::TFiP* rain = Build.Factor("Rain");
        Build.Link(action, crops, 2);
        Build.Goal(crops, 2);
        Build.Goal(rain, 2);
        Build.Prospect(crops, {{0.5, 0}, {0.5, 2}});
        Build.Prospect(rain, {{0.5, 0}, {0.5, 2}});
    }

    kavo::test::TRecordingMessages Messages;
    kavo::test::TRecordingStatus Status;
    kavo::TQtTextMeasure Measure;
    kavo::TContext Context{Messages, Status, Measure};
    kavo::TCase Case{Context};
    kavo::test::TPerceptionBuilder Build{Case};
};

}  // namespace

class TSensitivityWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void barsRunFromTheWidestSwingDown();
    void copyGraphPutsSvgAndImage();
    void perceptionCommandOpensIt();
};

void TSensitivityWindowTest::barsRunFromTheWidestSwingDown() {
    TSensitiveCase c;
    const kavo::TSensitivity result = kavo::FindSensitivity(*c.Build.Perception);
    kavo::TSensitivityWindow window(result, *c.Build.Perception);
    QCOMPARE(window.Labels(), (std::vector<QString>{QStringLiteral("Prospect of Rain"),
                                                    QStringLiteral("Prospect of Crops *")}));
    const auto series = window.Chart()->series();
    QCOMPARE(series.size(), 1);
    const auto* bars = qobject_cast<QHorizontalStackedBarSeries*>(series[0]);
    QVERIFY(bars != nullptr);
    // The lowest and highest best score relative to the base; the top bar is the last category.
    const QBarSet* lower = bars->barSets()[0];
    const QBarSet* higher = bars->barSets()[1];
    QCOMPARE(lower->count(), 2);
    QVERIFY(higher->at(1) - lower->at(1) > higher->at(0) - lower->at(0));
    QCOMPARE(window.Details()->topLevelItemCount(), 2);
    QCOMPARE(window.Details()->topLevelItem(1)->child(0)->text(3),
             QStringLiteral("Irrigate [F] +2"));
    QCOMPARE(window.Details()->topLevelItem(1)->child(1)->text(3),
             QStringLiteral("Irrigate [F] 0 (one of 2 that tie)"));
}

void TSensitivityWindowTest::copyGraphPutsSvgAndImage() {
    TSensitiveCase c;
    kavo::TSensitivityWindow window(kavo::FindSensitivity(*c.Build.Perception),
                                    *c.Build.Perception);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(window.CopyButton(), Qt::LeftButton);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    QVERIFY(data != nullptr);
    QVERIFY(data->data(QStringLiteral("image/svg+xml")).contains("Prospect of Rain"));
    QVERIFY(!qvariant_cast<QImage>(data->imageData()).isNull());
}

void TSensitivityWindowTest::perceptionCommandOpensIt() {
    kavo::TKAVO main;
    kavo::TCaseView* view = main.NewCase();
    kavo::test::FillWaterCase(view->Case());
    view->BuildTree();
    kavo::TArena* irrigation = view->Case().ArenaList.Find("Irrigation");
    view->Tree()->SelectNode(kavo::TNodeKind::nkAiA, irrigation->Actors[0].get());
    kavo::test::TModalAnswers answers;
    view->ShowSensitivity();
    QCOMPARE(answers.Seen.size(), 1);
    QCOMPARE(answers.Seen[0].Caption, QStringLiteral("Sensitivity of the best strategy: Farmers"));
    QVERIFY(!view->Case().Modified);
    QVERIFY(!view->Computing());
}

QTEST_MAIN(TSensitivityWindowTest)
#include "tst_sensitivitywindow.moc"
