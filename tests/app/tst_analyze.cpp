#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <QtTest>
#include <memory>

#include "analyses/TAnalysisCatalog.h"
#include "app/CaseFixture.h"
#include "app/ModalAnswers.h"
#include "app/TCaseView.h"
#include "app/TKAVO.h"
#include "app/TRoundPlotWindow.h"
#include "app/TreeNodes.h"
#include "model/TCase.h"
#include "views/TDependencyGraphDlg.h"

using kavo::TCaseView;
using kavo::TKAVO;
using kavo::test::TModalAnswers;

namespace {

const QString kExample = QStringLiteral(KAVO_EXAMPLES "/Water/");

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The example case without its report.
void CopyExample(const QString& to) {
    QDirIterator files(kExample, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString relative = QDir(kExample).relativeFilePath(path);
        if (relative == QStringLiteral("Analysis.htm")) {
            continue;
        }
        QVERIFY(QDir().mkpath(QFileInfo(to + relative).absolutePath()));
        QFile target(to + relative);
        QVERIFY(target.open(QIODevice::WriteOnly));
        target.write(ReadAll(path));
    }
}

QStringList AnalysisLines(const QByteArray& document) {
    QStringList lines;
    for (const QByteArray& line : document.split('\n')) {
        if (line.contains("<meta name=\"KAVO analysis")) {
            lines << QString::fromUtf8(line.trimmed());
        }
    }
    return lines;
}

}  // namespace

// The case window's "Perform analysis" and "Cancel analysis".
class TAnalyzeTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void unsavedCaseIsNotAnalysed();
    void linkageGraphShowsInTheGraphWindow();
    void reportIsWrittenAndShown();
    void cancelStopsTheReport();
    void choiceOfAnalysesGoesThroughTheCatalog();
    void overviewOfRoundsShowsThePlot();

  private:
    TCaseView& OpenExample();
    // The cancel button's place in its tool bar, which shows and hides it.
    static QAction* CancelPlace(TCaseView& view) {
        return view.findChild<QToolBar*>(QStringLiteral("reportBar"))->actions().constLast();
    }
    QToolButton* Button(TCaseView& view, const char* name) const {
        return view.findChild<QToolButton*>(QString::fromLatin1(name));
    }

    QTemporaryDir SettingsFolder;
    QTemporaryDir Scratch;
    QString Folder;
    std::unique_ptr<TKAVO> Window;
};

void TAnalyzeTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QStringLiteral("KAVO"));
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(SettingsFolder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsFolder.path());
}

void TAnalyzeTest::init() {
    Window = std::make_unique<TKAVO>();
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    QVERIFY(Scratch.isValid());
    Folder = Scratch.path() + QStringLiteral("/") +
             QString::fromLatin1(QTest::currentTestFunction()) + QStringLiteral("/");
}

void TAnalyzeTest::cleanup() {
    for (TCaseView* view : Window->CaseViews()) {
        view->Case().Modified = false;
        view->UndoStack()->setClean();
    }
    Window.reset();
}

TCaseView& TAnalyzeTest::OpenExample() {
    CopyExample(Folder);
    return *Window->OpenFolder(Folder);
}

void TAnalyzeTest::unsavedCaseIsNotAnalysed() {
    TModalAnswers answers;
    TCaseView* view = Window->NewCase();
    kavo::test::FillWaterCase(view->Case());
    Button(*view, "AnalyzeBtn")->click();
    QCOMPARE(answers.Seen.size(), 1);
    QCOMPARE(answers.Seen[0].Text, QStringLiteral("Case must be saved before analysis"));
    QVERIFY(view->HtmlView()->source().isEmpty());
}

void TAnalyzeTest::reportIsWrittenAndShown() {
    TModalAnswers answers;
    TCaseView& view = OpenExample();
    kavo::TCase& c = view.Case();
    // "Selected arena only" takes the arena selected in the tree.
    c.ArenaGrouping = 4;
    view.Tree()->setCurrentItem(
        kavo::test::NodeByPath(*view.Tree(), QStringLiteral("Raising the dam")));
    QCOMPARE(view.SelectedArena()->Name, std::string("Raising the dam"));

    Button(view, "AnalyzeBtn")->click();
    QVERIFY(answers.Seen.isEmpty());
    const QString report = Folder + QStringLiteral("Analysis.htm");
    const QByteArray written = ReadAll(report);
    QVERIFY(written.startsWith("<html>\r\n"));
    QVERIFY(written.contains("<td>arena \"Raising the dam\" only</td>"));
    QVERIFY(written.contains("<p class=bihdr>Relevance</p>"));
    QVERIFY(written.contains("<p class=bihdr>Issue Linkage</p>"));
    QVERIFY(!written.contains("cancelled"));
    QVERIFY(written.trimmed().endsWith("</html>"));
    QCOMPARE(view.HtmlView()->source(), QUrl::fromLocalFile(report));
    QVERIFY(view.HtmlView()->toPlainText().contains(QStringLiteral("Analysis of")));
    QVERIFY(!CancelPlace(view)->isVisible());
    QVERIFY(!view.Computing());
    // The report changes nothing of the case.
    QVERIFY(view.UndoStack()->isClean());
    QVERIFY(!view.UndoStack()->canUndo());

    // Another run replaces the report and shows the new one.
    c.ArenaGrouping = 0;
    Button(view, "AnalyzeBtn")->click();
    QVERIFY(ReadAll(report).contains("aggregation over all arenas"));
    QVERIFY(view.HtmlView()->toPlainText().contains(QStringLiteral("aggregation over all arenas")));
    c.ArenaGrouping = 3;
}

