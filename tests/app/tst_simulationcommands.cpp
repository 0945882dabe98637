#include <QAction>
#include <QChart>
#include <QFontDialog>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolBar>
#include <QUndoStack>
#include <QtTest>
#include <memory>

#include "app/CaseFixture.h"
#include "app/ModalAnswers.h"
#include "app/TCaseTree.h"
#include "app/TCaseView.h"
#include "app/TKAVO.h"
#include "app/TPathViewer.h"
#include "app/TRoundPlotWindow.h"
#include "app/TreeNodes.h"
#include "simulation/Rounds.h"

using kavo::TCaseView;
using kavo::TKAVO;
using kavo::test::NodeByPath;
using kavo::test::Press;
using kavo::test::TModalAnswers;

class TSimulationCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();
    void roundsAreUndoableSteps();
    void replacingRoundsAsksFirst();
    void nextRoundNeedsARoundArena();
    void thePlotFollowsTheRounds();
    void doubleClickOnTheDiagramBarShowsTheState();
    void pathListKeys();

  private:
    TCaseView& OpenFixture();
    void Select(const QString& path);
    QAction* Action(const char* name) const {
        return Window->findChild<QAction*>(QString::fromLatin1(name));
    }
    QStringList Arenas() const {
        QStringList names;
        for (const auto& arena : View->Case().ArenaList) {
            names << QString::fromStdString(arena->Name);
        }
        return names;
    }

    QTemporaryDir SettingsFolder;
    std::unique_ptr<TKAVO> Window;
    TCaseView* View = nullptr;
};

void TSimulationCommandsTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QStringLiteral("KAVO"));
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(SettingsFolder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsFolder.path());
}

void TSimulationCommandsTest::init() {
    Window = std::make_unique<TKAVO>();
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
}

void TSimulationCommandsTest::cleanup() {
    View = nullptr;
    for (TCaseView* view : Window->CaseViews()) {
        view->Case().Modified = false;
    }
    Window.reset();
}

TCaseView& TSimulationCommandsTest::OpenFixture() {
    View = Window->NewCase();
    kavo::test::FillWaterCase(View->Case());
    View->BuildTree();
    return *View;
}

void TSimulationCommandsTest::Select(const QString& path) {
    QTreeWidgetItem* node = NodeByPath(*View->Tree(), path);
    QVERIFY2(node != nullptr, qPrintable(path));
    View->Tree()->setCurrentItem(node);
}

void TSimulationCommandsTest::roundsAreUndoableSteps() {
    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    Action("actionInitializeRound")->trigger();
    QCOMPARE(Arenas(), QStringList({"*Round  0", "Drinking water", "Irrigation"}));
    QCOMPARE(view.Tree()->currentItem()->text(0), QStringLiteral("*Analyst view"));
    QCOMPARE(view.SelectedArena()->Name, std::string("*Round  0"));
    QVERIFY(Action("actionNextRound")->isEnabled());

    Action("actionNextRound")->trigger();
    QCOMPARE(Arenas(), QStringList({"*Round  0", "*Round  1", "Drinking water", "Irrigation"}));
    QCOMPARE(view.SelectedArena()->Name, std::string("*Round  1"));
    QCOMPARE(view.UndoStack()->undoText(), QStringLiteral("Next round"));
    QVERIFY(view.Case().Modified);

    view.UndoStep();
    QCOMPARE(Arenas(), QStringList({"*Round  0", "Drinking water", "Irrigation"}));
    view.UndoStep();
    QCOMPARE(Arenas(), QStringList({"Drinking water", "Irrigation"}));
    QVERIFY(!view.Case().Modified);
    view.RedoStep();
    view.RedoStep();
    QCOMPARE(Arenas(), QStringList({"*Round  0", "*Round  1", "Drinking water", "Irrigation"}));
    QVERIFY(answers.Seen.isEmpty());
}

void TSimulationCommandsTest::replacingRoundsAsksFirst() {
    TModalAnswers answers({Press(QMessageBox::No), Press(QMessageBox::Yes), Press(QMessageBox::No),
                           Press(QMessageBox::Yes)});
    OpenFixture();
    Action("actionInitializeRound")->trigger();
    Action("actionNextRound")->trigger();
    Action("actionNextRound")->trigger();
    QCOMPARE(Arenas().size(), 5);

    Select("*Round  0");
    Action("actionNextRound")->trigger();
    QCOMPARE(Arenas().size(), 5);
    Action("actionNextRound")->trigger();
    QCOMPARE(Arenas(), QStringList({"*Round  0", "*Round  1", "Drinking water", "Irrigation"}));
    Action("actionInitializeRound")->trigger();
    QCOMPARE(Arenas().size(), 4);
    Action("actionInitializeRound")->trigger();
    QCOMPARE(Arenas(), QStringList({"*Round  0", "Drinking water", "Irrigation"}));
    QCOMPARE(answers.Seen.size(), 4);
    QCOMPARE(answers.Seen[0].Text, QStringLiteral("Delete round 1 and later?"));
    QCOMPARE(answers.Seen[2].Text, QStringLiteral("Delete all simulation rounds?"));
}

