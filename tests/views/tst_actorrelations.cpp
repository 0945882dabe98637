#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

#include "app/CaseFixture.h"
#include "app/ModalAnswers.h"
#include "app/TCaseView.h"
#include "app/TKAVO.h"
#include "diagram/TRelationsDiagram.h"
#include "editing/CaseEdits.h"
#include "editing/TEdit.h"
#include "qtgui/TQtTextMeasure.h"
#include "support/TestPlatform.h"
#include "views/TActorRelationDlg.h"

using kavo::TActorRelationDlg;
using kavo::TActorRelationType;
using kavo::TRelationFilter;

namespace {

// The water case's three actors in a window whose changes go straight into the case.
struct TRelationsWindow {
    TRelationsWindow()
        : Dialog(
              Case,
              [this](const kavo::TRelationRequest& request) {
                  ++Changes;
                  kavo::TEdit edit;
                  kavo::SetRelationStrength(edit, Case, request.From, request.To, request.Type,
                                            request.Strength);
              },
              [this](kavo::TCommentedObject& item, const std::string& text) {
                  kavo::TEdit edit;
                  kavo::SetComment(edit, item, text);
              }) {
        Dialog.show();
        Exposed = QTest::qWaitForWindowExposed(&Dialog);
    }

    // Where an actor of the case sits in the picture.
    QPoint At(const char* name) const {
        const int index = Case.ActorList.FindByName(name);
        const kavo::TPoint p = Dialog.Diagram().Position(index);
        return {p.X, p.Y};
    }
    kavo::TActor* Actor(const char* name) const { return Case.ActorList.Find(name); }
    void Click(QPoint at) const { QTest::mouseClick(Dialog.Picture(), Qt::LeftButton, {}, at); }

    kavo::test::TRecordingMessages Messages;
    kavo::test::TRecordingStatus Status;
    kavo::TQtTextMeasure Measure;
    kavo::TContext Context{Messages, Status, Measure};
    kavo::TCase Case{Context};
    int Changes = 0;
    bool Exposed = false;
    bool Filled = [this] {
        kavo::test::FillWaterCase(Case);
        return true;
    }();
    TActorRelationDlg Dialog;
    // What a test sets up itself.
    kavo::TEdit Edit;
};

}  // namespace

class TActorRelationsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void windowHasItsTools();
    void drawingFromOneActorToAnotherMakesARelation();
    void theStrengthControlChangesTheSelectedAffect();
    void selectingAnArrowSetsTheToolButChangesNothing();
    void deletingTheLastTypeRemovesTheRelationAndTheSelection();
    void theFocalActorEnablesTheFilters();
    void hoveringAnActorShowsItsName();
    void commentsOfActorsAndRelations();
    void uncheckingATypeHidesItsArrows();
    void copyPutsTheGraphOnTheClipboard();
    void caseMenuOpensItAndItsChangesCanBeMade();

  private:
    QTemporaryDir SettingsFolder;
};

void TActorRelationsTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QStringLiteral("KAVO"));
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(SettingsFolder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsFolder.path());
}

void TActorRelationsTest::windowHasItsTools() {
    TRelationsWindow w;
    QVERIFY(w.Exposed);
    TActorRelationDlg& d = w.Dialog;
    QCOMPARE(d.windowTitle(), QStringLiteral("Actor relations"));
    QCOMPARE(d.FocalButton()->toolTip(), QStringLiteral("Select focal actor"));
    QVERIFY(d.FocalButton()->isChecked());
    QCOMPARE(d.TypeButton(0, true)->toolTip(),
             QStringLiteral("Negative affect (antipathy, will try to keep the other actor from "
                            "attaining its goals)"));
    QCOMPARE(d.TypeButton(2)->toolTip(),
             QStringLiteral("Dominance (can decide on the other actor's actions)"));
    QCOMPARE(d.StrengthControl()->toolTip(), QStringLiteral("Change strength of affect (1-5)"));
    QVERIFY(!d.StrengthControl()->isEnabled());
    QCOMPARE(d.TailControl()->minimum(), 20);
    QCOMPARE(d.TailControl()->value(), 20);
    for (int filter = 1; filter <= 3; ++filter) {
        QVERIFY(!d.FilterButton(filter)->isEnabled());
    }
    QCOMPARE(d.FilterButton(3)->toolTip(),
             QStringLiteral("Show incoming actors only for selected actor"));
    QVERIFY(!d.DeleteButton()->isEnabled());
    QCOMPARE(d.CopyButton()->toolTip(), QStringLiteral("Copy graph to clipboard"));
    QCOMPARE(d.VisibleTypes()->count(), 4);
    for (int t = 0; t < 4; ++t) {
        QCOMPARE(d.VisibleTypes()->item(t)->checkState(), Qt::Checked);
    }
    QVERIFY(d.CommentBox()->isReadOnly());
    QVERIFY(!d.EditCommentButton()->isEnabled());
}

