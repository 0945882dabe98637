#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QUndoStack>
#include <QtTest>
#include <memory>

#include "analyses/TAnalysisCatalog.h"
#include "analyses/TAnalysisField.h"
#include "app/CaseFixture.h"
#include "app/ModalAnswers.h"
#include "app/TCaseView.h"
#include "app/TKAVO.h"
#include "model/TCase.h"
#include "views/TAnalysisDlg.h"
#include "views/TFormatDlg.h"

using kavo::TAnalysis;
using kavo::TAnalysisCatalog;
using kavo::TAnalysisDlg;
using kavo::TAnalysisFamily;
using kavo::TCaseView;
using kavo::TFieldFormat;
using kavo::TFieldKind;
using kavo::TFormatDlg;
using kavo::TFormatRelation;
using kavo::TKAVO;
using kavo::test::TModalAnswers;

namespace {

const QString kExample = QStringLiteral(KAVO_EXAMPLES "/Water/");

// The titles of the analyses that the next report runs.
QStringList Running(const TAnalysisCatalog& catalog) {
    QStringList titles;
    for (const auto& analysis : catalog.Analyses) {
        if (catalog.Runs(*analysis)) {
            titles << QString::fromStdString(analysis->Title);
        }
    }
    return titles;
}

bool Greyed(const QTreeWidgetItem* node) {
    return !(node->flags() & Qt::ItemIsUserCheckable);
}

// Types into a value edit as a user would: its old text replaced, then Tab to leave it.
void TypeValue(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
}

}  // namespace

// The window "KAVO analyses" and the window "Conditional format".
class TAnalysisDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void configureShowsFamiliesAnalysesFieldsAndExplanations();
    void checkMarksAreUndoableStepsOfTheCase();
    void familyUncheckedGreysItsAnalysesAndKeepsTheirMarks();
    void choiceComesBackExactlyAfterSaveAndReopen();
    void formatSlotsFollowTheField();
    void formatIsAddedThroughTheFormatWindowAndCancelLeavesNone();
    void formatWindowKeepsTheValuesInOrder();
    void formatWindowRefusesABoundThatIsNoNumber();

  private:
    TCaseView& OpenWater();
    TAnalysisCatalog& Catalog() const { return Window->Catalog(); }
    // Checks or unchecks the node with the space key, as a user does.
    void Toggle(QTreeWidgetItem* node) {
        Dialog->AnalysisTree()->setCurrentItem(node);
        QTest::keyClick(Dialog->AnalysisTree(), Qt::Key_Space);
    }
    QTreeWidgetItem* FieldNode(const char* title, int field) const {
        return Dialog->AnalysisNode(*Catalog().Find(title))->child(field);
    }
    static std::unique_ptr<TFormatDlg> ShownFormatWindow(const TFieldFormat& format) {
        auto window = std::make_unique<TFormatDlg>(format);
        window->show();
        window->activateWindow();
        return window;
    }

    QTemporaryDir SettingsFolder;
    QTemporaryDir Scratch;
    std::unique_ptr<TKAVO> Window;
    TAnalysisDlg* Dialog = nullptr;
};

void TAnalysisDialogTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QStringLiteral("KAVO"));
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(SettingsFolder.isValid());
    QVERIFY(Scratch.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsFolder.path());
}

void TAnalysisDialogTest::init() {
    Window = std::make_unique<TKAVO>();
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    Dialog = &Window->AnalysisDialog();
}

void TAnalysisDialogTest::cleanup() {
    for (TCaseView* view : Window->CaseViews()) {
        view->Case().Modified = false;
        view->UndoStack()->setClean();
    }
    Dialog = nullptr;
    Window.reset();
}

TCaseView& TAnalysisDialogTest::OpenWater() {
    TCaseView* view = Window->NewCase();
    kavo::test::FillWaterCase(view->Case());
    view->BuildTree();
    view->findChild<QToolButton*>(QStringLiteral("SetAnalysisBtn"))->click();
    return *view;
}

