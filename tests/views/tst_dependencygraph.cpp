#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include "analyses/PajekNetwork.h"
#include "support/TestPlatform.h"
#include "views/TDependencyGraphDlg.h"

using kavo::TDependencyGraphDlg;

namespace {

std::string Cells(const std::string& first, const std::string& second) {
    return "<td align=\"right\">" + first + "</td><td align=\"right\">" + second + "</td>";
}

// Three actors and their cells as a table writer reports them.
void Fill(TDependencyGraphDlg& window, const std::string& third = "River Trust") {
    window.ClearGraph("Support and Opposition", " indicates how A experiences B's strategy");
    window.AddIndicator("Utility");
    window.AddIndicator("Satisfaction (%)");
    for (const std::string& node :
         {std::string("City of Greenford"), std::string("Valley farmers"), third}) {
        window.AddNode(node);
    }
    window.AddArrow("City of Greenford", "Valley farmers", Cells("-0.5", "20%"));
    window.AddArrow("Valley farmers", "City of Greenford", Cells("1", "80%"));
    window.AddArrow(third, "City of Greenford", Cells("0.25", "50%"));
    window.AddArrow(third, third, Cells("0", "10%"));
    window.ShowGraph();
}

}  // namespace

class TDependencyGraphTest : public QObject {
    Q_OBJECT

  private slots:
    void FillingShowsTheGraphWithTheFirstIndicatorChecked() {
        kavo::test::TRecordingMessages messages;
        TDependencyGraphDlg window(messages);
        Fill(window);
        QVERIFY(window.isVisible());
        QCOMPARE(window.windowTitle(), QStringLiteral("Support and Opposition"));
        QCOMPARE(window.Indicators()->count(), 2);
        QCOMPARE(window.Indicators()->item(0)->checkState(), Qt::Checked);
        QCOMPARE(window.Indicators()->item(1)->checkState(), Qt::Unchecked);
        QVERIFY(!window.Picture()->pixmap().isNull());
        QCOMPARE(window.Picture()->pixmap().size(), window.Picture()->size());
        QVERIFY(!window.SetButton()->isEnabled());

        window.Indicators()->item(1)->setCheckState(Qt::Checked);
        QVERIFY(window.Graph().Indicators[1].Checked);
        // A new table starts afresh.
        Fill(window);
        QCOMPARE(window.Indicators()->count(), 2);
        QCOMPARE(window.Graph().Arrows.size(), std::size_t{4});
    }

    void SetAndResetChangeTheSelectedScale() {
        kavo::test::TRecordingMessages messages;
        TDependencyGraphDlg window(messages);
        Fill(window);
        // The scale buttons are disabled without a selected indicator; called all the same, Set
        // says what is missing.
        window.SetScale();
        QCOMPARE(messages.Log.size(), std::size_t{1});
        QCOMPARE(messages.Log[0].Text,
                 std::string("Please select indicator to set scale range for"));

        window.Indicators()->setCurrentRow(0);
        QVERIFY(window.SetButton()->isEnabled());
        QCOMPARE(window.HighEdit()->text(), QStringLiteral("1"));
        QCOMPARE(window.LowEdit()->text(), QStringLiteral("-0.5"));
        window.SymmetricBox()->setChecked(true);
        window.LevelsControl()->setValue(3);
        QTest::mouseClick(window.SetButton(), Qt::LeftButton);
        const kavo::TScale& scale = window.Graph().Indicators[0].Scale;
        QCOMPARE(scale.HighEnd, 1.0);
        QCOMPARE(scale.LowEnd, -1.0);
        QVERIFY(scale.Symmetric);
        QCOMPARE(scale.LevelCount, 3);
        QCOMPARE(window.LowEdit()->text(), QStringLiteral("-1"));

        QTest::mouseClick(window.ResetButton(), Qt::LeftButton);
        QCOMPARE(scale.LowEnd, -0.5);
        QVERIFY(!scale.Symmetric);
        QCOMPARE(scale.LevelCount, 5);
        QVERIFY(!window.SymmetricBox()->isChecked());
        QCOMPARE(window.LevelsControl()->value(), 5);
    }

    void CopyPutsPictureAndTextOnTheClipboard() {
        kavo::test::TRecordingMessages messages;
        TDependencyGraphDlg window(messages);
        Fill(window);
        QApplication::clipboard()->clear();
        QTest::mouseClick(window.CopyButton(), Qt::LeftButton);
        const QMimeData* data = QApplication::clipboard()->mimeData();
        QVERIFY(data != nullptr);
        QVERIFY(data->hasImage());
        QVERIFY(data->data(QStringLiteral("image/svg+xml")).contains("<svg"));
        QVERIFY(data->text().startsWith(QStringLiteral("*Network Utility\r\n*Vertices 3\r\n")));

        QApplication::clipboard()->clear();
        QTest::mouseClick(window.PajekButton(), Qt::LeftButton);
        const kavo::TPajekText expected = kavo::PajekNetworks(window.Graph());
        QCOMPARE(QApplication::clipboard()->text(), QString::fromStdString(*expected.Text));
        QVERIFY(QApplication::clipboard()->text().contains(QStringLiteral("\r\n2 1 5\r\n")));
        QVERIFY(messages.Log.empty());
    }

    void PajekRefusesANameWithADoubleQuote() {
        kavo::test::TRecordingMessages messages;
        TDependencyGraphDlg window(messages);
        Fill(window, "The \"Trust\"");
        QApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::mouseClick(window.PajekButton(), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
        QCOMPARE(messages.Log.size(), std::size_t{1});
        QVERIFY(messages.Log[0].Text.find("The \"Trust\"") != std::string::npos);
    }

    void SpaceAndSizeRedraw() {
        kavo::test::TRecordingMessages messages;
        TDependencyGraphDlg window(messages);
        Fill(window);
        const QImage before = window.Picture()->pixmap().toImage();
        window.SpaceControl()->setValue(40);
        QVERIFY(window.Picture()->pixmap().toImage() != before);
        window.resize(window.width() + 100, window.height() + 50);
        QCOMPARE(window.Picture()->pixmap().size(), window.Picture()->size());
    }
};

QTEST_MAIN(TDependencyGraphTest)
#include "tst_dependencygraph.moc"