void TActorRelationsTest::drawingFromOneActorToAnotherMakesARelation() {
    TRelationsWindow w;
    TActorRelationDlg& d = w.Dialog;
    QTest::mouseClick(d.TypeButton(1), Qt::LeftButton);
    QTest::mousePress(d.Picture(), Qt::LeftButton, {}, w.At("Farmers"));
    QTest::mouseMove(d.Picture(), (w.At("Farmers") + w.At("Citizens")) / 2);
    QCOMPARE(d.Picture()->cursor().shape(), Qt::CrossCursor);
    QTest::mouseRelease(d.Picture(), Qt::LeftButton, {}, w.At("Citizens"));
    QCOMPARE(w.Changes, 1);
    QCOMPARE(w.Case.Relations.size(), std::size_t{1});
    const kavo::TActorRelation& relation = *w.Case.Relations.front();
    QCOMPARE(relation.From, w.Actor("Farmers"));
    QCOMPARE(relation.To, w.Actor("Citizens"));
    QCOMPARE(relation[TActorRelationType::rtCooperation], std::int16_t{1});
    QVERIFY(d.Diagram().Focal() == nullptr);
    QVERIFY(d.DeleteButton()->isEnabled());
    // Drawing onto the focal actor itself makes nothing.
    QTest::mousePress(d.Picture(), Qt::LeftButton, {}, w.At("Farmers"));
    QTest::mouseRelease(d.Picture(), Qt::LeftButton, {}, w.At("Farmers") + QPoint(2, 1));
    QCOMPARE(w.Changes, 1);
}

void TActorRelationsTest::theStrengthControlChangesTheSelectedAffect() {
    TRelationsWindow w;
    TActorRelationDlg& d = w.Dialog;
    QTest::mouseClick(d.TypeButton(0), Qt::LeftButton);
    QVERIFY(d.StrengthControl()->isEnabled());
    QCOMPARE(d.StrengthControl()->value(), 1);
    QTest::mousePress(d.Picture(), Qt::LeftButton, {}, w.At("Water board"));
    QTest::mouseRelease(d.Picture(), Qt::LeftButton, {}, w.At("Farmers"));
    d.StrengthControl()->setValue(4);
    const int index = w.Case.FindRelation(w.Actor("Water board"), w.Actor("Farmers"));
    QVERIFY(index >= 0);
    QCOMPARE((*w.Case.Relations[std::size_t(index)])[TActorRelationType::rtAffect],
             std::int16_t{4});
    QTest::mouseClick(d.TypeButton(0, true), Qt::LeftButton);
    // A tool button sets the control, and no relation.
    QCOMPARE(d.StrengthControl()->value(), 1);
    QCOMPARE((*w.Case.Relations[std::size_t(index)])[TActorRelationType::rtAffect],
             std::int16_t{4});
    d.StrengthControl()->setValue(2);
    QCOMPARE((*w.Case.Relations[std::size_t(index)])[TActorRelationType::rtAffect],
             std::int16_t{-2});
}

