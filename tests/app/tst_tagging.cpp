#include <QAction>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QUndoStack>
#include <QtTest>

#include "app/CaseFixture.h"
#include "app/ModalAnswers.h"
#include "app/TCaseTree.h"
#include "app/TCaseView.h"
#include "app/TDiagramView.h"
#include "app/TKAVO.h"
#include "app/TTagColorDlg.h"
#include "app/TTagListDlg.h"
#include "app/TreeNodes.h"
#include "casefile/TCaseWriter.h"
#include "casefile/TImageWriter.h"
#include "model/TGroup.h"
#include "model/TTag.h"
#include "views/TGroupingDlg.h"

using kavo::TCaseView;
using kavo::TKAVO;
using kavo::TTag;
using kavo::TTagColorDlg;
using kavo::TTagListDlg;
using kavo::test::NodeByPath;
using kavo::test::Press;
using kavo::test::TModalAnswers;

namespace {

// The case document as a save writes it, at a fixed time and without images.
std::string DocumentOf(kavo::TCase& c) {
    kavo::TImageWriter noImages;
    kavo::TCaseWriter writer(c, noImages, [] { return std::string("2024-05-06 07:08:09"); });
    std::string text;
    for (const std::string& line : writer.Document("")) {
        text += line + "\r\n";
    }
    return text;
}

// A point inside the square of the colour chooser, a few pixels from its top left corner.
QPoint InSquare(const TTagColorDlg& chooser, int column, int row) {
    for (int y = 0; y < chooser.height(); ++y) {
        for (int x = 0; x < chooser.width(); ++x) {
            if (chooser.SquareAt({x, y}) == QPoint(column, row)) {
                return {x + 5, y + 5};
            }
        }
    }
    return {-1, -1};
}

QStringList TagNames(const kavo::TConcept& item) {
    QStringList names;
    for (const TTag* tag : item.Tags) {
        names << QString::fromStdString(tag->Name);
    }
    return names;
}

}  // namespace

// The tag window and its colour chooser, opened from the case window's commands and driven
// through their keys and buttons.
class TTaggingTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void marksOfSelectedFactors_data();
    void marksOfSelectedFactors();
    void cancelKeepsTheNewTagButNotTheMarks();
    void renameInPlace_data();
    void renameInPlace();
    void commentIsEditedAndKeptWhenLeavingTheTag();
    void deleteTagAndUndoIt();
    void colorChooserShades_data();
    void colorChooserShades();
    void colorOfATagAndTheChoiceKeptForTheNext();
    void tagConceptFollowsTheFocus();
    void groupTagsAreChosenInTheTagWindow();

  private:
    TCaseView& OpenFixture();
    void SelectNode(const QString& path) {
        View->Tree()->setCurrentItem(NodeByPath(*View->Tree(), path));
    }
    // Selects the boxes of the Farmers' perception by their names.
    void SelectBoxes(const QStringList& names);
    QToolButton* Button(const char* name) const {
        return View->findChild<QToolButton*>(QString::fromLatin1(name));
    }
    QAction* Action(const char* name) const {
        return Window->findChild<QAction*>(QString::fromLatin1(name));
    }
    TTagListDlg& Dialog() const { return *Window->findChild<TTagListDlg*>(); }
    kavo::TFactor* Factor(const char* name) const {
        kavo::TCase& c = View->Case();
        return c.FactorList[c.FactorList.FindByName(name)];
    }
    // The mark of the tag's node in the open window, pressed with Space the given times.
    static Qt::CheckState PressMark(TTagListDlg& dialog, const TTag* tag, int times);

    QTemporaryDir SettingsFolder;
    std::unique_ptr<TKAVO> Window;
    TCaseView* View = nullptr;
    TTag* Dry = nullptr;
    TTag* Wet = nullptr;
};

void TTaggingTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QStringLiteral("KAVO"));
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(SettingsFolder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsFolder.path());
}

void TTaggingTest::init() {
    Window = std::make_unique<TKAVO>();
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
}

void TTaggingTest::cleanup() {
    View = nullptr;
    for (TCaseView* view : Window->CaseViews()) {
        view->Case().Modified = false;
    }
    Window.reset();
}