void TAnalyzeTest::cancelStopsTheReport() {
    TModalAnswers answers;
    TCaseView& view = OpenExample();
    QToolButton* cancel = Button(view, "Cancelbtn");
    // Pressed at the first moment the analysis lets events through.
    QAction* cancelPlace = CancelPlace(view);
    bool shownWhilePressed = false;
    bool runningWhilePressed = false;
    QTimer::singleShot(0, cancel, [&] {
        shownWhilePressed = cancelPlace->isVisible();
        runningWhilePressed = view.Computing();
        cancel->click();
    });
    Button(view, "AnalyzeBtn")->click();
    QVERIFY(runningWhilePressed);
    QVERIFY(shownWhilePressed);
    QCOMPARE(answers.Seen.size(), 1);
    QCOMPARE(answers.Seen[0].Text, QStringLiteral("Analysis cancelled -- results will be invalid"));
    QVERIFY(!view.Case().Context().AnalysisCancelled);
    QVERIFY(!cancelPlace->isVisible());
    const QByteArray written = ReadAll(Folder + QStringLiteral("Analysis.htm"));
    QVERIFY(written.contains("The analysis was cancelled: the results above are incomplete."));
    // The arena family comes first; the factor analyses after it do not run.
    QVERIFY(!written.contains("<p class=bihdr>Relevance</p>"));
    QCOMPARE(view.HtmlView()->source(),
             QUrl::fromLocalFile(Folder + QStringLiteral("Analysis.htm")));

    // The next run is whole again.
    Button(view, "AnalyzeBtn")->click();
    QCOMPARE(answers.Seen.size(), 1);
    QVERIFY(!ReadAll(Folder + QStringLiteral("Analysis.htm")).contains("cancelled"));
}

void TAnalyzeTest::choiceOfAnalysesGoesThroughTheCatalog() {
    TCaseView& view = OpenExample();
    kavo::TAnalysisCatalog& catalog = Window->Catalog();
    QVERIFY(catalog.Find("Relevance")->Selected);
    QVERIFY(!catalog.Find("Similarity of Perceived Causality")->Selected);
    // The file chooses a field that is off by default.
    QVERIFY(catalog.Find("Relevance")->Fields[1]->Selected);

    catalog.Find("Controllability")->Fields[0]->Selected = false;
    QVERIFY(view.Save());
    const QStringList lines = AnalysisLines(ReadAll(Folder + QStringLiteral("KAVO case.htm")));
    QVERIFY(lines.contains(
        QStringLiteral("<meta name=\"KAVO analysis 0\" content=\"Relevance=1110010101\">")));
    QVERIFY(lines.contains(
        QStringLiteral("<meta name=\"KAVO analysis 2\" content=\"Controllability=0111\">")));
}

void TAnalyzeTest::overviewOfRoundsShowsThePlot() {
    TCaseView& view = OpenExample();
    view.InitializeRound0();
    kavo::TAnalysisCatalog& catalog = Window->Catalog();
    for (const auto& analysis : catalog.Analyses) {
        analysis->Selected = false;
    }
    kavo::TAnalysis* overview = catalog.Find("Overview of rounds");
    overview->Selected = true;
    QVERIFY(!Window->RoundPlot().isVisible());

    // Without "Plot results" the report is all.
    for (const auto& field : overview->Fields) {
        if (field->Name == "Plot results") {
            field->Selected = false;
        }
    }
    view.Analyze();
    QVERIFY(QFileInfo::exists(Folder + QStringLiteral("Analysis.htm")));
    QVERIFY(!Window->RoundPlot().isVisible());

    for (const auto& field : overview->Fields) {
        if (field->Name == "Plot results") {
            field->Selected = true;
        }
    }
    view.Analyze();
    QVERIFY(Window->RoundPlot().isVisible());
}

void TAnalyzeTest::linkageGraphShowsInTheGraphWindow() {
    TCaseView& view = OpenExample();
    kavo::TAnalysisCatalog& catalog = Window->Catalog();
    for (const auto& analysis : catalog.Analyses) {
        analysis->Selected = false;
    }
    kavo::TAnalysis* linkage = catalog.Find("Issue Linkage");
    linkage->Selected = true;
    for (const auto& field : linkage->Fields) {
        field->Selected = true;
    }
    QVERIFY(!Window->DependencyGraph().isVisible());
    view.Analyze();
    QVERIFY(Window->DependencyGraph().isVisible());
    const kavo::TGraphModel& graph = Window->DependencyGraph().Graph();
    QCOMPARE(graph.Caption, std::string("Issue Linkage"));
    QCOMPARE(graph.Nodes, (std::vector<std::string>{"Raising the dam", "Summer drought"}));
    QCOMPARE(graph.Arrows.size(), std::size_t{4});
    QCOMPARE(graph.Indicators.front().Name, std::string("Common Actors"));
}

QTEST_MAIN(TAnalyzeTest)
#include "tst_analyze.moc"