void TAnalysisDialogTest::configureShowsFamiliesAnalysesFieldsAndExplanations() {
    TCaseView& view = OpenWater();
    QVERIFY(Dialog->isVisible());
    QCOMPARE(Dialog->windowTitle(), QStringLiteral("KAVO analyses"));
    QCOMPARE(Dialog->ShownCase(), &view.Case());
    QTreeWidget* tree = Dialog->AnalysisTree();
    QCOMPARE(tree->topLevelItemCount(), 4);
    const QStringList families{"Case level properties", "Arena level properties",
                               "Actor level properties", "Factor level properties"};
    int analyses = 0;
    for (int f = 0; f < 4; ++f) {
        QCOMPARE(tree->topLevelItem(f)->text(0), families[f]);
        QCOMPARE(tree->topLevelItem(f)->checkState(0), Qt::Checked);
        analyses += tree->topLevelItem(f)->childCount();
    }
    QCOMPARE(analyses, static_cast<int>(Catalog().Analyses.size()));
    // Catalog order inside a family, fields in field order, every node open.
    const TAnalysis& relevance = *Catalog().Find("Relevance");
    QTreeWidgetItem* relevanceNode = Dialog->AnalysisNode(relevance);
    QCOMPARE(relevanceNode->parent(), Dialog->FamilyNode(relevance.Family));
    QCOMPARE(relevanceNode->childCount(), static_cast<int>(relevance.Fields.size()));
    QCOMPARE(relevanceNode->child(2)->text(0), QString::fromStdString(relevance.Fields[2]->Name));
    QVERIFY(relevanceNode->isExpanded());
    QCOMPARE(tree->currentItem(), tree->topLevelItem(0));
    QCOMPARE(Dialog->ExplanationPane()->toPlainText(),
             QStringLiteral("Analyses that allow comparison over different arenas."));

    // The explanation follows the node: a description, a field's hint.
    QTest::keyClick(tree, Qt::Key_End);
    QTest::keyClick(tree, Qt::Key_Home);
    tree->setCurrentItem(relevanceNode);
    QCOMPARE(Dialog->ExplanationPane()->toPlainText(),
             QString::fromStdString(relevance.Description).replace(QStringLiteral("\r\n"), "\n"));
    QTest::keyClick(tree, Qt::Key_Down);
    QCOMPARE(tree->currentItem(), relevanceNode->child(0));
    QCOMPARE(Dialog->ExplanationPane()->toPlainText(),
             QString::fromStdString(relevance.Fields[0]->Hint));
    QCOMPARE(Dialog->ExplanationPane()->textCursor().position(), 0);
    // The tree does not close: collapsing a node is undone at once.
    tree->collapseItem(relevanceNode);
    QVERIFY(relevanceNode->isExpanded());

    // The same button hides the window.
    view.findChild<QToolButton*>(QStringLiteral("SetAnalysisBtn"))->click();
    QVERIFY(!Dialog->isVisible());
}