TCaseView& TTaggingTest::OpenFixture() {
    View = Window->NewCase();
    kavo::TCase& c = View->Case();
    kavo::test::FillWaterCase(c);
    Dry = c.FindOrCreateTag("Dry");
    Wet = c.FindOrCreateTag("Wet");
    c.Modified = false;
    View->BuildTree();
    return *View;
}

void TTaggingTest::SelectBoxes(const QStringList& names) {
    SelectNode(QStringLiteral("Irrigation/Farmers"));
    const kavo::TPerception* shown = View->CurrentPerception();
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    for (const QString& name : names) {
        for (const auto& fip : shown->FiPs) {
            if (QString::fromStdString(fip->Factor->Name) == name) {
                QTest::mouseClick(View->DrawingArea(), Qt::LeftButton, modifiers,
                                  QPoint(fip->X, fip->Y));
            }
        }
        modifiers = Qt::ShiftModifier;
    }
}

Qt::CheckState TTaggingTest::PressMark(TTagListDlg& dialog, const TTag* tag, int times) {
    QTreeWidget* tree = dialog.TagTree();
    QTreeWidgetItem* node = dialog.NodeOf(tag);
    tree->setCurrentItem(node);
    for (int i = 0; i < times; ++i) {
        QTest::keyClick(tree, Qt::Key_Space);
    }
    return node->checkState(0);
}

void TTaggingTest::marksOfSelectedFactors_data() {
    QTest::addColumn<QStringList>("carriers");
    QTest::addColumn<Qt::CheckState>("shown");
    QTest::addColumn<int>("presses");
    QTest::addColumn<Qt::CheckState>("pressed");
    QTest::addColumn<QStringList>("carriersAfterOK");
    const QStringList both{"Crop yield", "Income [Farm]"};
    QTest::newRow("some carry it: mixed, pressed once unchecked, OK takes it off all")
        << QStringList{"Crop yield"} << Qt::PartiallyChecked << 1 << Qt::Unchecked << QStringList{};
    QTest::newRow("mixed pressed twice: checked, OK puts it on all")
        << QStringList{"Crop yield"} << Qt::PartiallyChecked << 2 << Qt::Checked << both;
    QTest::newRow("mixed left alone: OK changes nothing")
        << QStringList{"Crop yield"} << Qt::PartiallyChecked << 0 << Qt::PartiallyChecked
        << QStringList{"Crop yield"};
    QTest::newRow("none carry it: checked by a press")
        << QStringList{} << Qt::Unchecked << 1 << Qt::Checked << both;
    QTest::newRow("all carry it: unchecked by a press")
        << both << Qt::Checked << 1 << Qt::Unchecked << QStringList{};
}

void TTaggingTest::marksOfSelectedFactors() {
    QFETCH(QStringList, carriers);
    QFETCH(Qt::CheckState, shown);
    QFETCH(int, presses);
    QFETCH(Qt::CheckState, pressed);
    QFETCH(QStringList, carriersAfterOK);
    OpenFixture();
    for (const QString& name : carriers) {
        Factor(qPrintable(name))->Tags.push_back(Dry);
    }
    const std::string before = DocumentOf(View->Case());
    SelectBoxes({"Crop yield", "Income [Farm]"});
    QVERIFY(Button("SelTagBtn")->isEnabled());
    QString hint;
    Qt::CheckState onOpening = Qt::Unchecked;
    Qt::CheckState afterPresses = Qt::Unchecked;
    TModalAnswers answers({[&](QWidget* modal) {
        auto& dialog = *static_cast<TTagListDlg*>(modal);
        hint = dialog.TagTree()->toolTip();
        onOpening = dialog.NodeOf(Dry)->checkState(0);
        afterPresses = PressMark(dialog, Dry, presses);
        dialog.OKButton()->click();
    }});
    Button("SelTagBtn")->click();
    QCOMPARE(answers.Seen.value(0).Caption, QStringLiteral("Tags"));
    QCOMPARE(hint, QStringLiteral("Factors: Crop yield, Income [Farm]"));
    QCOMPARE(onOpening, shown);
    QCOMPARE(afterPresses, pressed);
    QStringList after;
    for (const char* name : {"Crop yield", "Income [Farm]"}) {
        if (TagNames(*Factor(name)).contains(QStringLiteral("Dry"))) {
            after << QString::fromLatin1(name);
        }
    }
    QCOMPARE(after, carriersAfterOK);
    if (after != carriers) {
        QCOMPARE(Action("actionUndo")->text(), QStringLiteral("&Undo Tag 2 factors"));
        Action("actionUndo")->trigger();
    }
    QCOMPARE(DocumentOf(View->Case()), before);
}