void TActorRelationsTest::selectingAnArrowSetsTheToolButChangesNothing() {
    TRelationsWindow w;
    TActorRelationDlg& d = w.Dialog;
    kavo::SetRelationStrength(w.Edit, w.Case, w.Actor("Farmers"), w.Actor("Citizens"),
                              TActorRelationType::rtAffect, -4);
    // The arrow lies beside the line between the two actors, past the tail.
    const QPoint from = w.At("Farmers");
    const QPoint to = w.At("Citizens");
    const auto arrow = [&]() -> std::optional<QPoint> {
        for (double t = 0.3; t < 0.7; t += 0.01) {
            const QPoint p = from + (to - from) * t;
            for (int dx = -8; dx <= 8; ++dx) {
                for (int dy = -8; dy <= 8; ++dy) {
                    if (d.Diagram().ArrowAt(p.x() + dx, p.y() + dy)) {
                        return p + QPoint(dx, dy);
                    }
                }
            }
        }
        return std::nullopt;
    }();
    QVERIFY(arrow.has_value());
    QTest::mouseClick(d.Picture(), Qt::LeftButton, {}, *arrow);
    QVERIFY(d.TypeButton(0, true)->isChecked());
    QCOMPARE(d.StrengthControl()->value(), 4);
    QCOMPARE(w.Changes, 0);
    QCOMPARE((*w.Case.Relations.front())[TActorRelationType::rtAffect], std::int16_t{-4});
    QVERIFY(d.DeleteButton()->isEnabled());
}

void TActorRelationsTest::deletingTheLastTypeRemovesTheRelationAndTheSelection() {
    TRelationsWindow w;
    TActorRelationDlg& d = w.Dialog;
    QTest::mouseClick(d.TypeButton(3), Qt::LeftButton);
    QTest::mousePress(d.Picture(), Qt::LeftButton, {}, w.At("Citizens"));
    QTest::mouseRelease(d.Picture(), Qt::LeftButton, {}, w.At("Water board"));
    w.Case.Relations.front()->Comment = {"They talk."};
    d.DeleteSelected();
    QVERIFY(w.Case.Relations.empty());
    QVERIFY(!d.Diagram().Selected.has_value());
    QVERIFY(!d.DeleteButton()->isEnabled());
    QCOMPARE(d.CommentBox()->toPlainText(), QString());
    QVERIFY(!d.EditCommentButton()->isEnabled());
}

void TActorRelationsTest::theFocalActorEnablesTheFilters() {
    TRelationsWindow w;
    TActorRelationDlg& d = w.Dialog;
    w.Click(w.At("Farmers"));
    QCOMPARE(d.Diagram().Focal(), w.Actor("Farmers"));
    QVERIFY(d.FilterButton(2)->isEnabled());
    QTest::mouseClick(d.FilterButton(2), Qt::LeftButton);
    QCOMPARE(d.Diagram().Filter, TRelationFilter::rfOutgoing);
    QTest::mouseClick(d.FilterButton(1), Qt::LeftButton);
    QCOMPARE(d.Diagram().Filter, TRelationFilter::rfAll);
    QVERIFY(!d.FilterButton(2)->isChecked());
    w.Click(QPoint(3, 3));
    QVERIFY(d.Diagram().Focal() == nullptr);
    QVERIFY(!d.FilterButton(1)->isEnabled());
    QVERIFY(!d.FilterButton(1)->isChecked());
    QCOMPARE(d.Diagram().Filter, TRelationFilter::rfNone);
}