void TAnalysisDialogTest::checkMarksAreUndoableStepsOfTheCase() {
    TCaseView& view = OpenWater();
    kavo::TCase& c = view.Case();
    TAnalysis& relevance = *Catalog().Find("Relevance");
    QVERIFY(!relevance.Selected);
    QVERIFY(c.AnalysisLines.empty());
    QVERIFY(Greyed(FieldNode("Relevance", 0)));

    Toggle(Dialog->AnalysisNode(relevance));
    QVERIFY(relevance.Selected);
    QCOMPARE(Running(Catalog()), QStringList{"Relevance"});
    QCOMPARE(c.AnalysisLines,
             std::vector<std::string>{
                 "<meta name=\"KAVO analysis 0\" content=\"Relevance=1010010101\">"});
    QCOMPARE(view.UndoStack()->undoText(), QStringLiteral("Check analysis"));
    QVERIFY(!Greyed(FieldNode("Relevance", 0)));

    // A field of a checked analysis turns on and off.
    Toggle(FieldNode("Relevance", 1));
    QVERIFY(relevance.Fields[1]->Selected);
    QCOMPARE(FieldNode("Relevance", 1)->checkState(0), Qt::Checked);
    QCOMPARE(c.AnalysisLines.front(),
             std::string("<meta name=\"KAVO analysis 0\" content=\"Relevance=1110010101\">"));

    view.UndoStep();
    QVERIFY(!relevance.Fields[1]->Selected);
    QCOMPARE(FieldNode("Relevance", 1)->checkState(0), Qt::Unchecked);
    view.UndoStep();
    QVERIFY(!relevance.Selected);
    QVERIFY(c.AnalysisLines.empty());
    QCOMPARE(Dialog->AnalysisNode(relevance)->checkState(0), Qt::Unchecked);
    QVERIFY(Greyed(FieldNode("Relevance", 0)));
    QVERIFY(view.UndoStack()->isClean());
    view.RedoStep();
    QVERIFY(relevance.Selected);
    QCOMPARE(Dialog->AnalysisNode(relevance)->checkState(0), Qt::Checked);
}

void TAnalysisDialogTest::familyUncheckedGreysItsAnalysesAndKeepsTheirMarks() {
    TCaseView& view = OpenWater();
    TAnalysis& relevance = *Catalog().Find("Relevance");
    TAnalysis& controllability = *Catalog().Find("Controllability");
    Toggle(Dialog->AnalysisNode(relevance));
    Toggle(Dialog->AnalysisNode(controllability));
    QCOMPARE(Running(Catalog()), (QStringList{"Relevance", "Controllability"}));

    QTreeWidgetItem* factors = Dialog->FamilyNode(TAnalysisFamily::afFactor);
    Toggle(factors);
    QCOMPARE(factors->checkState(0), Qt::Unchecked);
    QVERIFY(Running(Catalog()).isEmpty());
    QVERIFY(view.Case().AnalysisLines.empty());
    QVERIFY(Greyed(Dialog->AnalysisNode(relevance)));
    QCOMPARE(Dialog->AnalysisNode(relevance)->checkState(0), Qt::Checked);
    QVERIFY(Greyed(FieldNode("Relevance", 0)));
    // A greyed node does not change.
    Toggle(Dialog->AnalysisNode(relevance));
    QVERIFY(relevance.Selected);
    QCOMPARE(view.UndoStack()->undoText(), QStringLiteral("Uncheck analysis family"));

    Toggle(factors);
    QCOMPARE(Running(Catalog()), (QStringList{"Relevance", "Controllability"}));
    QVERIFY(!Greyed(FieldNode("Relevance", 0)));
    QCOMPARE(FieldNode("Relevance", 0)->checkState(0), Qt::Checked);
    QCOMPARE(FieldNode("Relevance", 1)->checkState(0), Qt::Unchecked);
}

