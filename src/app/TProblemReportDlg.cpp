#include "app/TProblemReportDlg.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QUrl>
#include <QVBoxLayout>

#include "ProgramVersion.h"

namespace kavo {

TProblemReportDlg::TProblemReportDlg(const QStringList& recentMessages, TMessages& messages,
                                     QWidget* parent)
    : QDialog(parent), Messages(messages), ReportBox(new QPlainTextEdit(this)) {
    setWindowTitle(tr("Report a problem"));
    resize(560, 460);
    auto* note = new QLabel(
        tr("Describe what you did, what happened and what you expected below the details. "
           "Nothing is sent by KAVO: copy the report, or open it in your mail program and send "
           "it from there."),
        this);
    note->setWordWrap(true);
    ReportBox->setObjectName(QStringLiteral("reportBox"));
    ReportBox->setPlainText(FirstReport(recentMessages));
    ReportBox->moveCursor(QTextCursor::End);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* copy = buttons->addButton(tr("&Copy report"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("copyButton"));
    QPushButton* mail =
        buttons->addButton(tr("Open in &mail program"), QDialogButtonBox::ActionRole);
    mail->setObjectName(QStringLiteral("mailButton"));
    connect(copy, &QPushButton::clicked, this, &TProblemReportDlg::CopyReport);
    connect(mail, &QPushButton::clicked, this, &TProblemReportDlg::MailReport);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(ReportBox, 1);
    layout->addWidget(buttons);
    ReportBox->setFocus();
}

QString TProblemReportDlg::Report() const {
    return ReportBox->toPlainText();
}

QString TProblemReportDlg::FirstReport(const QStringList& recentMessages) {
    QString text = QStringLiteral("KAVO version %1\n").arg(QString::fromLatin1(kProgramVersion));
    text += QStringLiteral("Qt %1 (built with %2)\n")
                .arg(QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR));
    text += QStringLiteral("Platform: %1, %2, kernel %3, display %4\n")
                .arg(QSysInfo::prettyProductName(), QSysInfo::currentCpuArchitecture(),
                     QSysInfo::kernelVersion(), QGuiApplication::platformName());
    text += QStringLiteral("\nLast messages:\n");
    if (recentMessages.isEmpty()) {
        text += QStringLiteral("  (none)\n");
    }
    for (const QString& message : recentMessages) {
        // Continuation lines stay indented under their message.
        text += QStringLiteral("  ") +
                QString(message).replace(QLatin1Char('\n'), QStringLiteral("\n    ")) +
                QLatin1Char('\n');
    }
    text += QStringLiteral("\nWhat I did and what happened:\n\n");
    return text;
}

void TProblemReportDlg::CopyReport() {
    QGuiApplication::clipboard()->setText(Report());
}

void TProblemReportDlg::MailReport() {
    const QByteArray body = Report().replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toUtf8();
    const QUrl mail = QUrl::fromEncoded(
        "mailto:?subject=" +
        QUrl::toPercentEncoding(
            QStringLiteral("KAVO %1: problem report").arg(QString::fromLatin1(kProgramVersion))) +
        "&body=" + QUrl::toPercentEncoding(QString::fromUtf8(body)));
    if (!QDesktopServices::openUrl(mail)) {
        Messages.ShowWarning(
            "No mail program could be opened. Copy the report and send it in a mail of your own.");
    }
}

}  // namespace kavo