void TTaggingTest::cancelKeepsTheNewTagButNotTheMarks() {
    OpenFixture();
    kavo::TCase& c = View->Case();
    SelectNode(QStringLiteral("Irrigation"));
    QVERIFY(Button("TagBtn")->isEnabled());
    QString hint;
    QString selected;
    Qt::CheckState mark = Qt::Checked;
    TModalAnswers answers({[&](QWidget* modal) {
        auto& dialog = *static_cast<TTagListDlg*>(modal);
        hint = dialog.TagTree()->toolTip();
        dialog.AddButton()->click();
        selected = dialog.TagTree()->currentItem()->text(0);
        mark = dialog.TagTree()->currentItem()->checkState(0);
        QTest::keyClick(dialog.TagTree(), Qt::Key_Space);
        dialog.AddButton()->click();
        QTest::keyClick(dialog.TagTree(), Qt::Key_Escape);
    }});
    Button("TagBtn")->click();
    QCOMPARE(hint, QStringLiteral("Arena: Irrigation"));
    QCOMPARE(selected, QStringLiteral("New tag"));
    QCOMPARE(mark, Qt::Unchecked);
    // Both new tags stay; the mark pressed on the first is not applied.
    QVERIFY(c.TagList.FindByName("New tag") >= 0);
    QVERIFY(c.TagList.FindByName("New tag 1") >= 0);
    QVERIFY(c.ArenaList[c.ArenaList.FindByName("Irrigation")]->Tags.empty());
    QVERIFY(c.Modified);
    QCOMPARE(View->UndoStack()->count(), 1);
    QCOMPARE(Action("actionUndo")->text(), QStringLiteral("&Undo Edit tags"));
    Action("actionUndo")->trigger();
    QCOMPARE(c.TagList.Size(), 2);
    QVERIFY(!c.Modified);
}

void TTaggingTest::renameInPlace_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("tags");
    QTest::addColumn<QString>("warning");
    QTest::newRow("trimmed") << "  Arid  " << QStringList{"Arid", "Wet"} << QString();
    QTest::newRow("empty restores the name") << "   " << QStringList{"Dry", "Wet"} << QString();
    QTest::newRow("letter case only") << "DRY" << QStringList{"DRY", "Wet"} << QString();
    QTest::newRow("taken") << "wet" << QStringList{"Dry", "Wet"}
                           << "Names must be unique: \"Wet\" is in use already";
}

void TTaggingTest::renameInPlace() {
    QFETCH(QString, typed);
    QFETCH(QStringList, tags);
    QFETCH(QString, warning);
    OpenFixture();
    kavo::TCase& c = View->Case();
    const std::string before = DocumentOf(c);
    SelectNode(QStringLiteral("Irrigation"));
    QString shownAfter;
    QString selectedAfter;
    QString warned;
    TModalAnswers answers({
        [&](QWidget* modal) {
            auto& dialog = *static_cast<TTagListDlg*>(modal);
            QTreeWidget* tree = dialog.TagTree();
            tree->setCurrentItem(dialog.NodeOf(Dry));
            QTest::keyClick(tree, Qt::Key_F2);
            auto* editor = tree->findChild<QLineEdit*>();
            QVERIFY(editor != nullptr);
            editor->selectAll();
            QTest::keyClicks(editor, typed);
            // A warning opens over the window while this answer runs.
            QTimer messages;
            QObject::connect(&messages, &QTimer::timeout, [&warned] {
                if (auto* message =
                        qobject_cast<kavo::TErrorDlg*>(QApplication::activeModalWidget())) {
                    warned = message->Message();
                    message->accept();
                }
            });
            messages.start(5);
            QTest::keyClick(editor, Qt::Key_Return);
            // The tree shows the case again a moment later, the renamed node selected.
            QTest::qWait(100);
            shownAfter = dialog.NodeOf(Dry)->text(0);
            selectedAfter = tree->currentItem() != nullptr ? tree->currentItem()->text(0) : "";
            dialog.OKButton()->click();
        },
    });
    Button("TagBtn")->click();
    QStringList names;
    for (const auto& tag : c.TagList) {
        names << QString::fromStdString(tag->Name);
    }
    QCOMPARE(names, tags);
    QCOMPARE(shownAfter, tags.first());
    QCOMPARE(selectedAfter, tags.first());
    QCOMPARE(warned, warning);
    if (View->UndoStack()->count() > 0) {
        Action("actionUndo")->trigger();
    }
    QCOMPARE(DocumentOf(c), before);
}