void TAnalysisDialogTest::choiceComesBackExactlyAfterSaveAndReopen() {
    const QString folder = Scratch.path() + QStringLiteral("/saved/");
    QDirIterator files(kExample, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString relative = QDir(kExample).relativeFilePath(path);
        QVERIFY(QDir().mkpath(QFileInfo(folder + relative).absolutePath()));
        QVERIFY(QFile::copy(path, folder + relative));
        QFile::setPermissions(folder + relative, QFile::ReadOwner | QFile::WriteOwner);
    }
    TCaseView* view = Window->OpenFolder(folder);
    QVERIFY(view != nullptr);
    view->findChild<QToolButton*>(QStringLiteral("SetAnalysisBtn"))->click();
    QVERIFY(Running(Catalog()).contains(QStringLiteral("Relevance")));
    Toggle(Dialog->AnalysisNode(*Catalog().Find("Relevance")));
    Toggle(Dialog->AnalysisNode(*Catalog().Find("Conflict")));
    Toggle(FieldNode("Conflict", 0));
    QVERIFY(view->Case().Modified || !view->UndoStack()->isClean());
    const QStringList saved = Running(Catalog());
    QVERIFY(!saved.contains(QStringLiteral("Relevance")));
    QVERIFY(saved.contains(QStringLiteral("Conflict")));
    const bool conflictField = Catalog().Find("Conflict")->Fields[0]->Selected;
    QVERIFY(view->Save());

    // Another run of the program, whose catalog another case has turned on elsewhere.
    cleanup();
    init();
    Catalog().Find("Relevance")->Selected = true;
    Catalog().Find("Similarity of Perceived Causality")->Selected = true;
    QVERIFY(Window->OpenFolder(folder) != nullptr);
    QCOMPARE(Running(Catalog()), saved);
    QCOMPARE(Catalog().Find("Conflict")->Fields[0]->Selected, conflictField);
    Dialog->show();
    QCOMPARE(Dialog->AnalysisNode(*Catalog().Find("Relevance"))->checkState(0), Qt::Unchecked);
}

void TAnalysisDialogTest::formatSlotsFollowTheField() {
    OpenWater();
    QTreeWidget* tree = Dialog->AnalysisTree();
    // A family node cannot be formatted.
    QVERIFY(!Dialog->CurrentSlot());
    QVERIFY(!Dialog->FormatButton()->isEnabled());
    QVERIFY(!Dialog->Slot(1)->isEnabled());

    kavo::TAnalysisField* field = Catalog().Find("Relevance")->Fields[0].get();
    field->Formats.resize(2);
    field->Formats[0].Relation = TFormatRelation::frBetween;
    field->Formats[0].UpperValue = 5;
    field->Formats[0].LowerValue = 1;
    field->Formats[1].Relation = TFormatRelation::frLessOrEqual;
    field->Formats[1].UpperValue = 0.5;
    tree->setCurrentItem(FieldNode("Relevance", 0));
    QCOMPARE(Dialog->Slot(1)->text(), QStringLiteral("\u2208 [5,1]"));
    QCOMPARE(Dialog->Slot(1)->width(), 70);
    QCOMPARE(Dialog->Slot(2)->text(), QStringLiteral("\u2264 0.50"));
    QCOMPARE(Dialog->Slot(3)->text(), QStringLiteral("?"));
    QVERIFY(Dialog->Slot(3)->isEnabled());
    QVERIFY(!Dialog->Slot(4)->isEnabled());
    QTest::mouseClick(Dialog->Slot(3), Qt::LeftButton);
    QCOMPARE(Dialog->CurrentSlot(), 3);
    QTest::mouseClick(Dialog->Slot(4), Qt::LeftButton);
    QCOMPARE(Dialog->CurrentSlot(), 3);

    // A field without formats starts at the first slot; back on the first field, the slot past
    // the "?" is not kept.
    tree->setCurrentItem(FieldNode("Relevance", 1));
    QCOMPARE(Dialog->CurrentSlot(), 1);
    QCOMPARE(Dialog->Slot(1)->text(), QStringLiteral("?"));
    field->Formats.resize(1);
    QTest::mouseClick(Dialog->Slot(1), Qt::LeftButton);
    tree->setCurrentItem(FieldNode("Relevance", 0));
    QCOMPARE(Dialog->CurrentSlot(), 1);
    Dialog->ChooseSlot(2);
    field->Formats.clear();
    tree->setCurrentItem(FieldNode("Relevance", 1));
    tree->setCurrentItem(FieldNode("Relevance", 0));
    QCOMPARE(Dialog->CurrentSlot(), 1);

    // Fields of the kinds without numbers cannot be formatted.
    for (const auto& analysis : Catalog().Analyses) {
        for (std::size_t i = 0; i < analysis->Fields.size(); ++i) {
            const TFieldKind kind = analysis->Fields[i]->Kind;
            if (kind == TFieldKind::fkDetail || kind == TFieldKind::fkProVal ||
                kind == TFieldKind::fkTactic || kind == TFieldKind::fkPlot) {
                tree->setCurrentItem(Dialog->AnalysisNode(*analysis)->child(static_cast<int>(i)));
                QVERIFY(!Dialog->CurrentSlot());
                QVERIFY(!Dialog->ClearButton()->isEnabled());
                QVERIFY(!Dialog->Slot(1)->isEnabled());
                QVERIFY(Dialog->Slot(1)->text().isEmpty());
            }
        }
    }
}

