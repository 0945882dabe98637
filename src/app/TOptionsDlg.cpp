#include "app/TOptionsDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "app/DialogFrame.h"
#include "casefile/CaseFileText.h"
#include "diagram/DiagramMarks.h"
#include "model/Formats.h"
#include "model/TCase.h"
#include "qtgui/QtConversions.h"
#include "qtgui/TQtCanvas.h"

namespace kavo {

namespace {

constexpr int kRationalities = 9;
constexpr const char* kRationalityNames[kRationalities] = {
    "Utility: maximize expected value",      "Utility: MaxiMin",      "Utility: least regret",
    "Satisfaction: maximize expected value", "Satisfaction: MaxiMin", "Satisfaction: least regret",
    "Frustration: minimize expected value",  "Frustration: MiniMax",  "Frustration: least regret"};
constexpr const char* kLime = "background: #00FF00;";
constexpr int kCellScale = 2;

bool IsLeastRegret(int entry) {
    return entry == 2 || entry == 5 || entry == 8;
}

// The picture of a level: the range-bar cell of the diagrams, drawn larger.
QPixmap LevelPicture(int level, bool inside) {
    QImage image(kRangeCellSize, kRangeCellSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        TQtCanvas canvas(painter);
        DrawRangeCell(canvas, {0, 0}, level,
                      inside ? TRangeCellState::rcInside : TRangeCellState::rcOutside);
    }
    return QPixmap::fromImage(
        image.scaled(kRangeCellSize * kCellScale, kRangeCellSize * kCellScale));
}

QLabel* Picture(int level, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(LevelPicture(level, true));
    return label;
}

QLabel* BoldText(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

std::optional<double> DecimalOf(const QLineEdit* field) {
    return ReadDecimal(field->text().toStdString());
}

std::optional<long long> IntegerOf(const QLineEdit* field) {
    const std::string text = field->text().trimmed().toStdString();
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const std::optional<std::int64_t> value = ReadInteger(text);
    return value ? std::optional<long long>(*value) : std::nullopt;
}

// A value for writing: a text that is no number counts as 0.
double ValueOf(const QLineEdit* field) {
    return DecimalOf(field).value_or(0);
}

QString FormatNumberText(double value) {
    return ToQString(FormatNumber(value));
}

}  // namespace

TOptionsDlg::TOptionsDlg(QSize screenSize, QWidget* parent)
    : QDialog(parent), ScreenSize(screenSize) {
    UseDialogFrame(*this);
    setWindowTitle(tr("KAVO case options"));
    ChooseFont = [](QWidget* owner, const QFont& start) -> std::optional<QFont> {
        bool confirmed = false;
        const QFont chosen =
            QFontDialog::getFont(&confirmed, start, owner, tr("Font used in diagrams"));
        return confirmed ? std::optional<QFont>(chosen) : std::nullopt;
    };
    LastChosenFont = font();

    auto* body = new QHBoxLayout;
    body->addWidget(CreateLevelGroups());
    auto* right = new QVBoxLayout;
    right->addWidget(CreateRangeGroup());
    right->addWidget(CreateSettings());
    right->addWidget(CreateSimulationGroup());
    right->addStretch();
    body->addLayout(right);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(CreateToolBar());
    layout->addLayout(body);
    SetTabOrder();
    SetUtilityEditor(nullptr);
}

QWidget* TOptionsDlg::CreateToolBar() {
    auto* bar = new QWidget(this);
    const auto button = [bar](QStyle::StandardPixmap icon, const QString& hint, const char* name) {
        auto* b = new QToolButton(bar);
        b->setObjectName(QString::fromLatin1(name));
        b->setIcon(bar->style()->standardIcon(icon));
        b->setToolTip(hint);
        b->setAutoRaise(true);
        return b;
    };
    DefaultsBtn =
        button(QStyle::SP_BrowserReload, tr("Restore default KAVO case settings"), "DefaultsBtn");
    FontBtn =
        button(QStyle::SP_FileDialogDetailedView, tr("Change font used in diagrams"), "FontBtn");
    FontBtn->setText(tr("Font"));
    FontBtn->setToolButtonStyle(Qt::ToolButtonTextOnly);
    UtilityBtn = button(QStyle::SP_FileDialogContentsView,
                        tr("Edit standard utility vectors for goals"), "UtilityBtn");
    OKBtn = button(QStyle::SP_DialogApplyButton, tr("Change options"), "OKBtn");
    CancelBtn = button(QStyle::SP_DialogCancelButton, tr("Cancel changes"), "CancelBtn");
    connect(DefaultsBtn, &QToolButton::clicked, this, &TOptionsDlg::DefaultsBtnClick);
    connect(FontBtn, &QToolButton::clicked, this, &TOptionsDlg::FontBtnClick);
    connect(UtilityBtn, &QToolButton::clicked, this, &TOptionsDlg::UtilityBtnClick);
    connect(OKBtn, &QToolButton::clicked, this, &TOptionsDlg::OKBtnClick);
    connect(CancelBtn, &QToolButton::clicked, this, &QDialog::reject);

    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(DefaultsBtn);
    layout->addWidget(FontBtn);
    layout->addWidget(UtilityBtn);
    layout->addStretch();
    layout->addWidget(OKBtn);
    layout->addWidget(CancelBtn);
    return bar;
}

QLineEdit* TOptionsDlg::AddField(TFieldKind kind, int length, const char* name) {
    auto* field = new QLineEdit(this);
    field->setObjectName(QString::fromLatin1(name));
    field->setMaxLength(length);
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(QLatin1Char('0')) * (length + 2) +
                         8);
    field->installEventFilter(this);
    (kind == TFieldKind::fkDecimal ? DecimalFields : IntegerFields) << field;
    return field;
}

QLabel* TOptionsDlg::AddLabel(const QString& text, const char* name) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("-0.000")));
    return label;
}