void TActorRelationsTest::hoveringAnActorShowsItsName() {
    TRelationsWindow w;
    TActorRelationDlg& d = w.Dialog;
    QTest::mouseMove(d.Picture(), w.At("Water board") + QPoint(3, -2));
    QCOMPARE(d.StatusPanel()->text(), QStringLiteral("Water board"));
    QCOMPARE(d.Picture()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(d.Picture(), QPoint(3, 3));
    QCOMPARE(d.StatusPanel()->text(), QString());
    QCOMPARE(d.Picture()->cursor().shape(), Qt::ArrowCursor);
}

void TActorRelationsTest::commentsOfActorsAndRelations() {
    TRelationsWindow w;
    TActorRelationDlg& d = w.Dialog;
    w.Click(w.At("Farmers"));
    QCOMPARE(d.CommentBox()->toPlainText(), QString());
    QVERIFY(d.EditCommentButton()->isEnabled());
    QTest::mouseClick(d.EditCommentButton(), Qt::LeftButton);
    QVERIFY(!d.CommentBox()->isReadOnly());
    QCOMPARE(d.StatusPanel()->text(), QStringLiteral("Editing comment for actor Farmers"));
    QVERIFY(d.CommentBox()->styleSheet().contains(QStringLiteral("#C0DCC0")));
    QTest::keyClicks(d.CommentBox(), QStringLiteral("  Dig wells.  "));
    QTest::mouseClick(d.AcceptButton(), Qt::LeftButton);
    QCOMPARE(w.Actor("Farmers")->Comment, std::vector<std::string>{"Dig wells."});
    QVERIFY(d.CommentBox()->isReadOnly());
    // Cancelling restores the text; a changed text is asked about before the next press.
    QTest::mouseClick(d.EditCommentButton(), Qt::LeftButton);
    QTest::keyClicks(d.CommentBox(), QStringLiteral("More."));
    kavo::test::TModalAnswers answers({kavo::test::Press(QMessageBox::No)});
    w.Click(w.At("Citizens"));
    QCOMPARE(answers.Seen.size(), 1);
    QCOMPARE(answers.Seen[0].Text, QStringLiteral("Save comment?"));
    QCOMPARE(w.Actor("Farmers")->Comment, std::vector<std::string>{"Dig wells."});
    QCOMPARE(d.Diagram().Focal(), w.Actor("Citizens"));
}

void TActorRelationsTest::uncheckingATypeHidesItsArrows() {
    TRelationsWindow w;
    TActorRelationDlg& d = w.Dialog;
    kavo::SetRelationStrength(w.Edit, w.Case, w.Actor("Farmers"), w.Actor("Citizens"),
                              TActorRelationType::rtDominance, 1);
    const QPoint middle = (w.At("Farmers") + w.At("Citizens")) / 2;
    bool hit = false;
    for (int dx = -8; dx <= 8 && !hit; ++dx) {
        for (int dy = -8; dy <= 8 && !hit; ++dy) {
            hit = d.Diagram().ArrowAt(middle.x() + dx, middle.y() + dy).has_value();
        }
    }
    QVERIFY(hit);
    d.VisibleTypes()->item(2)->setCheckState(Qt::Unchecked);
    QVERIFY(!d.Diagram().VisibleTypes[2]);
    for (int dx = -8; dx <= 8; ++dx) {
        for (int dy = -8; dy <= 8; ++dy) {
            QVERIFY(!d.Diagram().ArrowAt(middle.x() + dx, middle.y() + dy).has_value());
        }
    }
}

void TActorRelationsTest::copyPutsTheGraphOnTheClipboard() {
    TRelationsWindow w;
    QTest::mouseClick(w.Dialog.CopyButton(), Qt::LeftButton);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    QVERIFY(data->data(QStringLiteral("image/svg+xml")).contains("Actor relations in Water test"));
    QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(), w.Dialog.Picture()->size());
}

void TActorRelationsTest::caseMenuOpensItAndItsChangesCanBeMade() {
    kavo::TKAVO main;
    kavo::TCaseView* view = main.NewCase();
    kavo::test::FillWaterCase(view->Case());
    view->BuildTree();
    QAction* command = main.findChild<QAction*>(QStringLiteral("actionActorRelations"));
    QVERIFY(command->isEnabled());
    kavo::test::TModalAnswers answers({[](QWidget* window) {
        auto* dialog = qobject_cast<TActorRelationDlg*>(window);
        QTest::mouseClick(dialog->TypeButton(1), Qt::LeftButton);
        const kavo::TRelationsDiagram& d = dialog->Diagram();
        const QPoint from(d.Position(0).X, d.Position(0).Y);
        const QPoint to(d.Position(1).X, d.Position(1).Y);
        QTest::mousePress(dialog->Picture(), Qt::LeftButton, {}, from);
        QTest::mouseRelease(dialog->Picture(), Qt::LeftButton, {}, to);
        dialog->accept();
    }});
    command->trigger();
    QCOMPARE(answers.Seen.size(), 1);
    QCOMPARE(answers.Seen[0].Caption, QStringLiteral("Actor relations"));
    QCOMPARE(view->Case().Relations.size(), std::size_t{1});
    QVERIFY(view->Case().Modified);
    // The relation was made on the case window's undo stack.
    QAction* undo = main.findChild<QAction*>(QStringLiteral("actionUndo"));
    QCOMPARE(undo->text(), QStringLiteral("&Undo Add relation"));
    undo->trigger();
    QVERIFY(view->Case().Relations.empty());
    QVERIFY(!view->Case().Modified);
}

QTEST_MAIN(TActorRelationsTest)
#include "tst_actorrelations.moc"