void TSimulationCommandsTest::nextRoundNeedsARoundArena() {
    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    Select("Irrigation");
    QVERIFY(!Action("actionNextRound")->isEnabled());
    // The command checks for itself as well.
    view.NextRound();
    QCOMPARE(answers.Seen.size(), 1);
    QCOMPARE(answers.Seen[0].Text,
             QStringLiteral("Compile and check initial state (*Round 0) first"));
    QCOMPARE(Arenas().size(), 2);
}

void TSimulationCommandsTest::thePlotFollowsTheRounds() {
    // Closing asks whether to save the changes.
    TModalAnswers answers({Press(QMessageBox::No)});
    TCaseView& view = OpenFixture();
    Action("actionInitializeRound")->trigger();
    Action("actionNextRound")->trigger();
    kavo::TRoundPlotWindow& plot = Window->RoundPlot();
    Action("actionPlotRounds")->trigger();
    QCOMPARE(plot.PlottedCase(), &view.Case());
    plot.SelectPlot(kavo::TPlotType::ptUtilities);
    const auto lastRound = [&plot] {
        const auto* series = static_cast<QLineSeries*>(plot.Chart()->series().front());
        return series->points().back().x();
    };
    QCOMPARE(lastRound(), 1.0);
    Action("actionNextRound")->trigger();
    QCOMPARE(lastRound(), 2.0);
    view.UndoStep();
    QCOMPARE(lastRound(), 1.0);
    Action("actionClose")->trigger();
    QVERIFY(!plot.isVisible());
    QCOMPARE(plot.PlottedCase(), nullptr);
}

void TSimulationCommandsTest::doubleClickOnTheDiagramBarShowsTheState() {
    QStringList shown;
    TModalAnswers answers({[&shown](QWidget* modal) {
        auto* text = modal->findChild<QPlainTextEdit*>(QStringLiteral("pathText"));
        shown = text->toPlainText().split(QLatin1Char('\n'));
        QTest::keyClick(text, Qt::Key_T);
    }});
    TCaseView& view = OpenFixture();
    Action("actionInitializeRound")->trigger();
    Action("actionNextRound")->trigger();
    Select("*Round  1/Farmers");
    auto* bar = view.findChild<QToolBar*>(QStringLiteral("diagramBar"));
    // Below the buttons, on the bar itself.
    QTest::mouseDClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 4));
    QCOMPARE(answers.Seen.size(), 1);
    QCOMPARE(answers.Seen[0].Caption, QStringLiteral("Path list"));
    QCOMPARE(shown.value(0), QStringLiteral("State of factors:"));
    QVERIFY(shown.contains(QStringLiteral("Pending changes after processing delayed links:")));
    QVERIFY(shown.contains(QStringLiteral("0 delayed links:")));
    // Reading the state changes nothing of the case.
    QCOMPARE(view.UndoStack()->undoText(), QStringLiteral("Next round"));
}

void TSimulationCommandsTest::pathListKeys() {
    kavo::TPathViewer viewer;
    for (const auto& [key, result] :
         {std::pair{Qt::Key_T, QDialog::Accepted}, std::pair{Qt::Key_C, QDialog::Rejected}}) {
        for (const Qt::KeyboardModifiers shift : {Qt::NoModifier, Qt::ShiftModifier}) {
            viewer.setResult(-1);
            viewer.show();
            QTest::keyClick(viewer.TextBox(), key, shift);
            QVERIFY(!viewer.isVisible());
            QCOMPARE(viewer.result(), int(result));
        }
    }
    // "#" asks for a font and shows the characters in it.
    TModalAnswers answers({[](QWidget* modal) {
        auto* fonts = qobject_cast<QFontDialog*>(modal);
        QFont font = fonts->currentFont();
        font.setPointSize(17);
        fonts->setCurrentFont(font);
        fonts->accept();
    }});
    viewer.show();
    viewer.TextBox()->setPlainText(QStringLiteral("A --> B"));
    QTest::keyClick(viewer.TextBox(), Qt::Key_NumberSign, Qt::ShiftModifier, 0);
    QVERIFY(viewer.isVisible());
    QCOMPARE(answers.Seen.size(), 1);
    QCOMPARE(viewer.TextBox()->font().pointSize(), 17);
    const QStringList table = viewer.TextBox()->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(table.size(), 224);
    QCOMPARE(table.first(), QStringLiteral("\" \" = 32"));
    QCOMPARE(table[65 - 32], QStringLiteral("\"A\" = 65"));
    QCOMPARE(table.last(), QStringLiteral("\"\u00FF\" = 255"));
    viewer.hide();
}

QTEST_MAIN(TSimulationCommandsTest)
#include "tst_simulationcommands.moc"