QWidget* TOptionsDlg::CreateLevelGroups() {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    // Rows of +k, the field, -k and its mirrored label, from level 0 up.
    const auto levelGroup = [this](const QString& caption, std::array<QLineEdit*, 3>& fields,
                                   std::array<QLabel*, 3>& mirrors, const char* fieldName,
                                   const char* mirrorName) {
        auto* group = new QGroupBox(caption, this);
        auto* grid = new QGridLayout(group);
        grid->addWidget(Picture(0, group), 0, 0);
        grid->addWidget(BoldText(QStringLiteral("0"), group), 0, 1);
        for (int k = 1; k <= 3; ++k) {
            const QByteArray name = QByteArray(fieldName) + QByteArray::number(k);
            const QByteArray mirror = QByteArray(mirrorName) + QByteArray::number(k);
            fields[k - 1] = AddField(TFieldKind::fkDecimal, 3, name.constData());
            mirrors[k - 1] = AddLabel(QString(), mirror.constData());
            grid->addWidget(Picture(k, group), 4 - k, 0);
            grid->addWidget(fields[k - 1], 4 - k, 1);
            grid->addWidget(Picture(-k, group), 4 - k, 2);
            grid->addWidget(mirrors[k - 1], 4 - k, 3);
        }
        return group;
    };
    layout->addWidget(levelGroup(tr("Change levels"), Plus, Min, "Plus", "Min"));

    auto* multipliers = new QGroupBox(tr("Change multipliers"), this);
    auto* grid = new QGridLayout(multipliers);
    MPlus3 = AddField(TFieldKind::fkDecimal, 3, "MPlus3");
    MPlus1 = AddLabel(QString(), "MPlus1");
    MMinus1 = AddLabel(QString(), "MMinus1");
    MMinus3 = AddLabel(QString(), "MMinus3");
    grid->addWidget(Picture(0, multipliers), 3, 0);
    grid->addWidget(BoldText(QStringLiteral("0"), multipliers), 3, 1);
    grid->addWidget(Picture(1, multipliers), 2, 0);
    grid->addWidget(MPlus1, 2, 1);
    grid->addWidget(Picture(-1, multipliers), 2, 2);
    grid->addWidget(MMinus1, 2, 3);
    grid->addWidget(Picture(2, multipliers), 1, 0);
    grid->addWidget(BoldText(QStringLiteral("1"), multipliers), 1, 1);
    grid->addWidget(Picture(-2, multipliers), 1, 2);
    grid->addWidget(BoldText(QStringLiteral("-1"), multipliers), 1, 3);
    grid->addWidget(Picture(3, multipliers), 0, 0);
    grid->addWidget(MPlus3, 0, 1);
    grid->addWidget(Picture(-3, multipliers), 0, 2);
    grid->addWidget(MMinus3, 0, 3);
    layout->addWidget(multipliers);

    layout->addWidget(levelGroup(tr("Utility levels"), Util, MinUtil, "Util", "MinUtil"));
    layout->addStretch();
    return column;
}

