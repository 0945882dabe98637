#pragma once

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QList>
#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "app/TErrorDlg.h"

namespace kavo::test {

// Answers the modal windows that open while it lives, one reply each in turn, and remembers what
// each showed. A window beyond the replies is rejected, so that a test fails instead of hanging.
class TModalAnswers : public QObject {
  public:
    using TReply = std::function<void(QWidget*)>;
    struct TSeen {
        QString Caption;
        QString Text;
        QMessageBox::Icon Symbol = QMessageBox::NoIcon;
    };

    explicit TModalAnswers(QList<TReply> replies = {}) : Replies(std::move(replies)) {
        connect(&Poll, &QTimer::timeout, this, &TModalAnswers::AnswerOpenModal);
        Poll.start(5);
    }

    QList<TSeen> Seen;

  private:
    void AnswerOpenModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        Seen << Describe(modal);
        if (Seen.size() <= Replies.size()) {
            Replies[Seen.size() - 1](modal);
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        }
    }

    static TSeen Describe(QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            return {box->windowTitle(), box->text(), box->icon()};
        }
        if (auto* dialog = qobject_cast<TErrorDlg*>(modal)) {
            return {dialog->windowTitle(), dialog->Message(), dialog->Symbol()};
        }
        return {modal->windowTitle(), {}, QMessageBox::NoIcon};
    }

    QList<TReply> Replies;
    QTimer Poll;
};

inline TModalAnswers::TReply Press(QMessageBox::StandardButton button) {
    return [button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box != nullptr && box->button(button) != nullptr) {
            box->button(button)->click();
        } else {
            qobject_cast<QDialog*>(modal)->reject();
        }
    };
}

inline TModalAnswers::TReply ClickOk() {
    return [](QWidget* modal) {
        for (QPushButton* button : modal->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("OK")) {
                button->click();
                return;
            }
        }
        qobject_cast<QDialog*>(modal)->reject();
    };
}

// Types the location into the folder chooser and confirms it.
inline TModalAnswers::TReply ChooseFolder(const QString& location) {
    return [location](QWidget* modal) {
        auto* edit = modal->findChild<QLineEdit*>(QStringLiteral("locationEdit"));
        if (edit == nullptr) {
            qobject_cast<QDialog*>(modal)->reject();
            return;
        }
        edit->setText(location);
        qobject_cast<QDialog*>(modal)->accept();
    };
}

inline TModalAnswers::TReply Cancel() {
    return [](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); };
}

}  // namespace kavo::test
