#include "app/THtmlView.h"

#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

namespace kavo {

namespace {

QImage MissingImage() {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

const QString kBodyEnd = QStringLiteral("\n</body>\n</html>\n");

}  // namespace

THtmlView::THtmlView(QWidget* parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("htmlView"));
    setOpenLinks(true);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            &THtmlView::ShowMoreWhenNearTheEnd);
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this,
            &THtmlView::ShowMoreWhenNearTheEnd);
}

QVariant THtmlView::loadResource(int type, const QUrl& name) {
    if (type == QTextDocument::ImageResource) {
        const QUrl resolved = source().resolved(name);
        if (resolved.isLocalFile() && !QFileInfo::exists(resolved.toLocalFile())) {
            static const QImage missing = MissingImage();
            return missing;
        }
    }
    const QVariant loaded = QTextBrowser::loadResource(type, name);
    if (type != QTextDocument::HtmlResource || loaded.userType() != QMetaType::QByteArray) {
        return loaded;
    }
    const QByteArray bytes = loaded.toByteArray();
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (!decoder.isValid()) {
        decoder = QStringDecoder(QStringDecoder::Utf8);
    }
    Pieces = Split(ForView(decoder(bytes)), kPieceSize, Head);
    if (Pieces.size() == 1) {
        return Head + Pieces.takeFirst();
    }
    return Head + Pieces.takeFirst() + kBodyEnd;
}

bool THtmlView::ShowMore() {
    if (Pieces.isEmpty()) {
        return false;
    }
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    // Each piece brings the head along: its style sheet formats the piece.
    end.insertHtml(Head + Pieces.takeFirst() + kBodyEnd);
    return true;
}

void THtmlView::ShowAll() {
    while (ShowMore()) {
    }
}

void THtmlView::ShowMoreWhenNearTheEnd() {
    const QScrollBar* bar = verticalScrollBar();
    if (Pieces.isEmpty() || MorePending || bar->value() < bar->maximum() - 2 * bar->pageStep()) {
        return;
    }
    // Not within the scroll bar's own signal: the new piece changes its range again.
    MorePending = true;
    QTimer::singleShot(0, this, [this] {
        MorePending = false;
        if (ShowMore()) {
            ShowMoreWhenNearTheEnd();
        }
    });
}

QString THtmlView::ForView(const QString& html) {
    static const QString kTable = QStringLiteral("<table class=\"actorrelations\">");
    const qsizetype start = html.indexOf(kTable);
    if (start < 0) {
        return html;
    }
    const qsizetype end = html.indexOf(QStringLiteral("</table>"), start);
    QString relations = html.mid(start, end < 0 ? -1 : end - start);
    // The table takes the view's width, and a comment row, which leaves two cells for the actor's
    // icon and name and then has the narrow cell of the relation pictures, puts the comment into
    // that cell and the two after it.
    relations.replace(kTable, QStringLiteral("<table class=\"actorrelations\" width=\"100%\">"));
    relations.replace(
        QStringLiteral("<td colspan=\"2\">&nbsp;</td><td><p class=cmnt>"),
        QStringLiteral("<td colspan=\"2\">&nbsp;</td><td colspan=\"3\"><p class=cmnt>"));
    return html.left(start) + relations + (end < 0 ? QString() : html.mid(end));
}

QStringList THtmlView::Split(const QString& html, qsizetype pieceSize, QString& head) {
    static const QRegularExpression body(QStringLiteral("<body[^>]*>"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch bodyTag = body.match(html);
    if (html.size() <= kWholeDocumentLimit || !bodyTag.hasMatch()) {
        head.clear();
        return {html};
    }
    head = html.left(bodyTag.capturedEnd());
    QStringList pieces;
    qsizetype pieceStart = bodyTag.capturedEnd();
    qsizetype depth = 0;
    qsizetype lineStart = pieceStart;
    while (lineStart < html.size()) {
        qsizetype lineEnd = html.indexOf(QLatin1Char('\n'), lineStart);
        lineEnd = lineEnd < 0 ? html.size() : lineEnd + 1;
        // A new piece begins with a top-level line once the piece is large enough.
        if (depth == 0 && lineStart - pieceStart >= pieceSize) {
            pieces << html.mid(pieceStart, lineStart - pieceStart);
            pieceStart = lineStart;
        }
        const QStringView line = QStringView(html).mid(lineStart, lineEnd - lineStart);
        depth += line.count(u"<table", Qt::CaseInsensitive) -
                 line.count(u"</table", Qt::CaseInsensitive);
        depth = std::max<qsizetype>(depth, 0);
        lineStart = lineEnd;
    }
    pieces << html.mid(pieceStart);
    return pieces;
}

}  // namespace kavo
