#include "app/TFindFolderDlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/FolderLocation.h"
#include "app/TUserSettings.h"

namespace kavo {

namespace {

// The case name from the title line near the top of a case document; empty when there is none.
QString CaseTitle(const QString& folder) {
    QFile file(folder + QString::fromLatin1(kCaseDocumentName));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    static const QRegularExpression title(QStringLiteral("<title>(.*)</title>"),
                                          QRegularExpression::CaseInsensitiveOption);
    for (int line = 0; line < 10 && !file.atEnd(); ++line) {
        const QRegularExpressionMatch match = title.match(QString::fromUtf8(file.readLine()));
        if (match.hasMatch()) {
            return match.captured(1);
        }
    }
    return {};
}

}  // namespace

TFindFolderDlg::TFindFolderDlg(TUserSettings& settings, QWidget* parent)
    : QDialog(parent),
      Settings(settings),
      LocationEdit(new QLineEdit(this)),
      Subfolders(new QListWidget(this)),
      CaseNote(new QLabel(this)) {
    setWindowTitle(tr("Select folder"));
    resize(560, 400);

    auto* bar = new QHBoxLayout;
    BackButton = AddButton(tr("Back"), "backButton");
    ForwardButton = AddButton(tr("Forward"), "forwardButton");
    UpButton = AddButton(tr("Up one level"), "upButton");
    QToolButton* refresh = AddButton(tr("Refresh"), "refreshButton");
    QToolButton* home = AddButton(tr("Default folder"), "defaultButton");
    QToolButton* makeDefault = AddButton(tr("Make default"), "makeDefaultButton");
    QToolButton* browse = AddButton(tr("Browse"), "browseButton");
    // Published cases come with the web exchange.
    QToolButton* published = AddButton(tr("Published cases"), "publishedButton");
    published->setEnabled(false);
    BackButton->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    ForwardButton->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    UpButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
    refresh->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    home->setIcon(style()->standardIcon(QStyle::SP_DirHomeIcon));
    browse->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    published->setIcon(style()->standardIcon(QStyle::SP_DriveNetIcon));
    for (QToolButton* button :
         {BackButton, ForwardButton, UpButton, refresh, home, makeDefault, browse, published}) {
        bar->addWidget(button);
    }
    bar->addStretch();
    connect(BackButton, &QToolButton::clicked, this, &TFindFolderDlg::GoBack);
    connect(ForwardButton, &QToolButton::clicked, this, &TFindFolderDlg::GoForward);
    connect(UpButton, &QToolButton::clicked, this, &TFindFolderDlg::GoUp);
    // Refreshing shows what the location box says, so a typed folder can be looked into first.
    connect(refresh, &QToolButton::clicked, this, [this] { GoTo(LocationEdit->text()); });
    connect(home, &QToolButton::clicked, this, &TFindFolderDlg::GoToDefault);
    connect(makeDefault, &QToolButton::clicked, this, &TFindFolderDlg::MakeDefault);
    connect(browse, &QToolButton::clicked, this, &TFindFolderDlg::Browse);

    LocationEdit->setObjectName(QStringLiteral("locationEdit"));
    Subfolders->setObjectName(QStringLiteral("subfolderList"));
    CaseNote->setObjectName(QStringLiteral("caseNote"));
    connect(Subfolders, &QListWidget::itemActivated, this, &TFindFolderDlg::SubfolderActivated);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TFindFolderDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFindFolderDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(LocationEdit);
    layout->addWidget(Subfolders, 1);
    layout->addWidget(CaseNote);
    layout->addWidget(buttons);
    UpdateButtons();
}

QToolButton* TFindFolderDlg::AddButton(const QString& hint, const char* objectName) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setText(hint);
    button->setToolTip(hint);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

QString TFindFolderDlg::ChooseFolder() {
    const QString previous = Current;
    const QString start = !Remembered.isEmpty() ? Remembered
                          : !Current.isEmpty()  ? Current
                                                : LocationToPath(Settings.LastLocation);
    Remembered.clear();
    // A stored place that is gone leads to the nearest folder above it, but not up to the root.
    const QString nearest = IsWebAddress(start) ? QString() : NearestFolder(start);
    if (nearest.isEmpty() || nearest == ParentFolder(nearest) || !Show(nearest)) {
        Show(Settings.DefaultFolder.isEmpty() ? QDir::homePath() : Settings.DefaultFolder);
    }
    if (!previous.isEmpty() && previous != Current) {
        BackList << previous;
        ForwardList.clear();
        UpdateButtons();
    }
    Chosen.clear();
    LocationEdit->setFocus();
    if (exec() != QDialog::Accepted) {
        return {};
    }
    // A published case's web address is fetched into the scratch folder: nothing to come back to.
    if (!IsWebAddress(Chosen)) {
        Remember(Chosen);
    }
    return Chosen;
}

void TFindFolderDlg::Remember(const QString& folder) {
    Remembered = WithTrailingSlash(QDir::cleanPath(QDir(folder).absolutePath()));
    Settings.StoreLastLocation(Remembered);
}

QString TFindFolderDlg::ChooseLocation() {
    WebAddressAllowed = true;
    const QString location = ChooseFolder();
    WebAddressAllowed = false;
    return location;
}

bool TFindFolderDlg::GoTo(const QString& location) {
    const QString previous = Current;
    if (!Show(LocationToPath(location))) {
        QApplication::beep();
        return false;
    }
    if (!previous.isEmpty() && previous != Current) {
        BackList << previous;
        ForwardList.clear();
    }
    UpdateButtons();
    return true;
}

bool TFindFolderDlg::Show(const QString& folder) {
    if (IsWebAddress(folder) || !QFileInfo(folder).isDir()) {
        return false;
    }
    Current = WithTrailingSlash(QDir(folder).absolutePath());
    LocationEdit->setText(ShownLocation(Current));
    ListSubfolders();
    const QString title = CaseTitle(Current);
    CaseNote->setText(FolderHoldsCase(Current) ? tr("This folder holds the case \"%1\".").arg(title)
                                               : QString());
    Settings.StoreLastLocation(Current);
    UpdateButtons();
    return true;
}

void TFindFolderDlg::ListSubfolders() {
    Subfolders->clear();
    const QDir dir(Current);
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon caseIcon = style()->standardIcon(QStyle::SP_FileDialogDetailedView);
    // A case's image folder belongs to the case and holds no cases of its own.
    const bool holdsCase = FolderHoldsCase(Current);
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (holdsCase && name == QString::fromLatin1(kImageFolderName)) {
            continue;
        }
        const QString path = Current + name + QLatin1Char('/');
        auto* item = new QListWidgetItem(FolderHoldsCase(path) ? caseIcon : folderIcon, name);
        item->setData(Qt::UserRole, path);
        Subfolders->addItem(item);
    }
}

