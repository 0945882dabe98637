#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "analyses/TQuickAnalysis.h"
#include "app/CaseFixture.h"
#include "app/TCaseTree.h"
#include "app/TCaseView.h"
#include "app/TDiagramView.h"
#include "app/TKAVO.h"
#include "model/TLevels.h"
#include "views/TInfoPane.h"

using kavo::TCaseView;
using kavo::TFiP;
using kavo::TInfoPane;
using kavo::TKAVO;
using kavo::TNodeKind;

namespace {

QStringList Lines(const TInfoPane& pane) {
    QStringList lines;
    for (const std::string& line : pane.Analysis().Lines()) {
        lines << QString::fromStdString(line);
    }
    return lines;
}

}  // namespace

class TQuickPaneTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void paneHasItsSwitchesAndHints();
    void infoButtonShowsAndHidesThePaneAndItsCopyCommands();
    void paneFollowsTheDiagramsEditability();
    void movingOverABoxExplainsItsInfluenceOnTheSelection();
    void movingOverARangeCellExplainsTheLevelsEffect();
    void movingOverTheTreeExplainsConflicts();
    void copiesPictureAndText();
    void closingTheCaseWindowEmptiesThePane();

  private:
    // The farmers' perception of irrigation, shown; the pane shown with it.
    TFiP* ShowFarmers();
    // Moves the pointer to a point of the diagram, in diagram coordinates.
    void PointAt(QPoint at);

    QTemporaryDir SettingsFolder;
    std::unique_ptr<TKAVO> Window;
    TCaseView* View = nullptr;
    TInfoPane* Pane = nullptr;
    kavo::TPerception* Farmers = nullptr;
};

void TQuickPaneTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QStringLiteral("KAVO"));
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(SettingsFolder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsFolder.path());
}

void TQuickPaneTest::init() {
    Window = std::make_unique<TKAVO>();
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    Pane = &Window->InfoPane();
    View = Window->NewCase();
    kavo::test::FillWaterCase(View->Case());
    View->BuildTree();
    Farmers = View->Case().ArenaList.Find("Irrigation")->FindActor("Farmers")->Perception.get();
}

void TQuickPaneTest::cleanup() {
    for (TCaseView* view : Window->CaseViews()) {
        view->Case().Modified = false;
    }
    Window.reset();
    View = nullptr;
}

TFiP* TQuickPaneTest::ShowFarmers() {
    View->Tree()->SelectNode(TNodeKind::nkAiA,
                             View->Case().ArenaList.Find("Irrigation")->FindActor("Farmers"));
    QToolButton* info = View->findChild<QToolButton*>(QStringLiteral("InfoBtn"));
    if (!info->isChecked()) {
        QTest::mouseClick(info, Qt::LeftButton);
    }
    return Farmers->FindFiP(View->Case().FactorList.Find("Pumping [Farm]"));
}

void TQuickPaneTest::PointAt(QPoint at) {
    const double zoom = View->Zoom();
    // A move to where the pointer is already would not arrive.
    QTest::mouseMove(View->DrawingArea(), QPoint(1, 1));
    QTest::mouseMove(View->DrawingArea(), QPoint(qRound(at.x() * zoom), qRound(at.y() * zoom)));
}

void TQuickPaneTest::paneHasItsSwitchesAndHints() {
    QCOMPARE(Pane->windowTitle(), QStringLiteral("Quick analysis"));
    QCOMPARE(Pane->size(), QSize(557, 158));
    QCOMPARE(Pane->minimumSize(), QSize(120, 40));
    QVERIFY(Pane->windowFlags() & Qt::WindowStaysOnTopHint);
    const struct {
        QCheckBox* Box;
        const char* Caption;
        const char* Hint;
    } switches[] = {
        {Pane->InfluenceBox(), "Inferred influence",
         "Show inferred influence of factor under cursor on selected factor(s)"},
        {Pane->USFBox(), "USF",
         "Show utility, satisfaction and frustration for selected goals as result of tactic "
         "under cursor"},
        {Pane->StrategiesBox(), "Strategies",
         "Show inferred strategies for selected actor perception"},
        {Pane->ConflictsBox(), "Conflicts",
         "Show conflicts between selected perception and perception under cursor"},
    };
    for (const auto& s : switches) {
        QCOMPARE(s.Box->text(), QString::fromLatin1(s.Caption));
        QCOMPARE(s.Box->toolTip(), QString::fromLatin1(s.Hint));
        QVERIFY(!s.Box->isChecked());
    }
    QVERIFY(!Pane->NoiseBox()->isChecked());
}

void TQuickPaneTest::infoButtonShowsAndHidesThePaneAndItsCopyCommands() {
    QAction* copy = Window->findChild<QAction*>(QStringLiteral("actionCopyQuickAnalysis"));
    QAction* copyText = Window->findChild<QAction*>(QStringLiteral("actionCopyQuickAnalysisText"));
    QVERIFY(!copy->isEnabled());
    ShowFarmers();
    QToolButton* info = View->findChild<QToolButton*>(QStringLiteral("InfoBtn"));
    QVERIFY(Pane->isVisible());
    QCOMPARE(info->toolTip(), QStringLiteral("Hide quick analysis"));
    QVERIFY(copy->isEnabled());
    QVERIFY(copyText->isEnabled());
    // Right-aligned with the main window, at the top of the screen.
    QCOMPARE(Pane->frameGeometry().right(), Window->frameGeometry().right());
    QTest::mouseClick(info, Qt::LeftButton);
    QVERIFY(!Pane->isVisible());
    QCOMPARE(info->toolTip(), QStringLiteral("Show quick analysis"));
    QVERIFY(!copy->isEnabled());
    QVERIFY(!copyText->isEnabled());
}

