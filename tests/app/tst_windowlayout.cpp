#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "app/CaseFixture.h"
#include "app/ModalAnswers.h"
#include "app/TCaseView.h"
#include "app/TErrorDlg.h"
#include "app/TKAVO.h"
#include "app/TNewArenaDlg.h"
#include "app/TOptionsDlg.h"
#include "app/TQuestionBox.h"
#include "app/TSimFactorDlg.h"
#include "app/TSplitterMemory.h"
#include "app/TTagColorDlg.h"
#include "app/TUserSettings.h"

using kavo::TCaseView;
using kavo::TKAVO;
using kavo::TSplitterMemory;
using kavo::test::Cancel;
using kavo::test::ChooseFolder;
using kavo::test::TModalAnswers;

namespace {

QSplitter* SplitterOf(const TCaseView& view, const char* name) {
    return view.findChild<QSplitter*>(QString::fromLatin1(name));
}

int Total(const QList<int>& sizes) {
    return std::accumulate(sizes.begin(), sizes.end(), 0);
}

}  // namespace

// Makes a dialog with the given parent.
using TMakeDialog = std::function<QWidget*(QWidget*)>;
Q_DECLARE_METATYPE(TMakeDialog)

class TWindowLayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void caseWindowOpensMaximisedWithRoomForDiagramAndDocument();
    void splitterPositionsAreRememberedForTheNextWindow();
    void storedSharesThatDoNotFitAreIgnored_data();
    void storedSharesThatDoNotFitAreIgnored();
    void emptyMainWindowHintsAtNewAndOpen();
    void saveConfirmsItselfInTheStatusBar();
    void questionsCarryTheWholeCaseName();
    void dialogsOfFixedContentOfferNothingToMaximise_data();
    void dialogsOfFixedContentOfferNothingToMaximise();

  private:
    QTemporaryDir SettingsFolder;
    QTemporaryDir Folders;
    std::unique_ptr<TKAVO> Window;
};

void TWindowLayoutTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QStringLiteral("KAVO"));
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(SettingsFolder.isValid());
    QVERIFY(Folders.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsFolder.path());
}

void TWindowLayoutTest::init() {
    kavo::TUserSettings::OpenStore()->remove(QStringLiteral("Layout"));
    Window = std::make_unique<TKAVO>();
    Window->resize(1200, 800);
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
}

void TWindowLayoutTest::cleanup() {
    for (TCaseView* view : Window->CaseViews()) {
        view->Case().Modified = false;
    }
    Window.reset();
}

void TWindowLayoutTest::caseWindowOpensMaximisedWithRoomForDiagramAndDocument() {
    TCaseView* view = Window->NewCase();
    auto* frame = qobject_cast<QMdiSubWindow*>(view->parentWidget());
    QVERIFY(frame != nullptr);
    QVERIFY(frame->isMaximized());
    const QRect room = Window->findChild<QMdiArea*>()->viewport()->rect();
    QTRY_COMPARE(frame->geometry(), room);

    // The diagram has most of the height, the document a usable width.
    const QList<int> halves = SplitterOf(*view, "halves")->sizes();
    QVERIFY2(halves[1] > 2 * halves[0],
             qPrintable(QStringLiteral("%1 above %2").arg(halves[0]).arg(halves[1])));
    const QList<int> lower = SplitterOf(*view, "diagramAndReport")->sizes();
    QVERIFY(lower[1] >= 256);
    QVERIFY(lower[1] >= Total(lower) / 4);
    QVERIFY(lower[0] > lower[1]);

    // Restored from maximised, it is whole inside the main window.
    frame->showNormal();
    QVERIFY(room.contains(frame->geometry()));
}

void TWindowLayoutTest::splitterPositionsAreRememberedForTheNextWindow() {
    TCaseView* first = Window->NewCase();
    QSplitter* lower = SplitterOf(*first, "diagramAndReport");
    QSplitter* upper = SplitterOf(*first, "treeAndComment");
    QTRY_VERIFY(Total(lower->sizes()) > 600);
    const int lowerTotal = Total(lower->sizes());
    lower->setSizes({lowerTotal / 2, lowerTotal - lowerTotal / 2});
    emit lower->splitterMoved(lowerTotal / 2, 1);
    const int upperTotal = Total(upper->sizes());
    upper->setSizes({upperTotal / 4, upperTotal - upperTotal / 4});
    emit upper->splitterMoved(upperTotal / 4, 1);
    first->parentWidget()->close();

    TCaseView* second = Window->NewCase();
    QTRY_VERIFY(SplitterOf(*second, "diagramAndReport")->isVisible());
    const QList<int> lowerAgain = SplitterOf(*second, "diagramAndReport")->sizes();
    QVERIFY(qAbs(lowerAgain[0] - lowerAgain[1]) <= 2);
    const QList<int> upperAgain = SplitterOf(*second, "treeAndComment")->sizes();
    QVERIFY(qAbs(upperAgain[0] * 4 - Total(upperAgain)) <= 8);

    // A program started anew finds them too.
    const QList<double> shares =
        TSplitterMemory::StoredShares(QStringLiteral("CaseWindow/diagramAndReport"), 2);
    QCOMPARE(shares.size(), 2);
    QVERIFY(qAbs(shares[0] - 0.5) < 0.01);
}

