#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUndoStack>
#include <QtTest>
#include <memory>

#include "app/ModalAnswers.h"
#include "app/TCaseView.h"
#include "app/TKAVO.h"
#include "app/TOptionsDlg.h"
#include "model/TActor.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TFiP.h"
#include "model/TPerception.h"
#include "support/TestPlatform.h"

using kavo::TCaseOptions;
using kavo::TOptionsDlg;
using kavo::TUtilityVectors;
using kavo::test::TCaseFixture;
using kavo::test::TModalAnswers;

namespace {

// The dialog open on a case of its own, as the main window opens it.
struct TOpenDialog {
    TOpenDialog() : Dialog(QSize(1600, 1000)) {
        Dialog.Load(Fixture.Case);
        Dialog.show();
        Dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Dialog));
    }
    template <typename T>
    T* Child(const QString& name) {
        T* child = Dialog.findChild<T*>(name);
        if (child == nullptr) {
            qWarning("no control %s", qPrintable(name));
        }
        return child;
    }
    QLineEdit* Field(const QString& name) { return Child<QLineEdit>(name); }
    QString Text(const QString& name) {
        if (auto* label = Dialog.findChild<QLabel*>(name)) {
            return label->text();
        }
        return Field(name)->text();
    }
    // Types into the field as a user does: selects what is there and types over it.
    void Type(const QString& name, const QString& text) {
        QLineEdit* field = Field(name);
        field->setFocus();
        field->selectAll();
        if (text.isEmpty()) {
            QTest::keyClick(field, Qt::Key_Backspace);
        } else {
            QTest::keyClicks(field, text);
        }
    }
    // Leaves the field with Tab, which runs its exit check.
    void Leave(const QString& name) { QTest::keyClick(Field(name), Qt::Key_Tab); }
    void ClickOK() { Child<QToolButton>(QStringLiteral("OKBtn"))->click(); }
    bool OKEnabled() { return Child<QToolButton>(QStringLiteral("OKBtn"))->isEnabled(); }
    std::vector<std::string> Warnings() {
        std::vector<std::string> texts;
        for (const auto& message : Fixture.Messages.Log) {
            texts.push_back(message.Text);
        }
        return texts;
    }

    TCaseFixture Fixture;
    TOptionsDlg Dialog;
};

}  // namespace

class TOptionsDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();

    void loadingMirrorsTheMultiplier_data();
    void loadingMirrorsTheMultiplier();
    void keyFiltersKeepDigitsOnly();
    void tabOrderFollowsTheDialog();
    void exitChecksKeepLevelsInOrder_data();
    void exitChecksKeepLevelsInOrder();
    void okChecksEveryField_data();
    void okChecksEveryField();
    void okWritesTheOptionsIntoTheCase();
    void applyBoxDecidesWhetherActionsTakeTheRange();
    void defaultsAndTheUtilityEditor();
    void rationalityAndMonitorStayForTheNextCase();
    void fontComesFromTheChooser();
    void optionsEntryChangesTheActiveCase();
};

void TOptionsDialogTest::initTestCase() {
    QApplication::setApplicationName(QStringLiteral("KAVO"));
}

void TOptionsDialogTest::loadingMirrorsTheMultiplier_data() {
    QTest::addColumn<double>("multiplier");
    QTest::addColumn<QString>("plus1");
    QTest::addColumn<QString>("minus1");
    QTest::addColumn<bool>("okEnabled");
    QTest::newRow("2") << 2.0 << ".5"
                       << "-.5" << true;
    QTest::newRow("1.5") << 1.5 << ".667"
                         << "-.667" << true;
    QTest::newRow("4") << 4.0 << ".25"
                       << "-.25" << true;
    QTest::newRow("1 fails") << 1.0 << ""
                             << "" << false;
}