QWidget* TOptionsDlg::CreateRangeGroup() {
    auto* group = new QGroupBox(tr("Feasible action range"), this);
    auto* cells = new QHBoxLayout;
    cells->setSpacing(1);
    cells->addWidget(new QLabel(tr("Default:"), group));
    for (int level = kMinLevel; level <= kMaxLevel; ++level) {
        auto* cell = new QToolButton(group);
        const QByteArray name = level < 0   ? "BarMin" + QByteArray::number(-level)
                                : level > 0 ? "BarPlus" + QByteArray::number(level)
                                            : QByteArray("BarZero");
        cell->setObjectName(QString::fromLatin1(name));
        cell->setFocusPolicy(Qt::NoFocus);
        cell->setAutoRaise(true);
        cell->setIconSize(QSize(kRangeCellSize * kCellScale, kRangeCellSize * kCellScale));
        connect(cell, &QToolButton::clicked, this, [this, level] { ToggleRangeCell(level); });
        RangeCells[static_cast<std::size_t>(level + 3)] = cell;
        cells->addWidget(cell);
    }
    cells->addStretch();
    ApplyBox = new QCheckBox(tr("Apply"), group);
    ApplyBox->setObjectName(QStringLiteral("ApplyBox"));
    ApplyBox->setToolTip(tr("Set feasible action range for all actions to these default values"));
    HideBarBox = new QCheckBox(tr("Hide range bar"), group);
    HideBarBox->setObjectName(QStringLiteral("HideBarBox"));
    HideBarBox->setToolTip(tr("When checked, range bars will not be shown in perception graphs"));
    auto* layout = new QVBoxLayout(group);
    layout->addLayout(cells);
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(ApplyBox);
    boxes->addWidget(HideBarBox);
    layout->addLayout(boxes);
    return group;
}

QWidget* TOptionsDlg::CreateSettings() {
    auto* settings = new QWidget(this);
    auto* layout = new QGridLayout(settings);
    layout->setContentsMargins(0, 0, 0, 0);

    RationalityBox = new QComboBox(settings);
    RationalityBox->setObjectName(QStringLiteral("RationalityBox"));
    for (const char* name : kRationalityNames) {
        RationalityBox->addItem(QString::fromLatin1(name));
    }
    layout->addWidget(new QLabel(tr("Default actor rationality:"), settings), 0, 0);
    layout->addWidget(RationalityBox, 0, 1, 1, 2);

    auto* autofocus = new QGroupBox(tr("Autofocus"), settings);
    auto* focusRow = new QHBoxLayout(autofocus);
    Threshold = AddField(TFieldKind::fkInteger, 3, "Threshold");
    Resolution = AddField(TFieldKind::fkInteger, 2, "Resolution");
    MonitorPnl = new QToolButton(autofocus);
    MonitorPnl->setObjectName(QStringLiteral("MonitorPnl"));
    MonitorPnl->setText(QStringLiteral("M"));
    MonitorPnl->setCheckable(true);
    MonitorPnl->setFixedSize(20, 20);
    MonitorPnl->setToolTip(tr("Monitor distribution operations"));
    connect(MonitorPnl, &QToolButton::toggled, this, &TOptionsDlg::ToggleMonitor);
    focusRow->addWidget(new QLabel(tr("Threshold:"), autofocus));
    focusRow->addWidget(Threshold);
    focusRow->addWidget(new QLabel(tr("Tolerance:"), autofocus));
    focusRow->addWidget(Resolution);
    focusRow->addWidget(new QLabel(QStringLiteral("%"), autofocus));
    focusRow->addWidget(MonitorPnl);
    focusRow->addStretch();
    layout->addWidget(autofocus, 1, 0, 1, 3);

    EvalCount = AddField(TFieldKind::fkInteger, 6, "EvalCount");
    layout->addWidget(new QLabel(tr("Max. # evaluations (x100)"), settings), 2, 0);
    layout->addWidget(EvalCount, 2, 1);

    auto* dimensions = new QGroupBox(tr("Diagram dimensions"), settings);
    auto* sizeRow = new QHBoxLayout(dimensions);
    MaxWidth = AddField(TFieldKind::fkInteger, 4, "MaxWidth");
    MaxHeight = AddField(TFieldKind::fkInteger, 4, "MaxHeight");
    sizeRow->addWidget(new QLabel(tr("Width:"), dimensions));
    sizeRow->addWidget(MaxWidth);
    sizeRow->addWidget(new QLabel(tr("Height:"), dimensions));
    sizeRow->addWidget(MaxHeight);
    sizeRow->addStretch();
    layout->addWidget(dimensions, 3, 0, 1, 3);
    return settings;
}

