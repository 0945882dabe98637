#pragma once

#include <QTextBrowser>

namespace kavo {

// The HTML view of a case window, showing a case document or a report with its images. An image
// the document names but its folder lacks (a case saved without pictures) shows as an empty
// square; looking each one up again would make a large document slow to show.
class THtmlView : public QTextBrowser {
    Q_OBJECT

  public:
    explicit THtmlView(QWidget* parent = nullptr);

    QVariant loadResource(int type, const QUrl& name) override;
};

}  // namespace kavo