void TAnalysisDialogTest::formatIsAddedThroughTheFormatWindowAndCancelLeavesNone() {
    OpenWater();
    Dialog->AnalysisTree()->setCurrentItem(FieldNode("Relevance", 0));
    kavo::TAnalysisField& field = *Catalog().Find("Relevance")->Fields[0];
    {
        // A new format cancelled leaves nothing behind.
        TModalAnswers answers;
        QTest::mouseClick(Dialog->FormatButton(), Qt::LeftButton);
        QCOMPARE(answers.Seen.size(), 1);
        QCOMPARE(answers.Seen[0].Caption, QStringLiteral("Conditional format"));
        QVERIFY(field.Formats.empty());
        QCOMPARE(Dialog->Slot(1)->text(), QStringLiteral("?"));
    }
    {
        TModalAnswers answers({[](QWidget* modal) {
            auto* window = qobject_cast<TFormatDlg*>(modal);
            QTest::keyClick(window->RelationList(), Qt::Key_End);
            QTest::keyClick(window->RelationList(), Qt::Key_Up);
            window->Swatch(12)->click();
            window->BoldButton()->click();
            TypeValue(window->LowerEdit(), QStringLiteral("1"));
            TypeValue(window->UpperEdit(), QStringLiteral("5"));
            window->OkButton()->click();
        }});
        QTest::mouseDClick(Dialog->Slot(1), Qt::LeftButton);
        QCOMPARE(answers.Seen.size(), 1);
    }
    QCOMPARE(field.Formats.size(), std::size_t{1});
    const TFieldFormat& format = field.Formats[0];
    QCOMPARE(format.Relation, TFormatRelation::frBetween);
    QCOMPARE(format.LowerValue, 1.0);
    QCOMPARE(format.UpperValue, 5.0);
    QCOMPARE(format.Color, TFormatDlg::Colors()[12]);
    QVERIFY(format.Bold && !format.Italic);
    QCOMPARE(Dialog->Slot(1)->text(), QStringLiteral("\u2208 [5,1]"));
    QCOMPARE(Dialog->Slot(2)->text(), QStringLiteral("?"));

    // Cancel on an existing format keeps it; Clear takes it away.
    {
        TModalAnswers answers({[](QWidget* modal) {
            auto* window = qobject_cast<TFormatDlg*>(modal);
            window->Swatch(0)->click();
            window->CancelButton()->click();
        }});
        Dialog->ChooseSlot(1);
        QTest::mouseClick(Dialog->FormatButton(), Qt::LeftButton);
    }
    QCOMPARE(field.Formats.size(), std::size_t{1});
    QCOMPARE(field.Formats[0].Color, TFormatDlg::Colors()[12]);
    QTest::mouseClick(Dialog->ClearButton(), Qt::LeftButton);
    QVERIFY(field.Formats.empty());
}