void TWindowLayoutTest::storedSharesThatDoNotFitAreIgnored_data() {
    QTest::addColumn<QString>("stored");
    QTest::newRow("three parts for two") << "0.2 0.3 0.5";
    QTest::newRow("not a number") << "0.5 half";
    QTest::newRow("a part of nothing") << "1 0";
    QTest::newRow("nothing") << "";
}

void TWindowLayoutTest::storedSharesThatDoNotFitAreIgnored() {
    QFETCH(QString, stored);
    kavo::TUserSettings::OpenStore()->setValue(QStringLiteral("Layout/CaseWindow/diagramAndReport"),
                                               stored);
    QVERIFY(
        TSplitterMemory::StoredShares(QStringLiteral("CaseWindow/diagramAndReport"), 2).isEmpty());
    TCaseView* view = Window->NewCase();
    QTRY_VERIFY(SplitterOf(*view, "diagramAndReport")->isVisible());
    const QList<int> sizes = SplitterOf(*view, "diagramAndReport")->sizes();
    QVERIFY(sizes[0] > 0 && sizes[1] >= 256);
}

void TWindowLayoutTest::emptyMainWindowHintsAtNewAndOpen() {
    auto* hint = Window->findChild<QWidget*>(QStringLiteral("startHint"));
    QVERIFY(hint != nullptr);
    QVERIFY(hint->isVisible());
    const QRect room = Window->findChild<QMdiArea*>()->viewport()->rect();
    QVERIFY(room.contains(hint->geometry()));

    hint->findChild<QPushButton*>(QStringLiteral("startNewButton"))->click();
    QCOMPARE(Window->CaseViews().size(), 1);
    QVERIFY(!hint->isVisible());
    Window->CaseViews().front()->parentWidget()->close();
    QTRY_VERIFY(Window->CaseViews().isEmpty());
    QVERIFY(hint->isVisible());

    TModalAnswers answers({Cancel()});
    hint->findChild<QPushButton*>(QStringLiteral("startOpenButton"))->click();
    QCOMPARE(answers.Seen.size(), 1);
    QCOMPARE(answers.Seen.front().Caption, QStringLiteral("Select folder"));
}

void TWindowLayoutTest::saveConfirmsItselfInTheStatusBar() {
    TCaseView* view = Window->NewCase();
    kavo::test::FillWaterCase(view->Case());
    view->Case().Modified = true;
    const QString folder = Folders.filePath(QStringLiteral("saved"));
    TModalAnswers answers({ChooseFolder(folder)});
    QVERIFY(view->SaveAs());
    const auto* status = Window->findChild<QLabel*>(QStringLiteral("statusPanel"));
    QCOMPARE(status->text(), QStringLiteral("Saved \"Water test\" in %1/").arg(folder));
}

void TWindowLayoutTest::questionsCarryTheWholeCaseName() {
    TCaseView* view = Window->NewCase();
    const QString name = QStringLiteral(
        "Water for the Green Valley: who may take how much water "
        "in a dry summer");
    view->Case().Name = name.toStdString();
    view->Case().Modified = true;
    int width = 0;
    TModalAnswers answers({[&width](QWidget* modal) {
        width = modal->width();
        kavo::test::Press(QMessageBox::Cancel)(modal);
    }});
    QVERIFY(!view->CanClose());
    QCOMPARE(answers.Seen.size(), 1);
    QCOMPARE(answers.Seen.front().Caption, name);
    QVERIFY2(
        width >= kavo::TQuestionBox::CaptionWidth(name),
        qPrintable(
            QStringLiteral("%1 for %2").arg(width).arg(kavo::TQuestionBox::CaptionWidth(name))));
}

void TWindowLayoutTest::dialogsOfFixedContentOfferNothingToMaximise_data() {
    using TMake = TMakeDialog;
    QTest::addColumn<TMake>("make");
    QTest::newRow("similar factors")
        << TMake([](QWidget* p) { return new kavo::TSimFactorDlg(p); });
    QTest::newRow("naming") << TMake([](QWidget* p) { return new kavo::TNewArenaDlg(p); });
    QTest::newRow("tag color") << TMake([](QWidget* p) { return new kavo::TTagColorDlg(p); });
    QTest::newRow("options") << TMake(
        [](QWidget* p) { return new kavo::TOptionsDlg(QSize(1600, 1000), p); });
    QTest::newRow("message") << TMake([](QWidget* p) { return new kavo::TErrorDlg(p); });
    QTest::newRow("question") << TMake([](QWidget* p) {
        return new kavo::TQuestionBox(QMessageBox::Warning, QStringLiteral("KAVO warning"),
                                      QStringLiteral("Overwrite current analyst view?"),
                                      QMessageBox::Yes | QMessageBox::No, p);
    });
}

// Without their own frame hints, dialogs get a maximise button from window managers that follow
// the toolkit's hints.
void TWindowLayoutTest::dialogsOfFixedContentOfferNothingToMaximise() {
    QFETCH(TMakeDialog, make);
    QWidget* dialog = make(Window.get());
    const Qt::WindowFlags flags = dialog->windowFlags();
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    delete dialog;
}

QTEST_MAIN(TWindowLayoutTest)
#include "tst_windowlayout.moc"