void TOptionsDialogTest::loadingMirrorsTheMultiplier() {
    QFETCH(double, multiplier);
    QFETCH(QString, plus1);
    QFETCH(QString, minus1);
    QFETCH(bool, okEnabled);
    TOpenDialog open;
    open.Fixture.Case.SetLinkMultiplier(multiplier);
    open.Dialog.Load(open.Fixture.Case);
    QCOMPARE(open.Text("MPlus1"), plus1);
    QCOMPARE(open.Text("MMinus1"), minus1);
    QCOMPARE(open.OKEnabled(), okEnabled);
    QCOMPARE(open.Text("Min3"), QStringLiteral("-4"));
    QCOMPARE(open.Text("PercentLbl"), QStringLiteral("is a 20% increase)"));
}

void TOptionsDialogTest::keyFiltersKeepDigitsOnly() {
    TOpenDialog open;
    open.Type("Plus1", "1a,.5-");
    QCOMPARE(open.Text("Plus1"), QStringLiteral("1.5"));
    open.Type("Threshold", "3.5x9");
    QCOMPARE(open.Text("Threshold"), QStringLiteral("359"));
    open.Type("Resolution", "123");
    QCOMPARE(open.Text("Resolution"), QStringLiteral("12"));
    open.Type("SeedValue", "12345678901");
    QCOMPARE(open.Text("SeedValue"), QStringLiteral("123456789"));
    // Enter moves on to the next field in tab order and does not close the dialog.
    open.Field("Plus1")->setFocus();
    QTest::keyClick(open.Field("Plus1"), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), open.Field("Plus2"));
    QVERIFY(open.Dialog.isVisible());
}

void TOptionsDialogTest::tabOrderFollowsTheDialog() {
    TOpenDialog open;
    const QStringList expected = {"DefaultsBtn",   "FontBtn",         "UtilityBtn",     "OKBtn",
                                  "CancelBtn",     "Plus1",           "Plus2",          "Plus3",
                                  "MPlus3",        "Util1",           "Util2",          "Util3",
                                  "ApplyBox",      "HideBarBox",      "RationalityBox", "Threshold",
                                  "Resolution",    "MonitorPnl",      "EvalCount",      "MaxWidth",
                                  "MaxHeight",     "SeedValue",       "SampleBox",      "BaseLevel",
                                  "AdaptGoalsBox", "ManualActionsBox"};
    // The utility button takes no focus while there is no editor.
    open.Dialog.SetUtilityEditor([](TUtilityVectors&, TUtilityVectors&) { return false; });
    open.Child<QToolButton>("DefaultsBtn")->setFocus();
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, expected);
}

void TOptionsDialogTest::exitChecksKeepLevelsInOrder_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("levels");  // Plus1..3, Util1..3 afterwards
    QTest::addColumn<bool>("okEnabled");
    QTest::newRow("plus1 above plus2") << "Plus1"
                                       << "5" << QStringList{"5", "5", "4", "1", "2", "4"} << true;
    QTest::newRow("plus2 below plus1")
        << "Plus2"
        << "0.5" << QStringList{"0.5", "0.5", "4", "1", "2", "4"} << true;
    QTest::newRow("plus2 above plus3") << "Plus2"
                                       << "6" << QStringList{"1", "6", "6", "1", "2", "4"} << true;
    QTest::newRow("plus3 below plus2")
        << "Plus3"
        << "1.5" << QStringList{"1", "1.5", "1.5", "1", "2", "4"} << true;
    QTest::newRow("plus1 zero") << "Plus1"
                                << "0" << QStringList{"0", "2", "4", "1", "2", "4"} << false;
    QTest::newRow("plus3 zero") << "Plus3"
                                << "0" << QStringList{"1", "2", "0", "1", "2", "4"} << false;
    QTest::newRow("no number") << "Plus2"
                               << "." << QStringList{"1", ".", "4", "1", "2", "4"} << false;
    QTest::newRow("util as typed")
        << "Util1"
        << "3.0" << QStringList{"1", "2", "4", "3.0", "3.0", "4"} << true;
    QTest::newRow("util2 around") << "Util2"
                                  << "09" << QStringList{"1", "2", "4", "1", "09", "09"} << true;
    QTest::newRow("multiplier 1") << "MPlus3"
                                  << "1" << QStringList{"1", "2", "4", "1", "2", "4"} << false;
}

