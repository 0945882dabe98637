#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QToolButton;

namespace kavo {

class TUserSettings;

// The folder chooser of Open and Save as: a case is a folder holding the case document, so the
// user picks a folder. It keeps its history from one use to the next and stores every local folder
// it arrives at as the user's last location. The next use starts in the folder last confirmed or
// opened (the nearest folder that exists when it is gone), else where the last use left off.
class TFindFolderDlg : public QDialog {
    Q_OBJECT

  public:
    TFindFolderDlg(TUserSettings& settings, QWidget* parent = nullptr);

    // Shows the chooser modally. Returns the confirmed folder ending in "/", or an empty text
    // when the user cancelled.
    QString ChooseFolder();
    // The same for Open: a web address confirmed in the location box comes back as typed, for
    // the download of a published case.
    QString ChooseLocation();

    // The folder shown, ending in "/"; empty before the first use.
    const QString& CurrentFolder() const { return Current; }
    // Goes to a location as if the user had typed it; false, with a beep, when it is no folder.
    bool GoTo(const QString& location);
    // Makes the next use start in the folder, a case folder opened or saved to; stored as the
    // user's last location.
    void Remember(const QString& folder);

    void accept() override;

  private:
    QToolButton* AddButton(const QString& hint, const char* objectName);
    // Shows the folder without touching the history.
    bool Show(const QString& folder);
    void ListSubfolders();
    void UpdateButtons();
    void GoBack();
    void GoForward();
    void GoUp();
    void GoToDefault();
    void MakeDefault();
    void Browse();
    void SubfolderActivated(QListWidgetItem* item);

    TUserSettings& Settings;
    QString Current;
    QString Chosen;
    bool WebAddressAllowed = false;
    // Where the next use starts, when set.
    QString Remembered;
    QStringList BackList;
    QStringList ForwardList;

    QLineEdit* LocationEdit;
    QListWidget* Subfolders;
    QLabel* CaseNote;
    QToolButton* BackButton = nullptr;
    QToolButton* ForwardButton = nullptr;
    QToolButton* UpButton = nullptr;
};

}  // namespace kavo