void TFindFolderDlg::UpdateButtons() {
    BackButton->setEnabled(!BackList.isEmpty());
    ForwardButton->setEnabled(!ForwardList.isEmpty());
    UpButton->setEnabled(!Current.isEmpty() && ParentFolder(Current) != Current);
}

void TFindFolderDlg::GoBack() {
    if (BackList.isEmpty()) {
        return;
    }
    ForwardList.prepend(Current);
    Show(BackList.takeLast());
}

void TFindFolderDlg::GoForward() {
    if (ForwardList.isEmpty()) {
        return;
    }
    BackList << Current;
    Show(ForwardList.takeFirst());
}

void TFindFolderDlg::GoUp() {
    GoTo(ParentFolder(Current));
}

void TFindFolderDlg::GoToDefault() {
    GoTo(Settings.DefaultFolder);
}

void TFindFolderDlg::MakeDefault() {
    if (!Current.isEmpty()) {
        Settings.StoreDefaultFolder(Current);
    }
}

void TFindFolderDlg::Browse() {
    const QString folder = QFileDialog::getExistingDirectory(
        this, tr("Select a folder that contains a KAVO case file"), Current);
    if (!folder.isEmpty()) {
        GoTo(folder);
    }
}

void TFindFolderDlg::SubfolderActivated(QListWidgetItem* item) {
    GoTo(item->data(Qt::UserRole).toString());
}

void TFindFolderDlg::accept() {
    const QString path = LocationToPath(LocationEdit->text());
    if (IsWebAddress(path) && WebAddressAllowed) {
        Chosen = path;
        QDialog::accept();
        return;
    }
    // A case cannot be saved to a web address.
    if (path.isEmpty() || IsWebAddress(path)) {
        QApplication::beep();
        return;
    }
    // A name typed on its own is a folder beside the others in the one shown.
    const QDir base(Current.isEmpty() ? QDir::homePath() : Current);
    Chosen = WithTrailingSlash(QDir::cleanPath(base.absoluteFilePath(path)));
    QDialog::accept();
}

}  // namespace kavo