void TOptionsDialogTest::exitChecksKeepLevelsInOrder() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QStringList, levels);
    QFETCH(bool, okEnabled);
    TOpenDialog open;
    open.Type(field, typed);
    open.Leave(field);
    const QStringList shown = {open.Text("Plus1"), open.Text("Plus2"), open.Text("Plus3"),
                               open.Text("Util1"), open.Text("Util2"), open.Text("Util3")};
    QCOMPARE(shown, levels);
    QCOMPARE(open.OKEnabled(), okEnabled);
    if (okEnabled) {
        QCOMPARE(open.Text("Min1"), "-" + levels[0]);
        QCOMPARE(open.Text("MinUtil3"), "-" + levels[5]);
    } else {
        QTRY_COMPARE(open.Field(field)->selectedText(), typed);
    }
}

void TOptionsDialogTest::okChecksEveryField_data() {
    // Entries typed (field=text; RationalityBox=index), then OK: either the dialog closes, or the
    // refused field has the focus with its text selected, or a warning shows.
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("refused");
    QTest::addColumn<QString>("warning");
    QTest::newRow("as loaded") << QStringList{} << true << ""
                               << "";
    QTest::newRow("threshold 7") << QStringList{"Threshold=7"} << true << ""
                                 << "";
    QTest::newRow("threshold 6") << QStringList{"Threshold=6"} << false << "Threshold"
                                 << "";
    QTest::newRow("threshold empty") << QStringList{"Threshold="} << false << "Threshold"
                                     << "";
    QTest::newRow("tolerance 0") << QStringList{"Resolution=0"} << false << "Resolution"
                                 << "";
    QTest::newRow("satisfaction least regret")
        << QStringList{"RationalityBox=5"} << false << "RationalityBox"
        << "Least regret strategies not available yet";
    QTest::newRow("frustration minimax") << QStringList{"RationalityBox=7"} << true << ""
                                         << "";
    QTest::newRow("base level 0") << QStringList{"BaseLevel=0"} << false << ""
                                  << "Base level must be > 0";
    QTest::newRow("base level empty") << QStringList{"BaseLevel="} << false << "BaseLevel"
                                      << "";
    QTest::newRow("width empty") << QStringList{"MaxWidth="} << false << "MaxWidth"
                                 << "";
    QTest::newRow("height 0") << QStringList{"MaxHeight=0"} << false << "MaxHeight"
                              << "";
    QTest::newRow("seed empty") << QStringList{"SeedValue="} << false << "SeedValue"
                                << "";
    QTest::newRow("evaluations empty") << QStringList{"EvalCount="} << false << "EvalCount"
                                       << "";
    // Typed without leaving the field: OK checks what its exit check would have.
    QTest::newRow("multiplier 1") << QStringList{"MPlus3=1"} << false << "MPlus3"
                                  << "";
    QTest::newRow("plus3 equal to plus2") << QStringList{"Plus3=2"} << false << "Plus3"
                                          << "";
    QTest::newRow("plus1 zero") << QStringList{"Plus1=0"} << false << "Plus1"
                                << "";
    QTest::newRow("util falls") << QStringList{"Util3=1.5"} << false << "Util3"
                                << "";
    QTest::newRow("util empty") << QStringList{"Util1="} << false << "Util1"
                                << "";
    QTest::newRow("rising levels") << QStringList{"Plus1=0.5", "Plus2=3", "Plus3=9"} << true << ""
                                   << "";
    QTest::newRow("size over the limits")
        << QStringList{"MaxWidth=9999", "MaxHeight=5000"} << true << ""
        << "";
}

