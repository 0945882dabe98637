#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "app/CaseFixture.h"
#include "app/ModalAnswers.h"
#include "app/TCaseTree.h"
#include "app/TCaseView.h"
#include "app/TKAVO.h"
#include "diagram/TSystemDiagram.h"
#include "qtgui/TQtTextMeasure.h"
#include "support/TestPlatform.h"
#include "views/TSystemDiagramDlg.h"

using kavo::TFiP;
using kavo::TSystemDiagramDlg;

namespace {

// The irrigation arena's analyst view with a mean (the levy), an external (the water price, with a
// prospect), a criterion (the groundwater level, with a goal) and an inside factor (pumping).
struct TSystemCase {
    TSystemCase() {
        kavo::test::FillWaterCase(Case);
        Arena = Case.ArenaList.Find("Irrigation");
        kavo::TPerception& view = *Arena->AnalystView;
        view.Add(std::make_unique<kavo::TProspect>(
            Case, view.FindFiP(Case.FactorList.Find("Water price")), 1, 0));
        view.Add(std::make_unique<kavo::TGoal>(
            Case, view.FindFiP(Case.FactorList.Find("Groundwater level")),
            kavo::TGoalType::gtStandard, 2, 2));
        view.Selection.clear();
        Case.Modified = false;
    }

    kavo::test::TRecordingMessages Messages;
    kavo::test::TRecordingStatus Status;
    kavo::TQtTextMeasure Measure;
    kavo::TContext Context{Messages, Status, Measure};
    kavo::TCase Case{Context};
    kavo::TArena* Arena = nullptr;
};

QPoint At(const TFiP* fip) {
    return {fip->X, fip->Y};
}

}  // namespace

class TSystemDiagramTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void opensWithTheWindowsParts();
    void pointerShowsPositionAndFactor();
    void ctrlClickHidesAndTheListShowsAgain();
    void draggingACriterionKeepsItOnTheRightEdgeAndLeavesTheCase();
    void modeButtonSwitchesToImpactArrows();
    void copyPutsThePictureOnTheClipboard();
    void caseMenuOpensItForTheSelectedArena();

  private:
    QTemporaryDir SettingsFolder;
};

void TSystemDiagramTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QStringLiteral("KAVO"));
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(SettingsFolder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsFolder.path());
}

void TSystemDiagramTest::opensWithTheWindowsParts() {
    TSystemCase c;
    TSystemDiagramDlg dialog(*c.Arena);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("System diagram"));
    QCOMPARE(dialog.size(), QSize(696, 375));
    QCOMPARE(dialog.CopyButton()->toolTip(), QStringLiteral("Copy diagram to clipboard"));
    QCOMPARE(dialog.ModeButton()->toolTip(),
             QStringLiteral("Show impacts with colored arrows without internal factors"));
    QCOMPARE(dialog.UnhideList()->count(), 1);
    QCOMPARE(dialog.UnhideList()->itemText(0), QStringLiteral("No factors to unhide"));
    QCOMPARE(dialog.UnhideList()->width(), 267);
    const kavo::TSystemDiagram& diagram = dialog.Diagram();
    QCOMPARE(diagram.Means.size(), std::size_t{1});
    QCOMPARE(diagram.Externals.size(), std::size_t{1});
    QCOMPARE(diagram.Criteria.size(), std::size_t{1});
    QCOMPARE(diagram.Internals.size(), std::size_t{1});
    QCOMPARE(dialog.Picture()->size(), QSize(diagram.PictureWidth, diagram.PictureHeight));
}

void TSystemDiagramTest::pointerShowsPositionAndFactor() {
    TSystemCase c;
    TSystemDiagramDlg dialog(*c.Arena);
    dialog.show();
    const TFiP* levy = dialog.Diagram().Means[0];
    QTest::mouseMove(dialog.Picture(), At(levy));
    QCOMPARE(dialog.PositionPanel()->text(),
             QStringLiteral("X = %1  Y = %2").arg(levy->X).arg(levy->Y));
    QCOMPARE(dialog.NamePanel()->text(), QStringLiteral("Levy [Board]"));
    QCOMPARE(dialog.Picture()->cursor().shape(), Qt::PointingHandCursor);
    const kavo::TSystemDiagram& d = dialog.Diagram();
    QTest::mouseMove(dialog.Picture(),
                     QPoint(d.SystemLeft + d.SystemWidth - 1, d.SystemTop + d.SystemHeight - 1));
    QCOMPARE(dialog.NamePanel()->text(), QString());
    QCOMPARE(dialog.Picture()->cursor().shape(), Qt::SizeFDiagCursor);
}

