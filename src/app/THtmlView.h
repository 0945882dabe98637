#pragma once

#include <QString>
#include <QStringList>
#include <QTextBrowser>

namespace kavo {

// The HTML view of a case window, showing a case document or a report with its images. An image
// the document names but its folder lacks (a case saved without pictures) shows as an empty
// square; looking each one up again would make a large document slow to show.
//
// Laying out a large document takes seconds and a gigabyte, so a document above a few hundred
// kilobytes is shown in pieces: the first at once, each further one when the user scrolls near the
// end of what is shown. The pieces break between the document's top-level parts, never inside a
// table. Relation comments, which the case document puts into a narrow column, span the row.
class THtmlView : public QTextBrowser {
    Q_OBJECT

  public:
    // Documents up to this size (in characters) are shown whole.
    static constexpr qsizetype kWholeDocumentLimit = 256 * 1024;
    // The size of the pieces of a larger one.
    static constexpr qsizetype kPieceSize = 48 * 1024;

    explicit THtmlView(QWidget* parent = nullptr);

    QVariant loadResource(int type, const QUrl& name) override;

    // Whether part of the document is still to be shown.
    bool HasMore() const { return !Pieces.isEmpty(); }
    // Shows the next piece; false when there is none.
    bool ShowMore();
    // Shows all that is left, as printing needs it.
    void ShowAll();

    // The HTML text as the view shows it: relation comments span their row.
    static QString ForView(const QString& html);
    // The document split at top-level parts into a head (up to and with the body tag) and pieces
    // of about the given size; one piece when it is small.
    static QStringList Split(const QString& html, qsizetype pieceSize, QString& head);

  private:
    // Shows the next piece when the user has scrolled near the end of what is shown.
    void ShowMoreWhenNearTheEnd();

    QString Head;
    // What is still to be shown, in order.
    QStringList Pieces;
    bool MorePending = false;
};

}  // namespace kavo