void TOptionsDialogTest::okChecksEveryField() {
    QFETCH(QStringList, entries);
    QFETCH(bool, accepted);
    QFETCH(QString, refused);
    QFETCH(QString, warning);
    TOpenDialog open;
    for (const QString& entry : entries) {
        const QString field = entry.section('=', 0, 0);
        const QString text = entry.section('=', 1);
        if (field == QStringLiteral("RationalityBox")) {
            open.Child<QComboBox>(field)->setCurrentIndex(text.toInt());
        } else {
            open.Type(field, text);
        }
    }
    open.ClickOK();
    QCOMPARE(open.Dialog.Confirmed().has_value(), accepted);
    QCOMPARE(open.Dialog.isVisible(), !accepted);
    if (!refused.isEmpty()) {
        QCOMPARE(QApplication::focusWidget()->objectName(), refused);
        if (auto* field = open.Dialog.findChild<QLineEdit*>(refused)) {
            QCOMPARE(field->selectedText(), field->text());
        }
    }
    QCOMPARE(open.Warnings(), warning.isEmpty() ? std::vector<std::string>{}
                                                : std::vector<std::string>{warning.toStdString()});
    if (warning == QStringLiteral("Base level must be > 0")) {
        QCOMPARE(open.Text("BaseLevel"), QStringLiteral("10"));
    }
    // Nothing reaches the case before OK, and OK hands the values over without writing them.
    QVERIFY(!open.Fixture.Case.Modified);
}

void TOptionsDialogTest::okWritesTheOptionsIntoTheCase() {
    TOpenDialog open;
    kavo::TCase& c = open.Fixture.Case;
    open.Type("Plus1", "0.5");
    open.Type("Plus2", "3");
    open.Type("Plus3", "9");
    open.Type("MPlus3", "4");
    open.Type("Util1", "1");
    open.Type("Util2", "3");
    open.Type("Util3", "9");
    open.Type("Threshold", "12");
    open.Type("Resolution", "7");
    open.Type("EvalCount", "25");
    open.Type("MaxWidth", "9999");
    open.Type("MaxHeight", "700");
    open.Type("SeedValue", "42");
    open.Type("BaseLevel", "20");
    open.Child<QToolButton>("BarMin3")->click();
    open.Child<QToolButton>("BarPlus2")->click();
    open.Child<QCheckBox>("HideBarBox")->setChecked(true);
    open.Child<QCheckBox>("SampleBox")->setChecked(false);
    open.Child<QCheckBox>("AdaptGoalsBox")->setChecked(false);
    open.Child<QCheckBox>("ManualActionsBox")->setChecked(true);
    open.Child<QComboBox>("RationalityBox")->setCurrentIndex(4);
    open.ClickOK();
    QVERIFY(open.Dialog.Confirmed());
    const TCaseOptions options = *open.Dialog.Confirmed();
    QCOMPARE(options.MaxWidth, 4000);
    QVERIFY(!options.StdUtilityVectors);

    kavo::WriteOptions(c, options);
    QVERIFY(c.Modified);
    QCOMPARE(c.ChangeLevels, (kavo::TLevels<double>{{-9, -3, -0.5, 0, 0.5, 3, 9}}));
    QCOMPARE(c.LinkMultipliers, (kavo::TLevels<double>{{-4, -1, -0.25, 0, 0.25, 1, 4}}));
    QCOMPARE(c.UtilityLevels, (kavo::TLevels<double>{{-9, -3, -1, 0, 1, 3, 9}}));
    QCOMPARE(c.MaxUtility, 9.0);
    QCOMPARE(c.AutofocusThreshold, 12);
    QCOMPARE(c.AutofocusResolution, 7);
    QCOMPARE(c.Evaluations, std::int64_t{2500});
    QCOMPARE(c.MaxWidth, 4000);
    QCOMPARE(c.MaxHeight, 700);
    QCOMPARE(c.RandomSeed, 42);
    QCOMPARE(c.BaseLevel, 20.0);
    QCOMPARE(c.DefaultActionRange,
             (kavo::TActionRange{{false, true, true, true, true, false, true}}));
    QVERIFY(!c.RangeBarShown);
    QVERIFY(!c.SampleFromDistributions);
    QVERIFY(!c.AdaptGoals);
    QVERIFY(c.MaintainActionRange);
    QCOMPARE(c.DefaultRationality, std::uint8_t{4});
    // The generator starts again from the new seed.
    kavo::TRandom fresh;
    fresh.Seed(42);
    QCOMPARE(c.Context().Random.Next(), fresh.Next());
}