void TTaggingTest::commentIsEditedAndKeptWhenLeavingTheTag() {
    OpenFixture();
    SelectNode(QStringLiteral("Irrigation"));
    QString editingStyle;
    bool closedOnOpening = false;
    TModalAnswers answers({[&](QWidget* modal) {
        auto& dialog = *static_cast<TTagListDlg*>(modal);
        QTextEdit* box = dialog.CommentBox();
        closedOnOpening = !box->isEnabled() && !dialog.CommentButton()->isEnabled();
        dialog.TagTree()->setCurrentItem(dialog.NodeOf(Dry));
        dialog.CommentButton()->click();
        editingStyle = box->styleSheet();
        QTest::keyClicks(box, "Little rain");
        // Released, the text becomes the comment; leaving the tag while editing keeps it too.
        dialog.CommentButton()->click();
        dialog.TagTree()->setCurrentItem(dialog.NodeOf(Wet));
        dialog.CommentButton()->click();
        QTest::keyClicks(box, "Floods");
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, "in spring");
        dialog.TagTree()->setCurrentItem(dialog.NodeOf(Dry));
        QVERIFY(!dialog.CommentButton()->isChecked());
        QVERIFY(box->isReadOnly());
        QCOMPARE(box->toPlainText(), QStringLiteral("Little rain"));
        dialog.CancelButton()->click();
    }});
    Button("TagBtn")->click();
    QVERIFY(closedOnOpening);
    QVERIFY(editingStyle.contains(QStringLiteral("#C0DCC0")));
    QCOMPARE(Dry->Comment, std::vector<std::string>{"Little rain"});
    QCOMPARE(Wet->Comment, (std::vector<std::string>{"Floods", "in spring"}));
    QCOMPARE(View->UndoStack()->count(), 1);
}

void TTaggingTest::deleteTagAndUndoIt() {
    OpenFixture();
    kavo::TCase& c = View->Case();
    kavo::TGroup* group = c.FindOrCreateGroup("Climate", "factors");
    group->Tags = {Dry, Wet};
    group->UpdateDescription();
    Factor("Crop yield")->Tags = {Wet, Dry};
    kavo::TArena* irrigation = c.ArenaList[c.ArenaList.FindByName("Irrigation")];
    irrigation->Tags = {Dry};
    c.Modified = false;
    const std::string before = DocumentOf(c);
    SelectNode(QStringLiteral("Irrigation"));
    QList<TModalAnswers::TSeen> questions;
    TModalAnswers answers({[&](QWidget* modal) {
        auto& dialog = *static_cast<TTagListDlg*>(modal);
        dialog.TagTree()->setCurrentItem(dialog.NodeOf(Dry));
        // A comment being written when the tag goes is dropped with it.
        dialog.CommentButton()->click();
        QTest::keyClicks(dialog.CommentBox(), "gone");
        TModalAnswers replies({Press(QMessageBox::No), Press(QMessageBox::Yes)});
        dialog.DeleteButton()->click();
        QVERIFY(dialog.NodeOf(Dry) != nullptr);
        dialog.DeleteButton()->click();
        questions = replies.Seen;
        dialog.OKButton()->click();
    }});
    Button("TagBtn")->click();
    QCOMPARE(questions.size(), 2);
    QCOMPARE(questions[1].Text, QStringLiteral("Really delete tag \"Dry\"?"));
    QCOMPARE(questions[1].Symbol, QMessageBox::Warning);
    QCOMPARE(c.TagList.Size(), 1);
    QCOMPARE(TagNames(*Factor("Crop yield")), QStringList{"Wet"});
    QVERIFY(irrigation->Tags.empty());
    QCOMPARE(group->Comment, std::vector<std::string>{"{Wet}"});
    // Undone, the tag is back on everything that carried it, in its place.
    Action("actionUndo")->trigger();
    QCOMPARE(TagNames(*Factor("Crop yield")), (QStringList{"Wet", "Dry"}));
    QCOMPARE(TagNames(*irrigation), QStringList{"Dry"});
    QCOMPARE(group->Comment, std::vector<std::string>{"{Dry, Wet}"});
    QVERIFY(Dry->Comment.empty());
    QCOMPARE(DocumentOf(c), before);
    QVERIFY(!c.Modified);
    Action("actionRedo")->trigger();
    QCOMPARE(c.TagList.Size(), 1);
}

