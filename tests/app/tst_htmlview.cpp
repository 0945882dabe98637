#include <QFile>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>

#include "app/THtmlView.h"

using kavo::THtmlView;

namespace {

const QString kExample = QStringLiteral(KAVO_EXAMPLES "/Water/");

// A document of numbered arenas, each a paragraph and a table with a table inside, with filler
// text so that it is well above the size shown whole.
QString LargeDocument(int arenas) {
    QString html = QStringLiteral(
        "<html>\r\n<head>\r\n<title>Large</title>\r\n<style type=\"text/css\">\r\n"
        "p.arena {font: bold 12pt Arial, sans-serif}\r\n</style>\r\n</head>\r\n<body>\r\n");
    const QString filler(600, QLatin1Char('x'));
    for (int i = 0; i < arenas; ++i) {
        html +=
            QStringLiteral(
                "<p class=arena>Arena %1</p>\r\n<table>\r\n  <tr>\r\n    <td>Outer %1</td>\r\n"
                "    <td><table>\r\n      <tr><td>Inner %1 %2</td></tr>\r\n    </table></td>\r\n"
                "  </tr>\r\n</table>\r\n<hr>\r\n")
                .arg(i)
                .arg(filler);
    }
    return html + QStringLiteral("</body>\r\n</html>\r\n");
}

// The heading of an arena of that document, as a whole word.
QRegularExpression Arena(int number) {
    return QRegularExpression(QStringLiteral("\\bArena %1\\b").arg(number));
}

QString WriteDocument(const QTemporaryDir& folder, const QString& html) {
    const QString path = folder.filePath(QStringLiteral("KAVO case.htm"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return {};
    }
    file.write(html.toUtf8());
    return path;
}

}  // namespace

class THtmlViewTest : public QObject {
    Q_OBJECT

  private slots:
    void smallDocumentIsOnePiece();
    void largeDocumentBreaksBetweenTopLevelParts();
    void largeDocumentShowsItsFirstPieceAndMoreOnScrolling();
    void printingShowsTheWholeDocument();
    void relationCommentsSpanTheirRow();
    void relationCommentsReadOnOneLine();
};

void THtmlViewTest::smallDocumentIsOnePiece() {
    QString head;
    const QString html = QStringLiteral("<html><body><p>Small</p></body></html>");
    QCOMPARE(THtmlView::Split(html, 100, head), QStringList{html});
    QVERIFY(head.isEmpty());
}

void THtmlViewTest::largeDocumentBreaksBetweenTopLevelParts() {
    const QString html = LargeDocument(800);
    QString head;
    const QStringList pieces = THtmlView::Split(html, THtmlView::kPieceSize, head);
    QVERIFY(pieces.size() > 5);
    QVERIFY(head.endsWith(QStringLiteral("<body>")));
    QCOMPARE(head + pieces.join(QString()), html);
    for (const QString& piece : pieces) {
        QCOMPARE(piece.count(QStringLiteral("<table")), piece.count(QStringLiteral("</table")));
        QVERIFY(piece.size() < THtmlView::kPieceSize + 2000);
    }
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        QVERIFY2(pieces[i].startsWith(QStringLiteral("<p class=arena>")) ||
                     pieces[i].startsWith(QStringLiteral("<table>")) ||
                     pieces[i].startsWith(QStringLiteral("<hr>")),
                 qPrintable(pieces[i].left(40)));
    }
}

void THtmlViewTest::largeDocumentShowsItsFirstPieceAndMoreOnScrolling() {
    QTemporaryDir folder;
    const QString path = WriteDocument(folder, LargeDocument(800));
    THtmlView view;
    view.resize(500, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setSource(QUrl::fromLocalFile(path));
    QCOMPARE(view.source(), QUrl::fromLocalFile(path));

    // The first arenas show at once, the last not yet.
    QVERIFY(view.toPlainText().contains(Arena(0)));
    QVERIFY(view.toPlainText().contains(QStringLiteral("Inner 0 ")));
    QVERIFY(!view.toPlainText().contains(Arena(799)));
    QVERIFY(view.HasMore());

    // Scrolling to the end of what shows brings the rest, piece after piece, in order.
    for (int step = 0; step < 200 && view.HasMore(); ++step) {
        view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
        QTest::qWait(1);
    }
    QVERIFY(!view.HasMore());
    const QString text = view.toPlainText();
    QVERIFY(text.contains(QStringLiteral("Arena 799")));
    QVERIFY(text.indexOf(Arena(400)) < text.indexOf(Arena(401)));
    QCOMPARE(text.count(QStringLiteral("Outer ")), 800);
}

void THtmlViewTest::printingShowsTheWholeDocument() {
    QTemporaryDir folder;
    const QString path = WriteDocument(folder, LargeDocument(800));
    THtmlView view;
    view.setSource(QUrl::fromLocalFile(path));
    QVERIFY(view.HasMore());
    view.ShowAll();
    QVERIFY(!view.HasMore());
    QCOMPARE(view.toPlainText().count(QStringLiteral("Inner ")), 800);
}

void THtmlViewTest::relationCommentsSpanTheirRow() {
    const QString row = QStringLiteral(
        "  <tr class=\"comment\">\r\n    <td colspan=\"2\">&nbsp;</td>"
        "<td><p class=cmnt>\r\nNote\r\n    </p></td>\r\n  </tr>\r\n");
    const QString html = QStringLiteral("<table>\r\n") + row +
                         QStringLiteral("</table>\r\n<table class=\"actorrelations\">\r\n") + row +
                         QStringLiteral("</table>\r\n") + row;
    const QString shown = THtmlView::ForView(html);
    // Only the relation table's comment changes; elsewhere comments keep their cell.
    QCOMPARE(shown.count(QStringLiteral("<td colspan=\"3\"><p class=cmnt>")), 1);
    QVERIFY(shown.indexOf(QStringLiteral("colspan=\"3\"")) >
            shown.indexOf(QStringLiteral("actorrelations")));
    QCOMPARE(shown.count(QStringLiteral("<td><p class=cmnt>")), 2);
}

void THtmlViewTest::relationCommentsReadOnOneLine() {
    THtmlView view;
    view.resize(700, 500);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setSource(QUrl::fromLocalFile(kExample + QStringLiteral("KAVO case.htm")));
    const QTextCursor found = view.document()->find(QStringLiteral("Angry about last year"));
    QVERIFY(!found.isNull());
    QTRY_VERIFY(found.block().layout()->lineCount() > 0);
    QCOMPARE(found.block().layout()->lineCount(), 1);
}

QTEST_MAIN(THtmlViewTest)
#include "tst_htmlview.moc"