void TOptionsDialogTest::applyBoxDecidesWhetherActionsTakeTheRange() {
    for (const bool apply : {false, true}) {
        TOpenDialog open;
        kavo::TCase& c = open.Fixture.Case;
        kavo::TArena* arena = c.FindOrCreateArena("Dam");
        kavo::TAiA* record = c.AddActorToArena(*arena, "Farmers", "Farm");
        kavo::TFactor* pumping = c.FindOrCreateFactor("Pumping", false, true, "Farm");
        record->Perception->Add(std::make_unique<kavo::TFiP>(pumping));
        kavo::TFiP* fip = record->Perception->FindFiP(pumping);
        fip->ChosenLevel = 3;
        open.Dialog.Load(c);
        open.Child<QToolButton>("BarPlus3")->click();
        open.Child<QCheckBox>("ApplyBox")->setChecked(apply);
        open.ClickOK();
        kavo::WriteOptions(c, *open.Dialog.Confirmed());
        QCOMPARE(c.DefaultActionRange[3], false);
        QCOMPARE(fip->ActionRange[3], !apply);
        // The level chosen for a round leaves with the range.
        QCOMPARE(fip->ChosenLevel, std::int16_t(apply ? kavo::kNoLevel : 3));
    }
}

void TOptionsDialogTest::defaultsAndTheUtilityEditor() {
    TOpenDialog open;
    kavo::TCase& c = open.Fixture.Case;
    c.StdUtilityVectors.At(2, 1, 1) = 0;
    c.Evaluations = 700;
    open.Dialog.Load(c);

    // Defaults and Cancel leave the case as it is.
    open.Child<QToolButton>("DefaultsBtn")->click();
    QCOMPARE(open.Text("EvalCount"), QStringLiteral("1"));
    QCOMPARE(open.Text("MaxWidth"), QStringLiteral("1600"));
    open.Child<QToolButton>("CancelBtn")->click();
    QVERIFY(!open.Dialog.Confirmed());

    // Defaults and OK bring the default tables.
    open.Dialog.Load(c);
    open.Child<QToolButton>("DefaultsBtn")->click();
    open.ClickOK();
    QCOMPARE(*open.Dialog.Confirmed()->StdUtilityVectors, TUtilityVectors::DefaultStandard());
    QCOMPARE(*open.Dialog.Confirmed()->NegUtilityVectors, TUtilityVectors::DefaultNegative());

    // The editor starts from the case's tables; cancelled, it leaves the tables out, even after
    // Defaults.
    bool confirm = false;
    TUtilityVectors shown;
    open.Dialog.SetUtilityEditor([&](TUtilityVectors& standard, TUtilityVectors& negative) {
        shown = standard;
        standard.At(3, 3, 3) = -3;
        negative.At(1, -1, 0) = 2;
        return confirm;
    });
    open.Dialog.Load(c);
    open.Dialog.show();
    open.Child<QToolButton>("DefaultsBtn")->click();
    open.Child<QToolButton>("UtilityBtn")->click();
    QCOMPARE(shown, c.StdUtilityVectors);
    open.ClickOK();
    QVERIFY(!open.Dialog.Confirmed()->StdUtilityVectors);

    confirm = true;
    open.Dialog.Load(c);
    open.Dialog.show();
    open.Child<QToolButton>("UtilityBtn")->click();
    open.ClickOK();
    QCOMPARE(open.Dialog.Confirmed()->StdUtilityVectors->At(3, 3, 3), std::int8_t{-3});
    QCOMPARE(open.Dialog.Confirmed()->NegUtilityVectors->At(1, -1, 0), std::int8_t{2});
    QCOMPARE(open.Dialog.Confirmed()->StdUtilityVectors->At(2, 1, 1), std::int8_t{0});
}