void TQuickPaneTest::paneFollowsTheDiagramsEditability() {
    ShowFarmers();
    QToolButton* info = View->findChild<QToolButton*>(QStringLiteral("InfoBtn"));
    View->Tree()->SelectNode(TNodeKind::nkArena, View->Case().ArenaList.Find("Irrigation"));
    QVERIFY(!Pane->isVisible());
    QVERIFY(!info->isEnabled());
    QVERIFY(info->isChecked());
    ShowFarmers();
    QVERIFY(Pane->isVisible());
}

void TQuickPaneTest::movingOverABoxExplainsItsInfluenceOnTheSelection() {
    TFiP* pumping = ShowFarmers();
    Pane->InfluenceBox()->setChecked(true);
    Farmers->Selection = {Farmers->FindFiP(View->Case().FactorList.Find("Income [Farm]"))};
    PointAt({pumping->X, pumping->Y + 8});
    QCOMPARE(Lines(*Pane).value(0), QStringLiteral("1 path from Pumping [Farm] to Income [Farm]"));
    QCOMPARE(Lines(*Pane).value(1), QStringLiteral("Total influence: "));
    QVERIFY(Farmers->ResultsValid[kavo::TPerception::Inferred]);
    // Off every box and link, the pane has nothing to say.
    PointAt({5, 5});
    QVERIFY(Lines(*Pane).isEmpty());
}

void TQuickPaneTest::movingOverARangeCellExplainsTheLevelsEffect() {
    TFiP* pumping = ShowFarmers();
    Pane->USFBox()->setChecked(true);
    const int top = pumping->Y - pumping->Factor->BoxHeight / 2;
    // The cell of level +2 is the sixth of the bar, eleven pixels each from X - 39.
    PointAt({pumping->X - 39 + 11 * 5 + 5, top + 5});
    QVERIFY2(
        Lines(*Pane).value(0).startsWith(QStringLiteral("Effect of +2 Pumping [Farm] on 1 goal: ")),
        qPrintable(Lines(*Pane).join(QLatin1Char('\n'))));
    PointAt({pumping->X, pumping->Y + 8});
    QVERIFY(Lines(*Pane).isEmpty());
}

void TQuickPaneTest::movingOverTheTreeExplainsConflicts() {
    ShowFarmers();
    Pane->ConflictsBox()->setChecked(true);
    kavo::TCaseTree* tree = View->Tree();
    QTreeWidgetItem* board = nullptr;
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
        if ((*it)->text(0) == QStringLiteral("Water board") &&
            (*it)->parent()->text(0) == QStringLiteral("Irrigation")) {
            board = *it;
        }
    }
    QVERIFY(board != nullptr);
    QTest::mouseMove(tree->viewport(), tree->visualItemRect(board).center());
    const QStringList lines = Lines(*Pane);
    QCOMPARE(lines.size(), 8);
    QCOMPARE(lines[0], QStringLiteral("Conflicting goals in perception of \"Farmers\" and "
                                      "perception of \"Water board\""));
    QVERIFY(lines[1].startsWith(QStringLiteral("- conflict = ")));
    QCOMPARE(lines[6].left(20), QStringLiteral("Conflicting actions "));
}

void TQuickPaneTest::copiesPictureAndText() {
    ShowFarmers();
    Pane->CopyPicture();
    QCOMPARE(qvariant_cast<QImage>(QApplication::clipboard()->mimeData()->imageData()).size(),
             QSize(10, 10));
    Pane->InfluenceBox()->setChecked(true);
    TFiP* pumping = Farmers->FindFiP(View->Case().FactorList.Find("Pumping [Farm]"));
    Farmers->Selection = {Farmers->FindFiP(View->Case().FactorList.Find("Crop yield"))};
    PointAt({pumping->X, pumping->Y + 8});
    Window->findChild<QAction*>(QStringLiteral("actionCopyQuickAnalysisText"))->trigger();
    QVERIFY(QApplication::clipboard()->text().startsWith(
        QStringLiteral("1 path from Pumping [Farm] to Crop yield\nTotal influence: \n")));
    Window->findChild<QAction*>(QStringLiteral("actionCopyQuickAnalysis"))->trigger();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(),
             QSize(Pane->Analysis().Right() + 10, Pane->Analysis().Bottom() + 10));
    QVERIFY(data->data(QStringLiteral("image/svg+xml")).contains("Total influence:"));
}

void TQuickPaneTest::closingTheCaseWindowEmptiesThePane() {
    TFiP* pumping = ShowFarmers();
    Pane->InfluenceBox()->setChecked(true);
    Farmers->Selection = {Farmers->FindFiP(View->Case().FactorList.Find("Crop yield"))};
    PointAt({pumping->X, pumping->Y + 8});
    QVERIFY(!Lines(*Pane).isEmpty());
    View->Case().Modified = false;
    Window->findChild<QAction*>(QStringLiteral("actionClose"))->trigger();
    QVERIFY(Window->CaseViews().isEmpty());
    QVERIFY(Lines(*Pane).isEmpty());
    QVERIFY(!Pane->isVisible());
}

QTEST_MAIN(TQuickPaneTest)
#include "tst_quickpane.moc"