QWidget* TOptionsDlg::CreateSimulationGroup() {
    auto* group = new QGroupBox(tr("Simulation"), this);
    SeedValue = AddField(TFieldKind::fkInteger, 9, "SeedValue");
    SampleBox = new QCheckBox(tr("Sample from distributions"), group);
    SampleBox->setObjectName(QStringLiteral("SampleBox"));
    BaseLevel = AddField(TFieldKind::fkInteger, 3, "BaseLevel");
    PercentLbl = new QLabel(group);
    PercentLbl->setObjectName(QStringLiteral("PercentLbl"));
    AdaptGoalsBox = new QCheckBox(tr("Adapt goals for each round"), group);
    AdaptGoalsBox->setObjectName(QStringLiteral("AdaptGoalsBox"));
    ManualActionsBox =
        new QCheckBox(tr("Manually set action ranges and uncertainties for each round"), group);
    ManualActionsBox->setObjectName(QStringLiteral("ManualActionsBox"));

    auto* seedRow = new QHBoxLayout;
    seedRow->addWidget(new QLabel(tr("Random seed:"), group));
    seedRow->addWidget(SeedValue);
    seedRow->addStretch();
    auto* baseRow = new QHBoxLayout;
    baseRow->setSpacing(2);
    baseRow->addWidget(new QLabel(tr("Change levels relative to"), group));
    baseRow->addWidget(BaseLevel);
    baseRow->addWidget(new QLabel(tr(" (this means that"), group));
    baseRow->addWidget(Picture(2, group));
    baseRow->addWidget(PercentLbl);
    baseRow->addStretch();
    auto* layout = new QVBoxLayout(group);
    layout->addLayout(seedRow);
    layout->addWidget(SampleBox);
    layout->addLayout(baseRow);
    layout->addWidget(AdaptGoalsBox);
    layout->addWidget(ManualActionsBox);
    return group;
}

