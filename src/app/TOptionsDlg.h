#pragma once

#include <QDialog>
#include <QFont>
#include <QList>
#include <QSize>
#include <QString>
#include <array>
#include <functional>
#include <optional>

#include "model/TCaseOptions.h"
#include "model/TFont.h"
#include "model/TUtilityVectors.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace kavo {

class TCase;

// The dialog "KAVO case options": the level values, autofocus, the default action range, the
// default rationality, the evaluation budget, the diagram size, the simulation settings, the
// diagram font and the utility tables of one case. It works on pending values; only OK, once
// every field passes its check, hands them over as one set of options. Made once and reused: the
// rationality list and the "M" square keep their state from one opening to the next.
class TOptionsDlg : public QDialog {
    Q_OBJECT

  public:
    // Asks for a font, starting from the one given; none when cancelled.
    using TFontChooser = std::function<std::optional<QFont>(QWidget* parent, const QFont& start)>;
    // Lets the user edit the two utility tables in place; true when he confirmed them.
    using TUtilityEditor =
        std::function<bool(TUtilityVectors& standard, TUtilityVectors& negative)>;

    // screenSize is what Defaults gives the diagram dimensions.
    explicit TOptionsDlg(QSize screenSize, QWidget* parent = nullptr);

    // Loads the case's options and shows the dialog modally. The options to write when the user
    // confirmed them with OK, else none.
    std::optional<TCaseOptions> Edit(const TCase& owningCase);
    // Fills the fields from the case, as every opening does.
    void Load(const TCase& owningCase);
    // What OK confirmed last.
    const std::optional<TCaseOptions>& Confirmed() const { return Result; }
    // The "M" square: whether the distribution monitor is to be on.
    bool MonitorOn() const;
    // Shows the state of the monitor's switch, which the Case menu changes as well.
    void SetMonitorOn(bool on);

    void SetFontChooser(TFontChooser chooser) { ChooseFont = std::move(chooser); }
    // Without an editor the utility button stays disabled.
    void SetUtilityEditor(TUtilityEditor editor);

    void DefaultsBtnClick();
    void FontBtnClick();
    void UtilityBtnClick();
    // Checks every field; when all pass, keeps the options and closes with OK.
    void OKBtnClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class TFieldKind { fkDecimal, fkInteger };

    QLineEdit* AddField(TFieldKind kind, int length, const char* name);
    QLabel* AddLabel(const QString& text, const char* name);
    QWidget* CreateToolBar();
    QWidget* CreateLevelGroups();
    QWidget* CreateRangeGroup();
    QWidget* CreateSettings();
    QWidget* CreateSimulationGroup();
    void SetTabOrder();

    // The exit check of a level field: beep, text selected and OK disabled when it fails;
    // neighbours adjusted and mirrored labels refreshed when it passes.
    bool ExitCheck(QLineEdit* field);
    // Whether the field's value may be stored, neighbours included (strictly rising change
    // levels, utility levels in order).
    bool LevelStorable(const QLineEdit* field) const;
    void BaseLevelExit();
    void Refuse(QLineEdit* field);
    void RefreshMirroredLabels();
    void RefreshPercent();
    void RedrawRangeCells();
    void ToggleRangeCell(int level);
    void ToggleMonitor();
    // Whether the integer field holds a whole number within the limits; beeps and selects it
    // when not.
    bool IntegerPasses(QLineEdit* field, long long least, long long most);
    TCaseOptions PendingOptions() const;

    TFontChooser ChooseFont;
    TUtilityEditor EditUtilities;
    QSize ScreenSize;
    const TCase* OptionsCase = nullptr;
    std::optional<TCaseOptions> Result;

    TFont PendingFont;
    QFont LastChosenFont;
    TActionRange PendingActionRange = kFullActionRange;
    bool UtilityEdited = false;
    TUtilityVectors PendingStd;
    TUtilityVectors PendingNeg;

    QList<QLineEdit*> DecimalFields;
    QList<QLineEdit*> IntegerFields;

    QToolButton* DefaultsBtn = nullptr;
    QToolButton* FontBtn = nullptr;
    QToolButton* UtilityBtn = nullptr;
    QToolButton* OKBtn = nullptr;
    QToolButton* CancelBtn = nullptr;
    std::array<QLineEdit*, 3> Plus{};
    std::array<QLabel*, 3> Min{};
    QLineEdit* MPlus3 = nullptr;
    QLabel* MPlus1 = nullptr;
    QLabel* MMinus1 = nullptr;
    QLabel* MMinus3 = nullptr;
    std::array<QLineEdit*, 3> Util{};
    std::array<QLabel*, 3> MinUtil{};
    std::array<QToolButton*, 7> RangeCells{};
    QCheckBox* ApplyBox = nullptr;
    QCheckBox* HideBarBox = nullptr;
    QComboBox* RationalityBox = nullptr;
    QLineEdit* Threshold = nullptr;
    QLineEdit* Resolution = nullptr;
    QToolButton* MonitorPnl = nullptr;
    QLineEdit* EvalCount = nullptr;
    QLineEdit* MaxWidth = nullptr;
    QLineEdit* MaxHeight = nullptr;
    QLineEdit* SeedValue = nullptr;
    QCheckBox* SampleBox = nullptr;
    QLineEdit* BaseLevel = nullptr;
    QLabel* PercentLbl = nullptr;
    QCheckBox* AdaptGoalsBox = nullptr;
    QCheckBox* ManualActionsBox = nullptr;
};

}  // namespace kavo
