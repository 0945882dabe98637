#pragma once

#include <QList>
#include <QMainWindow>
#include <QString>

#include "app/TUserSettings.h"
#include "model/TContext.h"
#include "model/TStatus.h"
#include "qtgui/TQtTextMeasure.h"

class QAction;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMenu;

namespace kavo {

class TCaseView;
class TErrorDlg;

inline constexpr const char* kProgramVersion = "1.3.3";

// The main window: the menus, one window per open case and the status line. It owns the context
// of the run and is the core's status line.
class TKAVO : public QMainWindow, public TStatus {
    Q_OBJECT

  public:
    // Reads the user's settings, which may show an error when they cannot be stored.
    explicit TKAVO(QWidget* parent = nullptr);
    ~TKAVO() override;

    // Shows the text and repaints the status line at once; an empty text clears it.
    void SetStatusText(const std::string& text) override;
    void PumpEvents() override;

    TContext& Context() { return RunContext; }
    TErrorDlg& MessageDialog() const { return *Messages; }
    const QString& DefaultFolder() const { return Settings.DefaultFolder; }
    const QString& LastLocation() const { return Settings.LastLocation; }
    const QString& ScratchFolder() const { return Settings.ScratchFolder; }

    // The open case windows in the order they were opened.
    QList<TCaseView*> CaseViews() const;
    TCaseView* NewCase();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateFileMenu();
    void CreateCaseMenu();
    void CreateEditMenu();
    // The case and edit commands are available only while a case is open.
    void EnableCaseCommands(bool enabled);
    void CloseActiveCase();
    void CaseClosed(TCaseView* view);

    TErrorDlg* Messages;
    TQtTextMeasure Measure;
    TContext RunContext;
    TUserSettings Settings;

    QMdiArea* CaseArea;
    QLabel* StatusPanel;
    QAction* SaveAction = nullptr;
    QAction* SaveAsAction = nullptr;
    QAction* CloseAction = nullptr;
    QMenu* CaseMenu = nullptr;
    QMenu* EditMenu = nullptr;
    // Disabling a group also stops its shortcuts, and entries disabled on their own stay so when
    // the group is enabled again.
    QActionGroup* CaseCommands = nullptr;
    QActionGroup* EditCommands = nullptr;
};

}  // namespace kavo