void TTaggingTest::colorChooserShades_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QStringList>("shades");
    const int right = Qt::Key_Right;
    const int left = Qt::Key_Left;
    const int down = Qt::Key_Down;
    const int up = Qt::Key_Up;
    QTest::newRow("first square, halved twice")
        << QList<int>{} << QStringList{"#ff0000", "#7f0000", "#3f0000"};
    QTest::newRow("column 1 darkens to column 0")
        << QList<int>{right, down} << QStringList{"#d8d860", "#c0c000", "#606000"};
    QTest::newRow("column 3 darkens along its row")
        << QList<int>{right, right, right, down} << QStringList{"#e8e8b0", "#f0f030", "#d8d860"};
    QTest::newRow("column 4 darkens towards the right")
        << QList<int>{right, right, right, right, down, down}
        << QStringList{"#a0ffff", "#70d0ff", "#6090ff"};
    QTest::newRow("column 6 darkens to column 7, then halved")
        << QList<int>{left,  left,  left,  left,  left,  left, left, left, right,
                      right, right, right, right, right, down, down, down}
        << QStringList{"#6090ff", "#0040ff", "#00207f"};
    QTest::newRow("the keys stop at the edges")
        << QList<int>{up, left, right, right, right, right, right, right, right, right, right}
        << QStringList{"#d000e8", "#680074", "#34003a"};
}

void TTaggingTest::colorChooserShades() {
    QFETCH(QList<int>, keys);
    QFETCH(QStringList, shades);
    TTagColorDlg chooser;
    chooser.Choose(0, 0);
    TModalAnswers answers({[&keys](QWidget* modal) {
        for (int key : keys) {
            QTest::keyClick(modal, static_cast<Qt::Key>(key));
        }
        QTest::keyClick(modal, Qt::Key_Return);
    }});
    QVERIFY(chooser.Ask(QPoint(400, 100)));
    QCOMPARE(answers.Seen.value(0).Caption, QStringLiteral("Tag color"));
    const TTagColorDlg::TShades chosen = chooser.Chosen();
    const auto name = [](std::uint32_t stored) {
        return QColor(stored & 0xFF, (stored >> 8) & 0xFF, (stored >> 16) & 0xFF).name();
    };
    QCOMPARE((QStringList{name(chosen.Chosen), name(chosen.Darker), name(chosen.Darkest)}), shades);
}

void TTaggingTest::colorOfATagAndTheChoiceKeptForTheNext() {
    OpenFixture();
    SelectNode(QStringLiteral("Irrigation"));
    QRect tree;
    QRect chooser;
    QPoint preselected(-1, -1);
    const auto chooseColors = [&](QWidget* modal) {
        auto& dialog = *static_cast<TTagListDlg*>(modal);
        QVERIFY(!dialog.ColorButton()->isEnabled());
        dialog.TagTree()->setCurrentItem(dialog.NodeOf(Dry));
        tree = QRect(dialog.TagTree()->mapToGlobal(QPoint(0, 0)), dialog.TagTree()->size());
        TModalAnswers palette({
            [&](QWidget* window) {
                auto& colors = *static_cast<TTagColorDlg*>(window);
                chooser = colors.frameGeometry();
                QTest::mouseClick(&colors, Qt::LeftButton, Qt::NoModifier, InSquare(colors, 3, 1));
                QTest::keyClick(&colors, Qt::Key_Return);
            },
            [&](QWidget* window) {
                auto& colors = *static_cast<TTagColorDlg*>(window);
                preselected = QPoint(colors.Column(), colors.Row());
                QTest::keyClick(&colors, Qt::Key_Escape);
            },
        });
        dialog.ColorButton()->click();
        // The same choice comes up for the next tag; Esc keeps the tag's colours.
        dialog.TagTree()->setCurrentItem(dialog.NodeOf(Wet));
        dialog.ColorButton()->click();
        dialog.OKButton()->click();
    };
    TModalAnswers answers({chooseColors});
    Button("TagBtn")->click();
    QCOMPARE(chooser.top(), tree.top());
    QCOMPARE(chooser.right(), tree.right());
    QCOMPARE(preselected, QPoint(3, 1));
    // Stored with red in the low byte.
    QCOMPARE(Dry->LightColor, 0xB0E8E8u);
    QCOMPARE(Dry->MidColor, 0x30F0F0u);
    QCOMPARE(Dry->DarkColor, 0x60D8D8u);
    QCOMPARE(Wet->LightColor, 0xC0C0C0u);
    QCOMPARE(Action("actionUndo")->text(), QStringLiteral("&Undo Edit tags"));
    Action("actionUndo")->trigger();
    QCOMPARE(Dry->LightColor, 0xC0C0C0u);
}