void TOptionsDlg::SetTabOrder() {
    const QList<QWidget*> order = {
        DefaultsBtn,    FontBtn,   UtilityBtn, OKBtn,         CancelBtn,       Plus[0],  Plus[1],
        Plus[2],        MPlus3,    Util[0],    Util[1],       Util[2],         ApplyBox, HideBarBox,
        RationalityBox, Threshold, Resolution, MonitorPnl,    EvalCount,       MaxWidth, MaxHeight,
        SeedValue,      SampleBox, BaseLevel,  AdaptGoalsBox, ManualActionsBox};
    for (QWidget* widget : order) {
        if (auto* button = qobject_cast<QToolButton*>(widget)) {
            button->setFocusPolicy(Qt::TabFocus);
        }
    }
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void TOptionsDlg::SetUtilityEditor(TUtilityEditor editor) {
    EditUtilities = std::move(editor);
    UtilityBtn->setEnabled(static_cast<bool>(EditUtilities));
}

// --- Opening ---

std::optional<TCaseOptions> TOptionsDlg::Edit(const TCase& owningCase) {
    Load(owningCase);
    exec();
    OptionsCase = nullptr;
    return Result;
}

void TOptionsDlg::Load(const TCase& c) {
    OptionsCase = &c;
    Result.reset();
    for (int k = 1; k <= 3; ++k) {
        Plus[k - 1]->setText(FormatNumberText(c.ChangeLevels[k]));
        Util[k - 1]->setText(FormatNumberText(c.UtilityLevels[k]));
    }
    MPlus3->setText(FormatNumberText(c.LinkMultipliers[3]));
    OKBtn->setEnabled(true);
    RefreshMirroredLabels();
    ExitCheck(MPlus3);
    Threshold->setText(QString::number(c.AutofocusThreshold));
    Resolution->setText(QString::number(c.AutofocusResolution));
    EvalCount->setText(QString::number(std::llround(static_cast<double>(c.Evaluations) / 100)));
    MaxWidth->setText(QString::number(c.MaxWidth));
    MaxHeight->setText(QString::number(c.MaxHeight));
    SeedValue->setText(QString::number(c.RandomSeed));
    BaseLevel->setText(QString::number(std::llround(c.BaseLevel)));
    PendingActionRange = c.DefaultActionRange;
    RedrawRangeCells();
    ApplyBox->setChecked(false);
    HideBarBox->setChecked(!c.RangeBarShown);
    SampleBox->setChecked(c.SampleFromDistributions);
    AdaptGoalsBox->setChecked(c.AdaptGoals);
    ManualActionsBox->setChecked(c.MaintainActionRange);
    RefreshPercent();
    PendingFont = c.Font;
    UtilityEdited = false;
    PendingStd = c.StdUtilityVectors;
    PendingNeg = c.NegUtilityVectors;
}

bool TOptionsDlg::MonitorOn() const {
    return MonitorPnl->isChecked();
}

void TOptionsDlg::SetMonitorOn(bool on) {
    MonitorPnl->setChecked(on);
}

// --- Keys and exit checks ---

bool TOptionsDlg::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field == nullptr) {
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
        // Editing and moving keys pass; of the keys that type, only digits (and the point in a
        // decimal field).
        const QString text = key->text();
        if (text.isEmpty() || !text.at(0).isPrint() ||
            (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != 0) {
            return false;
        }
        const bool allowed =
            text.size() == 1 && (text.at(0).isDigit() ||
                                 (text.at(0) == QLatin1Char('.') && DecimalFields.contains(field)));
        if (!allowed) {
            QApplication::beep();
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Leaving the window for another one is no leaving of the field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            isVisible()) {
            if (DecimalFields.contains(field)) {
                ExitCheck(field);
            } else if (field == BaseLevel) {
                BaseLevelExit();
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TOptionsDlg::Refuse(QLineEdit* field) {
    QApplication::beep();
    field->selectAll();
    // A field that is losing the focus drops its selection afterwards; select it again then.
    QTimer::singleShot(0, field, &QLineEdit::selectAll);
}

bool TOptionsDlg::ExitCheck(QLineEdit* field) {
    OKBtn->setEnabled(true);
    const std::optional<double> value = DecimalOf(field);
    bool passes = value.has_value();
    if (passes) {
        // Every level but the multiplier must be above 0 (the multiplier above 1), or a 0 would be
        // copied down into the levels below.
        passes = field == MPlus3 ? *value > 1 : *value > 0;
    }
    if (!passes) {
        Refuse(field);
        OKBtn->setEnabled(false);
        return false;
    }
    const double v = *value;
    const auto adjust = [&](QLineEdit* neighbour, bool when, bool asTyped) {
        if (when) {
            neighbour->setText(asTyped ? field->text() : FormatNumberText(v));
        }
    };
    if (field == Plus[0]) {
        adjust(Plus[1], v > ValueOf(Plus[1]), false);
    } else if (field == Plus[1]) {
        adjust(Plus[0], v < ValueOf(Plus[0]), false);
        adjust(Plus[2], v > ValueOf(Plus[2]), false);
        RefreshPercent();
    } else if (field == Plus[2]) {
        adjust(Plus[1], v < ValueOf(Plus[1]), false);
    } else if (field == Util[0]) {
        adjust(Util[1], v > ValueOf(Util[1]), true);
    } else if (field == Util[1]) {
        adjust(Util[0], ValueOf(Util[0]) > v, true);
        adjust(Util[2], ValueOf(Util[2]) < v, true);
    } else if (field == Util[2]) {
        adjust(Util[1], ValueOf(Util[1]) > v, true);
    }
    RefreshMirroredLabels();
    return true;
}

bool TOptionsDlg::LevelStorable(const QLineEdit* field) const {
    const std::optional<double> value = DecimalOf(field);
    if (!value) {
        return false;
    }
    if (field == MPlus3) {
        return *value > 1;
    }
    if (*value <= 0) {
        return false;
    }
    // Change levels rise strictly; utility levels do not fall.
    if (field == Plus[1] || field == Plus[2]) {
        const QLineEdit* below = field == Plus[1] ? Plus[0] : Plus[1];
        return *value > ValueOf(below);
    }
    if (field == Util[1] || field == Util[2]) {
        const QLineEdit* below = field == Util[1] ? Util[0] : Util[1];
        return *value >= ValueOf(below);
    }
    return true;
}

void TOptionsDlg::BaseLevelExit() {
    const std::optional<long long> base = IntegerOf(BaseLevel);
    if (base && *base == 0 && OptionsCase != nullptr) {
        QApplication::beep();
        OptionsCase->Messages().ShowWarning("Base level must be > 0");
        BaseLevel->setText(QString::number(std::llround(OptionsCase->BaseLevel)));
    }
    RefreshPercent();
}

void TOptionsDlg::RefreshMirroredLabels() {
    for (int k = 0; k < 3; ++k) {
        Min[k]->setText(QStringLiteral("-") + Plus[k]->text());
        MinUtil[k]->setText(QStringLiteral("-") + Util[k]->text());
    }
    MMinus3->setText(QStringLiteral("-") + MPlus3->text());
    const std::optional<double> multiplier = DecimalOf(MPlus3);
    QString inverse;
    if (multiplier && *multiplier > 1) {
        inverse = QString::number(1 / *multiplier, 'f', 3).mid(1);
        while (inverse.endsWith(QLatin1Char('0'))) {
            inverse.chop(1);
        }
    }
    MPlus1->setText(inverse);
    MMinus1->setText(inverse.isEmpty() ? QString() : QStringLiteral("-") + inverse);
}

void TOptionsDlg::RefreshPercent() {
    const std::optional<long long> base = IntegerOf(BaseLevel);
    const QString percent =
        base && *base != 0 ? ToQString(FormatPercent(ValueOf(Plus[1]) / static_cast<double>(*base)))
                           : QStringLiteral("?");
    PercentLbl->setText(tr("is a %1 increase)").arg(percent));
}

// --- Range cells, the "M" square ---

void TOptionsDlg::RedrawRangeCells() {
    for (int level = kMinLevel; level <= kMaxLevel; ++level) {
        QToolButton* cell = RangeCells[static_cast<std::size_t>(level + 3)];
        cell->setIcon(QIcon(LevelPicture(level, PendingActionRange[level])));
    }
}

void TOptionsDlg::ToggleRangeCell(int level) {
    PendingActionRange[level] = !PendingActionRange[level];
    RedrawRangeCells();
}

void TOptionsDlg::ToggleMonitor() {
    MonitorPnl->setStyleSheet(MonitorPnl->isChecked() ? QString::fromLatin1(kLime) : QString());
}

// --- Tool bar ---

void TOptionsDlg::DefaultsBtnClick() {
    const TCaseOptions defaults;
    for (int k = 1; k <= 3; ++k) {
        Plus[k - 1]->setText(QString::number(k == 3 ? 4 : k));
        Util[k - 1]->setText(QString::number(k == 3 ? 4 : k));
    }
    MPlus3->setText(QStringLiteral("2"));
    Threshold->setText(QString::number(defaults.AutofocusThreshold));
    Resolution->setText(QString::number(defaults.AutofocusResolution));
    RationalityBox->setCurrentIndex(0);
    EvalCount->setText(QStringLiteral("1"));
    MaxWidth->setText(QString::number(ScreenSize.width()));
    MaxHeight->setText(QString::number(ScreenSize.height()));
    PendingActionRange = kFullActionRange;
    RedrawRangeCells();
    ApplyBox->setChecked(false);
    HideBarBox->setChecked(false);
    PendingStd = TUtilityVectors::DefaultStandard();
    PendingNeg = TUtilityVectors::DefaultNegative();
    UtilityEdited = true;
    OKBtn->setEnabled(true);
    RefreshMirroredLabels();
    RefreshPercent();
}

void TOptionsDlg::FontBtnClick() {
    if (const std::optional<QFont> chosen = ChooseFont(this, LastChosenFont)) {
        LastChosenFont = *chosen;
        PendingFont = TFont{chosen->family().toStdString(), chosen->pointSize(), chosen->bold(),
                            chosen->italic()};
    }
}

void TOptionsDlg::UtilityBtnClick() {
    if (!EditUtilities || OptionsCase == nullptr) {
        return;
    }
    // The editor starts from the case's tables, whatever Defaults loaded; a cancelled edit
    // leaves nothing to copy into the case.
    TUtilityVectors standard = OptionsCase->StdUtilityVectors;
    TUtilityVectors negative = OptionsCase->NegUtilityVectors;
    UtilityEdited = EditUtilities(standard, negative);
    PendingStd = UtilityEdited ? standard : OptionsCase->StdUtilityVectors;
    PendingNeg = UtilityEdited ? negative : OptionsCase->NegUtilityVectors;
}

bool TOptionsDlg::IntegerPasses(QLineEdit* field, long long least, long long most) {
    const std::optional<long long> value = IntegerOf(field);
    if (value && *value >= least && *value <= most) {
        return true;
    }
    field->setFocus();
    Refuse(field);
    return false;
}

void TOptionsDlg::OKBtnClick() {
    if (OptionsCase == nullptr) {
        return;
    }
    for (QLineEdit* field : DecimalFields) {
        if (!LevelStorable(field)) {
            field->setFocus();
            Refuse(field);
            return;
        }
    }
    constexpr long long kAny = 999999999;
    if (!IntegerPasses(Threshold, 7, kAny) || !IntegerPasses(Resolution, 1, kAny)) {
        return;
    }
    if (IsLeastRegret(RationalityBox->currentIndex())) {
        OptionsCase->Messages().ShowWarning("Least regret strategies not available yet");
        RationalityBox->setFocus();
        return;
    }
    if (!IntegerPasses(EvalCount, 0, kAny) || !IntegerPasses(MaxWidth, 1, kAny) ||
        !IntegerPasses(MaxHeight, 1, kAny) || !IntegerPasses(SeedValue, 0, kAny)) {
        return;
    }
    const std::optional<long long> base = IntegerOf(BaseLevel);
    if (base && *base == 0) {
        BaseLevelExit();
        return;
    }
    if (!IntegerPasses(BaseLevel, 1, kAny)) {
        return;
    }
    Result = PendingOptions();
    accept();
}

TCaseOptions TOptionsDlg::PendingOptions() const {
    TCaseOptions o;
    o.ChangeLevel1 = ValueOf(Plus[0]);
    o.ChangeLevel2 = ValueOf(Plus[1]);
    o.ChangeLevel3 = ValueOf(Plus[2]);
    o.LinkMultiplier = ValueOf(MPlus3);
    o.UtilityLevel1 = ValueOf(Util[0]);
    o.UtilityLevel2 = ValueOf(Util[1]);
    o.UtilityLevel3 = ValueOf(Util[2]);
    o.AutofocusThreshold = static_cast<int>(*IntegerOf(Threshold));
    o.AutofocusResolution = static_cast<int>(*IntegerOf(Resolution));
    o.Evaluations = *IntegerOf(EvalCount) * 100;
    o.MaxWidth = static_cast<int>(std::min<long long>(*IntegerOf(MaxWidth), kMaxDiagramWidth));
    o.MaxHeight = static_cast<int>(std::min<long long>(*IntegerOf(MaxHeight), kMaxDiagramHeight));
    o.DefaultActionRange = PendingActionRange;
    o.ApplyActionRange = ApplyBox->isChecked();
    o.RangeBarShown = !HideBarBox->isChecked();
    o.DefaultRationality = static_cast<std::uint8_t>(RationalityBox->currentIndex());
    o.Font = PendingFont;
    o.SampleFromDistributions = SampleBox->isChecked();
    o.AdaptGoals = AdaptGoalsBox->isChecked();
    o.MaintainActionRange = ManualActionsBox->isChecked();
    o.RandomSeed = static_cast<std::int32_t>(*IntegerOf(SeedValue));
    o.BaseLevel = static_cast<double>(*IntegerOf(BaseLevel));
    if (UtilityEdited) {
        o.StdUtilityVectors = PendingStd;
        o.NegUtilityVectors = PendingNeg;
    }
    return o;
}

}  // namespace kavo
