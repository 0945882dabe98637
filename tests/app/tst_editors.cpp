#include <QtTest>
#include <memory>

#include "app/TEditGoalDlg.h"
#include "app/TEditLinkDlg.h"
#include "app/TEditProspectDlg.h"
#include "model/TCase.h"
#include "model/TContext.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TProspect.h"
#include "support/TestPlatform.h"

using kavo::TEditGoalDlg;
using kavo::TEditLinkDlg;
using kavo::TEditProspectDlg;
using kavo::TGoalType;

// The goal, prospect and link editors: their strips under the pointer and the keyboard.
class TEditorsTest : public QObject {
    Q_OBJECT

  private slots:
    void init();

    void goalStripPresses_data();
    void goalStripPresses();
    void goalKeys_data();
    void goalKeys();
    void faceStripMakesACustomGoal();
    void linkStripPresses_data();
    void linkStripPresses();
    void uncertaintyKeysStayWithinTheirRange();
    void editingStartsFromACopy();

  private:
    static QPoint Upper(int level) { return {26 * (level + 3) + 13, 10}; }
    static QPoint Lower(int level) { return {26 * (level + 3) + 13, 35}; }

    kavo::test::TTestPlatform Platform;
    std::unique_ptr<kavo::TCase> Case;
    std::unique_ptr<kavo::TFiP> Source;
    std::unique_ptr<kavo::TFiP> Target;
};

void TEditorsTest::init() {
    Case = std::make_unique<kavo::TCase>(Platform.Context);
    Source = std::make_unique<kavo::TFiP>(Case->FindOrCreateFactor("Rain"));
    Target = std::make_unique<kavo::TFiP>(Case->FindOrCreateFactor("Harvest"));
}

void TEditorsTest::goalStripPresses_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("keys");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("priority");
    QTest::newRow("plain") << 2 << int(Qt::LeftButton) << int(Qt::NoModifier)
                           << int(TGoalType::gtStandard) << 2;
    QTest::newRow("ctrl wins over shift")
        << 1 << int(Qt::LeftButton) << int(Qt::ControlModifier | Qt::ShiftModifier)
        << int(TGoalType::gtStandard) << 1;
    QTest::newRow("shift") << -1 << int(Qt::LeftButton) << int(Qt::ShiftModifier)
                           << int(TGoalType::gtStandard) << 3;
    QTest::newRow("right button is negative")
        << -2 << int(Qt::RightButton) << int(Qt::NoModifier) << int(TGoalType::gtNegative) << 2;
}

void TEditorsTest::goalStripPresses() {
    QFETCH(int, level);
    QFETCH(int, button);
    QFETCH(int, keys);
    QFETCH(int, type);
    QFETCH(int, priority);
    TEditGoalDlg editor;
    editor.Start(*Target, nullptr);
    QCOMPARE(int(editor.Working().Level), 0);
    QCOMPARE(editor.Working().Utilities, Case->StdUtilityVectors.Row(2, 0));
    editor.PressAt(Upper(level), Qt::MouseButton(button), Qt::KeyboardModifiers(keys));
    const kavo::TGoal& goal = editor.Working();
    QCOMPARE(int(goal.Level), level);
    QCOMPARE(int(goal.GoalType), type);
    QCOMPARE(int(goal.Priority), priority);
    const auto& table =
        type == int(TGoalType::gtNegative) ? Case->NegUtilityVectors : Case->StdUtilityVectors;
    QCOMPARE(goal.Utilities, table.Row(priority, level));
}

void TEditorsTest::goalKeys_data() {
    QTest::addColumn<bool>("negative");
    QTest::addColumn<int>("priority");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("expectNegative");
    QTest::addColumn<int>("expectPriority");
    QTest::addColumn<int>("expectLevel");
    QTest::newRow("up from standard 2") << false << 2 << int(Qt::Key_Up) << false << 3 << 1;
    QTest::newRow("up at standard 3") << false << 3 << int(Qt::Key_Up) << false << 3 << 1;
    QTest::newRow("down from standard 1") << false << 1 << int(Qt::Key_Down) << true << 1 << 1;
    QTest::newRow("down from negative 2") << true << 2 << int(Qt::Key_Down) << true << 3 << 1;
    QTest::newRow("up from negative 1") << true << 1 << int(Qt::Key_Up) << false << 1 << 1;
    QTest::newRow("left keeps negative 3") << true << 3 << int(Qt::Key_Left) << true << 3 << 0;
    QTest::newRow("right keeps priority 1") << false << 1 << int(Qt::Key_Right) << false << 1 << 2;
}