void TAnalysisDialogTest::formatWindowKeepsTheValuesInOrder() {
    TFieldFormat format;
    format.Relation = TFormatRelation::frBetween;
    format.LowerValue = 1;
    format.UpperValue = 5;
    format.Color = TFormatDlg::Colors()[3];
    auto window = ShownFormatWindow(format);
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QVERIFY(window->LowerEdit()->isVisible());
    QVERIFY(window->RelationList()->width() < 135);
    QVERIFY(window->Swatch(3)->styleSheet().contains(QStringLiteral("black")));
    QVERIFY(!window->Swatch(4)->styleSheet().contains(QStringLiteral("black")));

    TypeValue(window->UpperEdit(), QStringLiteral("0.5"));
    QCOMPARE(window->LowerEdit()->text(), QStringLiteral("0.5"));
    TypeValue(window->LowerEdit(), QStringLiteral("7"));
    QCOMPARE(window->UpperEdit()->text(), QStringLiteral("7"));
    // The lower value takes digits, separators and a sign; a letter is dropped.
    window->LowerEdit()->setFocus();
    window->LowerEdit()->selectAll();
    QTest::keyClicks(window->LowerEdit(), QStringLiteral("-2x,5"));
    QCOMPARE(window->LowerEdit()->text(), QStringLiteral("-2,5"));
    QTest::keyClick(window->LowerEdit(), Qt::Key_Return);
    QVERIFY(window->UpperEdit()->hasFocus());
    TypeValue(window->UpperEdit(), QStringLiteral("1,5"));

    // A single-value relation hides the lower value.
    window->RelationList()->setCurrentIndex(static_cast<int>(TFormatRelation::frGreater));
    QVERIFY(!window->LowerEdit()->isVisible());
    QCOMPARE(window->RelationList()->width(), 135);
    window->RelationList()->setCurrentIndex(static_cast<int>(TFormatRelation::frNotBetween));
    window->OkButton()->click();
    QCOMPARE(window->result(), static_cast<int>(QDialog::Accepted));
    QCOMPARE(window->Format().Relation, TFormatRelation::frNotBetween);
    QCOMPARE(window->Format().LowerValue, -2.5);
    QCOMPARE(window->Format().UpperValue, 1.5);

    // Values the slots round are shown whole, so OK alone changes nothing.
    format.UpperValue = 1.0 / 3;
    auto exact = ShownFormatWindow(format);
    exact->OkButton()->click();
    QCOMPARE(exact->Format().UpperValue, 1.0 / 3);
}

void TAnalysisDialogTest::formatWindowRefusesABoundThatIsNoNumber() {
    TFieldFormat format;
    format.Relation = TFormatRelation::frGreater;
    format.UpperValue = 2;
    auto window = ShownFormatWindow(format);
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QVERIFY(window->MessageLabel()->text().isEmpty());
    for (const QString& text : {QStringLiteral("abc"), QStringLiteral("1000"), QString()}) {
        TypeValue(window->UpperEdit(), text);
        QVERIFY2(!window->OkButton()->isEnabled(), qPrintable(text));
        QCOMPARE(window->MessageLabel()->text(),
                 QStringLiteral("\"%1\" is not a number from -999 to 999.").arg(text));
    }
    // Typed and not left, a bad value is still refused by OK: the window stays open.
    TypeValue(window->UpperEdit(), QStringLiteral("3"));
    QVERIFY(window->OkButton()->isEnabled());
    QVERIFY(window->MessageLabel()->text().isEmpty());
    window->UpperEdit()->setFocus();
    window->UpperEdit()->selectAll();
    QTest::keyClicks(window->UpperEdit(), QStringLiteral("x"));
    QTest::keyClick(window->UpperEdit(), Qt::Key_Return);
    QVERIFY(window->isVisible());
    QVERIFY(!window->MessageLabel()->text().isEmpty());
    QCOMPARE(window->UpperEdit()->selectedText(), QStringLiteral("x"));
    // Cancel keeps the old format.
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QCOMPARE(window->result(), static_cast<int>(QDialog::Rejected));
    QCOMPARE(window->Format().UpperValue, 2.0);
    QCOMPARE(window->Format().Relation, TFormatRelation::frGreater);
}

QTEST_MAIN(TAnalysisDialogTest)
#include "tst_analysisdialog.moc"
