#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include "model/TMessages.h"

class QPlainTextEdit;

namespace kavo {

// The window of Help > Report a problem: a report that the user reads and completes, filled in
// with what a developer needs to know (versions, platform, the last messages shown). The user
// copies it or hands it to the system's mail program; the program itself sends nothing.
class TProblemReportDlg : public QDialog {
    Q_OBJECT

  public:
    TProblemReportDlg(const QStringList& recentMessages, TMessages& messages,
                      QWidget* parent = nullptr);

    // The text as it stands in the box.
    QString Report() const;
    // The text the box starts with.
    static QString FirstReport(const QStringList& recentMessages);

    void CopyReport();
    // Opens a new mail with the report in the mail program; a warning when there is none.
    void MailReport();

  private:
    TMessages& Messages;
    QPlainTextEdit* ReportBox;
};

}  // namespace kavo