void TOptionsDialogTest::rationalityAndMonitorStayForTheNextCase() {
    TOpenDialog open;
    open.Child<QComboBox>("RationalityBox")->setCurrentIndex(3);
    open.Child<QToolButton>("MonitorPnl")->click();
    open.ClickOK();
    QVERIFY(open.Dialog.MonitorOn());

    TCaseFixture other;
    open.Dialog.Load(other.Case);
    open.Dialog.show();
    QCOMPARE(open.Child<QComboBox>("RationalityBox")->currentIndex(), 3);
    QVERIFY(open.Dialog.MonitorOn());
    open.ClickOK();
    QCOMPARE(open.Dialog.Confirmed()->DefaultRationality, std::uint8_t{3});
}

void TOptionsDialogTest::fontComesFromTheChooser() {
    TOpenDialog open;
    QList<QFont> offered;
    open.Dialog.SetFontChooser([&](QWidget*, const QFont& start) -> std::optional<QFont> {
        offered << start;
        QFont chosen(QStringLiteral("DejaVu Serif"), 11);
        chosen.setBold(true);
        return chosen;
    });
    open.Child<QToolButton>("FontBtn")->click();
    open.ClickOK();
    QCOMPARE(open.Dialog.Confirmed()->Font, (kavo::TFont{"DejaVu Serif", 11, true, false}));
    // The chooser shows the font last chosen in it, not the case's.
    open.Dialog.Load(open.Fixture.Case);
    open.Dialog.show();
    open.Child<QToolButton>("FontBtn")->click();
    QCOMPARE(offered.size(), 2);
    QCOMPARE(offered.back().family(), QStringLiteral("DejaVu Serif"));
}

void TOptionsDialogTest::optionsEntryChangesTheActiveCase() {
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    kavo::TKAVO window;
    kavo::TCaseView* view = window.NewCase();
    QAction* options = window.findChild<QAction*>(QStringLiteral("actionOptions"));
    QVERIFY(options->isEnabled());
    const auto typeAndPress = [](const char* button) {
        return [button](QWidget* modal) {
            auto* plus3 = modal->findChild<QLineEdit*>(QStringLiteral("Plus3"));
            plus3->selectAll();
            QTest::keyClicks(plus3, QStringLiteral("8"));
            modal->findChild<QToolButton*>(QString::fromLatin1(button))->click();
        };
    };
    {
        TModalAnswers answers({typeAndPress("CancelBtn")});
        options->trigger();
        QCOMPARE(answers.Seen.front().Caption, QStringLiteral("KAVO case options"));
    }
    QCOMPARE(view->Case().ChangeLevels[3], 4.0);
    QVERIFY(!view->Case().Modified);
    TModalAnswers answers({typeAndPress("OKBtn")});
    options->trigger();
    QCOMPARE(view->Case().ChangeLevels[3], 8.0);
    QCOMPARE(view->Case().ChangeLevels[-3], -8.0);
    QVERIFY(view->Case().Modified);
    // OK is one step of the undo stack.
    QCOMPARE(view->UndoStack()->undoText(), QStringLiteral("Change options"));
    view->UndoStep();
    QCOMPARE(view->Case().ChangeLevels[3], 4.0);
    QCOMPARE(view->Case().ChangeLevels[-3], -4.0);
    QVERIFY(!view->Case().Modified);
    view->RedoStep();
    QCOMPARE(view->Case().ChangeLevels[3], 8.0);
    view->UndoStep();
}

QTEST_MAIN(TOptionsDialogTest)
#include "tst_optionsdialog.moc"