void TSystemDiagramTest::ctrlClickHidesAndTheListShowsAgain() {
    TSystemCase c;
    TSystemDiagramDlg dialog(*c.Arena);
    dialog.show();
    TFiP* pumping = dialog.Diagram().Internals[0];
    QTest::mouseClick(dialog.Picture(), Qt::LeftButton, Qt::ControlModifier, At(pumping));
    QVERIFY(dialog.Diagram().IsHidden(pumping));
    QCOMPARE(dialog.UnhideList()->count(), 2);
    QCOMPARE(dialog.UnhideList()->itemText(0), QStringLiteral("Select factor to unhide"));
    QCOMPARE(dialog.UnhideList()->itemText(1), QStringLiteral("Pumping [Farm]"));
    // A hidden box is not under the pointer any more.
    QTest::mouseMove(dialog.Picture(), At(pumping));
    QCOMPARE(dialog.NamePanel()->text(), QString());
    dialog.UnhideList()->activated(1);
    QVERIFY(!dialog.Diagram().IsHidden(pumping));
    QCOMPARE(dialog.UnhideList()->count(), 1);
    QCOMPARE(dialog.UnhideList()->itemText(0), QStringLiteral("No factors to unhide"));
}

void TSystemDiagramTest::draggingACriterionKeepsItOnTheRightEdgeAndLeavesTheCase() {
    TSystemCase c;
    const TFiP* original =
        c.Arena->AnalystView->FindFiP(c.Case.FactorList.Find("Groundwater level"));
    const QPoint before = At(original);
    {
        TSystemDiagramDlg dialog(*c.Arena);
        dialog.show();
        TFiP* criterion = dialog.Diagram().Criteria[0];
        const int right = dialog.Diagram().SystemLeft + dialog.Diagram().SystemWidth;
        QTest::mousePress(dialog.Picture(), Qt::LeftButton, {}, At(criterion));
        QTest::mouseMove(dialog.Picture(), At(criterion) + QPoint(-60, 20));
        QTest::mouseRelease(dialog.Picture(), Qt::LeftButton, {},
                            QPoint(criterion->X - 80, criterion->Y + 10));
        QCOMPARE(criterion->X, right);
        QCOMPARE(criterion->Y, At(criterion).y());
        QVERIFY(dialog.Diagram().DragFiP == nullptr);
    }
    QCOMPARE(At(original), before);
    QVERIFY(!c.Case.Modified);
}

void TSystemDiagramTest::modeButtonSwitchesToImpactArrows() {
    TSystemCase c;
    TSystemDiagramDlg dialog(*c.Arena);
    dialog.show();
    QTest::mouseClick(dialog.ModeButton(), Qt::LeftButton);
    QVERIFY(dialog.Diagram().ArrowsMode);
    QVERIFY(dialog.Diagram().ImpactsKnown());
    QVERIFY(dialog.ModeButton()->isChecked());
    QCOMPARE(dialog.ModeButton()->toolTip(),
             QStringLiteral("Show impacts with signed arrows via internal factors"));
    QTest::mouseClick(dialog.ModeButton(), Qt::LeftButton);
    QVERIFY(!dialog.Diagram().ArrowsMode);
    QVERIFY(!c.Arena->AnalystView->ResultsValid[kavo::TPerception::Inferred]);
}

void TSystemDiagramTest::copyPutsThePictureOnTheClipboard() {
    TSystemCase c;
    TSystemDiagramDlg dialog(*c.Arena);
    QTest::mouseClick(dialog.CopyButton(), Qt::LeftButton);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    QVERIFY(data != nullptr);
    const QByteArray svg = data->data(QStringLiteral("image/svg+xml"));
    QVERIFY(svg.contains("<desc>System diagram</desc>"));
    QVERIFY(svg.contains(">Levy<"));
    QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(),
             QSize(dialog.Diagram().PictureWidth, dialog.Diagram().PictureHeight));
}

void TSystemDiagramTest::caseMenuOpensItForTheSelectedArena() {
    kavo::TKAVO main;
    kavo::TCaseView* view = main.NewCase();
    kavo::test::FillWaterCase(view->Case());
    view->BuildTree();
    QAction* command = main.findChild<QAction*>(QStringLiteral("actionSystemDiagram"));
    QVERIFY(!command->isEnabled());
    view->Tree()->SelectNode(kavo::TNodeKind::nkArena, view->Case().ArenaList.Find("Irrigation"));
    QVERIFY(command->isEnabled());
    kavo::test::TModalAnswers answers;
    command->trigger();
    QCOMPARE(answers.Seen.size(), 1);
    QCOMPARE(answers.Seen[0].Caption, QStringLiteral("System diagram"));
    QVERIFY(!view->Case().Modified);
}

QTEST_MAIN(TSystemDiagramTest)
#include "tst_systemdiagram.moc"