void TTaggingTest::tagConceptFollowsTheFocus() {
    OpenFixture();
    // The hint shows a factor's "_" as the blank it stands for.
    Factor("Crop yield")->Name = "Crop_yield";
    View->BuildTree();
    QAction* tagConcept = Action("actionTagConcept");
    QVERIFY(!tagConcept->isEnabled());
    SelectBoxes({"Pumping [Farm]", "Crop_yield"});
    QVERIFY(tagConcept->isEnabled());
    QStringList hints;
    const TModalAnswers::TReply note = [&hints](QWidget* modal) {
        hints << static_cast<TTagListDlg*>(modal)->TagTree()->toolTip();
        static_cast<TTagListDlg*>(modal)->reject();
    };
    TModalAnswers answers({note, note, note, note});
    // The diagram has the focus: the selected factors.
    tagConcept->trigger();
    // The tree has it: the tree item, an actor in an arena standing for its actor.
    // The offscreen platform leaves a closed dialog the active window.
    QApplication::setActiveWindow(Window.get());
    View->Tree()->setFocus();
    QVERIFY(View->Tree()->hasFocus());
    tagConcept->trigger();
    // In the dictionary, the factor of the node (shown with a blank for "_").
    View->SwitchTreeMode();
    SelectNode(QStringLiteral("Crop yield"));
    tagConcept->trigger();
    // A press on a node's tag marker.
    QTreeWidget* tree = View->Tree();
    QTreeWidgetItem* node = NodeByPath(*tree, QStringLiteral("Farmers"));
    const QRect row = tree->visualItemRect(node);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(row.left() + 8, row.center().y()));
    QTRY_COMPARE(hints.size(), 4);
    QCOMPARE(hints, (QStringList{"Factors: Pumping [Farm], Crop yield", "Actor: Farmers",
                                 "Factor: Crop yield", "Actor: Farmers"}));
    // Nothing was changed: no step.
    QCOMPARE(View->UndoStack()->count(), 0);
    SelectNode(QString());
    QVERIFY(!tagConcept->isEnabled());
}

void TTaggingTest::groupTagsAreChosenInTheTagWindow() {
    OpenFixture();
    kavo::TCase& c = View->Case();
    kavo::TGroup* group = c.FindOrCreateGroup("Climate", "factors");
    Button("TagSelectBtn")->click();
    kavo::TGroupingDlg& grouping = Window->GroupingDialog();
    grouping.Rebuild();
    grouping.Tabs()->setCurrentIndex(2);
    grouping.SelectGroup(group);
    QString hint;
    TModalAnswers answers({[&](QWidget* modal) {
        auto& dialog = *static_cast<TTagListDlg*>(modal);
        hint = dialog.TagTree()->toolTip();
        PressMark(dialog, Wet, 1);
        dialog.AddButton()->click();
        QTest::keyClick(dialog.TagTree(), Qt::Key_Space);
        QTest::keyClick(dialog.TagTree(), Qt::Key_Return);
    }});
    grouping.TagButton()->click();
    QCOMPARE(hint, QStringLiteral("Group: Climate"));
    QCOMPARE(group->Comment, std::vector<std::string>{"{New tag, Wet}"});
    QCOMPARE(View->UndoStack()->count(), 1);
    Action("actionUndo")->trigger();
    QVERIFY(group->Tags.empty());
    QCOMPARE(c.TagList.Size(), 2);
}

QTEST_MAIN(TTaggingTest)
#include "tst_tagging.moc"