void TEditorsTest::goalKeys() {
    QFETCH(bool, negative);
    QFETCH(int, priority);
    QFETCH(int, key);
    QFETCH(bool, expectNegative);
    QFETCH(int, expectPriority);
    QFETCH(int, expectLevel);
    TEditGoalDlg editor;
    editor.Start(*Target, nullptr);
    const Qt::KeyboardModifiers keys = priority == 1   ? Qt::ControlModifier
                                       : priority == 3 ? Qt::ShiftModifier
                                                       : Qt::NoModifier;
    editor.PressAt(Upper(1), negative ? Qt::RightButton : Qt::LeftButton, keys);
    QTest::keyClick(&editor, Qt::Key(key));
    const kavo::TGoal& goal = editor.Working();
    QCOMPARE(goal.GoalType == TGoalType::gtNegative, expectNegative);
    QCOMPARE(int(goal.Priority), expectPriority);
    QCOMPARE(int(goal.Level), expectLevel);
}

void TEditorsTest::faceStripMakesACustomGoal() {
    TEditGoalDlg editor;
    editor.Start(*Target, nullptr);
    editor.PressAt(Upper(1), Qt::LeftButton, Qt::NoModifier);
    const int before = editor.Working().Utilities[1];
    editor.PressAt(Lower(1), Qt::RightButton, Qt::NoModifier);
    QCOMPARE(int(editor.Working().GoalType), int(TGoalType::gtCustom));
    QCOMPARE(int(editor.Working().Utilities[1]), before - 1);
    // Up and Down leave a custom goal alone; Left makes it standard one level lower.
    QTest::keyClick(&editor, Qt::Key_Up);
    QCOMPARE(int(editor.Working().GoalType), int(TGoalType::gtCustom));
    const int level = editor.Working().Level;
    QTest::keyClick(&editor, Qt::Key_Left);
    QCOMPARE(int(editor.Working().GoalType), int(TGoalType::gtStandard));
    QCOMPARE(int(editor.Working().Level), level - 1);
}

void TEditorsTest::linkStripPresses_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("keys");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("uncertainty");
    QTest::newRow("last pixel column is +3") << 182 << int(Qt::NoModifier) << 3 << 0;
    QTest::newRow("gap column belongs to the cell right of it")
        << 26 << int(Qt::NoModifier) << -2 << 0;
    QTest::newRow("shift wins") << 40
                                << int(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)
                                << -2 << 1;
    QTest::newRow("ctrl") << 90 << int(Qt::ControlModifier) << 0 << 2;
    QTest::newRow("alt") << 120 << int(Qt::AltModifier) << 1 << 3;
}

void TEditorsTest::linkStripPresses() {
    QFETCH(int, x);
    QFETCH(int, keys);
    QFETCH(int, level);
    QFETCH(int, uncertainty);
    TEditLinkDlg editor;
    editor.Start(*Source, *Target, nullptr);
    QCOMPARE(int(editor.Working().Level), 2);
    editor.PressAt(QPoint(x, 5), Qt::LeftButton, Qt::KeyboardModifiers(keys));
    const kavo::TLink& link = editor.Working();
    QCOMPARE(int(link.Level), level);
    QCOMPARE(int(link.Uncertainty), uncertainty);
    // The vector is the table's, so that new options rebuild the same distribution.
    QCOMPARE(link.Vector, kavo::UncertaintyProfile(uncertainty, level));
    QCOMPARE(link.Distribution.ToVector(*Case), link.Vector);
}

void TEditorsTest::uncertaintyKeysStayWithinTheirRange() {
    TEditProspectDlg editor;
    editor.Start(*Target, nullptr);
    QTest::keyClick(&editor, Qt::Key_Down);
    QCOMPARE(int(editor.Working().Uncertainty), 0);
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(&editor, Qt::Key_Up);
    }
    QCOMPARE(int(editor.Working().Uncertainty), 3);
    QTest::keyClick(&editor, Qt::Key_Left);
    QCOMPARE(int(editor.Working().Level), -1);
    QCOMPARE(int(editor.Working().Uncertainty), 3);
    QCOMPARE(editor.Working().Vector, kavo::UncertaintyProfile(3, -1));
}

void TEditorsTest::editingStartsFromACopy() {
    kavo::TGoal old(*Case, Target.get(), TGoalType::gtStandard, 2, 3);
    TEditGoalDlg goals;
    goals.Start(*Target, &old);
    goals.PressAt(Upper(-3), Qt::LeftButton, Qt::NoModifier);
    QCOMPARE(int(old.Level), 2);
    QCOMPARE(int(goals.TakeResult()->Level), -3);

    kavo::TLink link(*Case, Source.get(), Target.get());
    link.Comment = {"Wet years"};
    TEditLinkDlg links;
    links.Start(*Source, *Target, &link);
    links.PressAt(Upper(-1), Qt::LeftButton, Qt::ControlModifier);
    QCOMPARE(int(link.Level), 2);
    const std::unique_ptr<kavo::TLink> edited = links.TakeResult();
    QCOMPARE(int(edited->Level), -1);
    QCOMPARE(edited->Comment, link.Comment);
    QCOMPARE(edited->Vector, kavo::UncertaintyProfile(2, -1));
}

QTEST_MAIN(TEditorsTest)
#include "tst_editors.moc"
