#include "views/TAnalysisDlg.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "analyses/TAnalysisCatalog.h"
#include "analyses/TAnalysisField.h"
#include "analyses/TFieldFormat.h"
#include "editing/AnalysisEdits.h"
#include "editing/TEdit.h"
#include "model/Formats.h"
#include "views/TFormatDlg.h"

namespace kavo {

namespace {

enum class TNodeLevel { nlFamily = 0, nlAnalysis = 1, nlField = 2 };

constexpr int kLevelRole = Qt::UserRole;
constexpr int kObjectRole = Qt::UserRole + 1;
constexpr int kSingleSlotWidth = 47;
constexpr int kDoubleSlotWidth = 70;
constexpr std::array<TAnalysisFamily, 4> kFamilies{
    TAnalysisFamily::afCase, TAnalysisFamily::afArena, TAnalysisFamily::afActor,
    TAnalysisFamily::afFactor};

TNodeLevel LevelOf(const QTreeWidgetItem* node) {
    return static_cast<TNodeLevel>(node->data(0, kLevelRole).toInt());
}

template <typename T>
T* ObjectOf(const QTreeWidgetItem* node) {
    return reinterpret_cast<T*>(node->data(0, kObjectRole).value<quintptr>());
}

QTreeWidgetItem* NewNode(QTreeWidgetItem* parent, const QString& text, TNodeLevel level,
                         quintptr object) {
    auto* node = new QTreeWidgetItem(parent, {text});
    node->setData(0, kLevelRole, static_cast<int>(level));
    node->setData(0, kObjectRole, QVariant::fromValue(object));
    return node;
}

bool Formattable(const TAnalysisField& field) {
    switch (field.Kind) {
        case TFieldKind::fkProVal:
        case TFieldKind::fkTactic:
        case TFieldKind::fkDetail:
        case TFieldKind::fkPlot:
            return false;
        default:
            return true;
    }
}

QString CssColor(std::uint32_t color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF))
        .name();
}

}  // namespace

TAnalysisDlg::TAnalysisDlg(TAnalysisCatalog& catalog, QWidget* parent)
    : QDialog(parent, Qt::Tool), Catalog(catalog) {
    setWindowTitle(tr("KAVO analyses"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    FormatBtn = new QToolButton(this);
    FormatBtn->setObjectName(QStringLiteral("FormatBtn"));
    FormatBtn->setText(tr("Change conditional format"));
    FormatBtn->setToolTip(FormatBtn->text());
    ClearBtn = new QToolButton(this);
    ClearBtn->setObjectName(QStringLiteral("ClearBtn"));
    ClearBtn->setText(tr("Clear conditional format"));
    ClearBtn->setToolTip(ClearBtn->text());
    bar->addWidget(FormatBtn);
    bar->addWidget(ClearBtn);
    for (int number = 1; number <= kSlots; ++number) {
        auto* slotLabel = new QLabel(this);
        slotLabel->setObjectName(QStringLiteral("Format%1").arg(number));
        slotLabel->setAlignment(Qt::AlignCenter);
        slotLabel->setFixedSize(kSingleSlotWidth, 22);
        slotLabel->setAutoFillBackground(true);
        slotLabel->installEventFilter(this);
        bar->addWidget(slotLabel);
        Slots[static_cast<std::size_t>(number - 1)] = slotLabel;
    }
    bar->addStretch();
    layout->addLayout(bar);

    auto* split = new QSplitter(Qt::Vertical, this);
    Tree = new QTreeWidget(split);
    Tree->setObjectName(QStringLiteral("AnalysisTree"));
    Tree->setHeaderHidden(true);
    Explanation = new QTextEdit(split);
    Explanation->setObjectName(QStringLiteral("Explanation"));
    Explanation->setReadOnly(true);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    layout->addWidget(split);
    resize(420, 560);

    FillAnalysisTree();
    connect(Tree, &QTreeWidget::itemChanged, this, &TAnalysisDlg::CheckChanged);
    connect(Tree, &QTreeWidget::currentItemChanged, this, &TAnalysisDlg::NodeChanged);
    // The tree stays open: every analysis and field is always in view.
    connect(Tree, &QTreeWidget::itemCollapsed, Tree, &QTreeWidget::expandItem);
    connect(FormatBtn, &QToolButton::clicked, this, &TAnalysisDlg::ChangeFormat);
    connect(ClearBtn, &QToolButton::clicked, this, &TAnalysisDlg::ClearFormat);
    ShowFormats();
}

TAnalysisDlg::~TAnalysisDlg() = default;

void TAnalysisDlg::SetCase(TCase* owningCase, TPerform perform) {
    Case = owningCase;
    Perform = std::move(perform);
    Refresh();
}

void TAnalysisDlg::FillAnalysisTree() {
    Filling = true;
    Tree->clear();
    for (TAnalysisFamily family : kFamilies) {
        auto* familyNode = new QTreeWidgetItem(
            Tree, {QString::fromStdString(TAnalysisCatalog::FamilyCaption(family))});
        familyNode->setData(0, kLevelRole, static_cast<int>(TNodeLevel::nlFamily));
        familyNode->setData(0, kObjectRole, static_cast<int>(family));
        for (const auto& analysis : Catalog.Analyses) {
            if (analysis->Family != family) {
                continue;
            }
            QTreeWidgetItem* analysisNode =
                NewNode(familyNode, QString::fromStdString(analysis->Title), TNodeLevel::nlAnalysis,
                        reinterpret_cast<quintptr>(analysis.get()));
            for (const auto& field : analysis->Fields) {
                NewNode(analysisNode, QString::fromStdString(field->Name), TNodeLevel::nlField,
                        reinterpret_cast<quintptr>(field.get()));
            }
        }
    }
    Filling = false;
    Refresh();
}

void TAnalysisDlg::Refresh() {
    Filling = true;
    const QColor greyed = palette().color(QPalette::Disabled, QPalette::Text);
    const QColor normal = palette().color(QPalette::Active, QPalette::Text);
    const auto show = [&](QTreeWidgetItem* node, bool checked, bool parentChecked) {
        node->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
        node->setForeground(0, parentChecked ? normal : greyed);
        Qt::ItemFlags flags = node->flags();
        node->setFlags(parentChecked ? flags | Qt::ItemIsUserCheckable
                                     : flags & ~Qt::ItemIsUserCheckable);
    };
    for (int f = 0; f < Tree->topLevelItemCount(); ++f) {
        QTreeWidgetItem* familyNode = Tree->topLevelItem(f);
        const bool familyOn = Catalog.FamilySelected[static_cast<std::size_t>(f)];
        show(familyNode, familyOn, true);
        for (int a = 0; a < familyNode->childCount(); ++a) {
            QTreeWidgetItem* analysisNode = familyNode->child(a);
            const auto* analysis = ObjectOf<TAnalysis>(analysisNode);
            show(analysisNode, analysis->Selected, familyOn);
            const bool analysisOn = familyOn && analysis->Selected;
            for (int i = 0; i < analysisNode->childCount(); ++i) {
                show(analysisNode->child(i),
                     ObjectOf<TAnalysisField>(analysisNode->child(i))->Selected, analysisOn);
            }
        }
    }
    Filling = false;
}

QTreeWidgetItem* TAnalysisDlg::FamilyNode(TAnalysisFamily family) const {
    return Tree->topLevelItem(static_cast<int>(family));
}

QTreeWidgetItem* TAnalysisDlg::AnalysisNode(const TAnalysis& analysis) const {
    QTreeWidgetItem* familyNode = FamilyNode(analysis.Family);
    for (int i = 0; i < familyNode->childCount(); ++i) {
        if (ObjectOf<TAnalysis>(familyNode->child(i)) == &analysis) {
            return familyNode->child(i);
        }
    }
    return nullptr;
}

TAnalysisField* TAnalysisDlg::SelectedField() const {
    const QTreeWidgetItem* node = Tree->currentItem();
    return node != nullptr && LevelOf(node) == TNodeLevel::nlField ? ObjectOf<TAnalysisField>(node)
                                                                   : nullptr;
}

void TAnalysisDlg::CheckChanged(QTreeWidgetItem* node, int column) {
    if (Filling || column != 0) {
        return;
    }
    const bool checked = node->checkState(0) == Qt::Checked;
    TEdit edit;
    switch (LevelOf(node)) {
        case TNodeLevel::nlFamily:
            SetFamilySelected(edit, Case, Catalog,
                              static_cast<TAnalysisFamily>(node->data(0, kObjectRole).toInt()),
                              checked);
            break;
        case TNodeLevel::nlAnalysis:
            SetAnalysisSelected(edit, Case, Catalog, *ObjectOf<TAnalysis>(node), checked);
            break;
        case TNodeLevel::nlField:
            SetFieldSelected(edit, Case, Catalog, *ObjectOf<TAnalysisField>(node), checked);
            break;
    }
    if (Case != nullptr && Perform) {
        Perform(std::move(edit));
    }
    Refresh();
}

void TAnalysisDlg::NodeChanged() {
    Explanation->clear();
    const QTreeWidgetItem* node = Tree->currentItem();
    if (node != nullptr) {
        std::string text;
        switch (LevelOf(node)) {
            case TNodeLevel::nlFamily:
                text = TAnalysisCatalog::FamilyExplanation(
                    static_cast<TAnalysisFamily>(node->data(0, kObjectRole).toInt()));
                break;
            case TNodeLevel::nlAnalysis:
                text = ObjectOf<TAnalysis>(node)->Description;
                break;
            case TNodeLevel::nlField:
                text = ObjectOf<TAnalysisField>(node)->Hint;
                break;
        }
        Explanation->setPlainText(QString::fromStdString(text));
        Explanation->moveCursor(QTextCursor::Start);
    }
    const TAnalysisField* field = SelectedField();
    if (field == nullptr || !Formattable(*field)) {
        Current.reset();
    } else if (field->Formats.empty()) {
        Current = 1;
    } else if (Current && *Current > static_cast<int>(field->Formats.size()) + 1) {
        // The slot after the last format is the furthest one that can take a new format.
        Current = static_cast<int>(field->Formats.size()) + 1;
    }
    ShowFormats();
}

QString TAnalysisDlg::SlotText(const TFieldFormat& format) {
    static const std::array<QString, 9> kSymbols{
        QStringLiteral("="),      QStringLiteral("\u2248"), QStringLiteral("\u2260"),
        QStringLiteral("<"),      QStringLiteral("\u2264"), QStringLiteral(">"),
        QStringLiteral("\u2265"), QStringLiteral("\u2208"), QStringLiteral("\u2209")};
    const auto relation = static_cast<std::size_t>(format.Relation);
    if (relation >= kSymbols.size()) {
        return QStringLiteral("?");
    }
    const QString upper = QString::fromStdString(FormatNumber(format.UpperValue));
    if (format.Relation == TFormatRelation::frBetween ||
        format.Relation == TFormatRelation::frNotBetween) {
        return kSymbols[relation] + QStringLiteral(" [") + upper + QStringLiteral(",") +
               QString::fromStdString(FormatNumber(format.LowerValue)) + QStringLiteral("]");
    }
    return kSymbols[relation] + QStringLiteral(" ") + upper;
}

void TAnalysisDlg::ShowFormats() {
    const TAnalysisField* field = SelectedField();
    const bool formattable = field != nullptr && Formattable(*field);
    if (!formattable) {
        Current.reset();
    }
    const int count = formattable ? static_cast<int>(field->Formats.size()) : 0;
    for (int number = 1; number <= kSlots; ++number) {
        QLabel* slotLabel = Slot(number);
        QString style = QStringLiteral("background: palette(button);");
        QString text;
        bool enabled = true;
        int width = kSingleSlotWidth;
        if (formattable && number <= count) {
            const TFieldFormat& format = field->Formats[static_cast<std::size_t>(number - 1)];
            text = SlotText(format);
            if (format.Relation == TFormatRelation::frBetween ||
                format.Relation == TFormatRelation::frNotBetween) {
                width = kDoubleSlotWidth;
            }
            style = QStringLiteral("background: %1; color: black;%2%3%4")
                        .arg(CssColor(format.Color),
                             format.Bold ? QStringLiteral(" font-weight: bold;") : QString(),
                             format.Italic ? QStringLiteral(" font-style: italic;") : QString(),
                             format.Underline ? QStringLiteral(" text-decoration: underline;")
                                              : QString());
        } else if (formattable && number == count + 1) {
            text = QStringLiteral("?");
            style = QStringLiteral("background: palette(window); color: silver;");
        } else {
            enabled = false;
        }
        if (Current && *Current == number) {
            style += QStringLiteral(" border: 1px solid black;");
        }
        slotLabel->setText(text);
        slotLabel->setStyleSheet(style);
        slotLabel->setEnabled(enabled);
        slotLabel->setFixedWidth(width);
    }
    FormatBtn->setEnabled(Current.has_value());
    ClearBtn->setEnabled(Current.has_value());
}

void TAnalysisDlg::ChooseSlot(int number) {
    if (!Slot(number)->isEnabled()) {
        return;
    }
    Current = number;
    ShowFormats();
}

bool TAnalysisDlg::EditFormatModally(TFieldFormat& format) {
    if (EditFormat) {
        return EditFormat(format);
    }
    TFormatDlg dialog(format, this);
    // Centred on the main window.
    if (QWidget* main = parentWidget()) {
        dialog.adjustSize();
        dialog.move(main->geometry().center() - dialog.rect().center());
    }
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    format = dialog.Format();
    return true;
}

void TAnalysisDlg::ChangeFormat() {
    TAnalysisField* field = SelectedField();
    if (!Current || field == nullptr) {
        return;
    }
    const auto position = static_cast<std::size_t>(*Current - 1);
    while (field->Formats.size() <= position) {
        field->Formats.emplace_back();
    }
    TFieldFormat format = field->Formats[position];
    if (EditFormatModally(format)) {
        field->Formats[position] = format;
    }
    // A new format whose relation the user never chose is no format.
    if (field->Formats[position].Relation == TFormatRelation::frUnset) {
        field->Formats.erase(field->Formats.begin() + static_cast<std::ptrdiff_t>(position));
    }
    ShowFormats();
}

void TAnalysisDlg::ClearFormat() {
    TAnalysisField* field = SelectedField();
    if (Current && field != nullptr && static_cast<int>(field->Formats.size()) >= *Current) {
        field->Formats.erase(field->Formats.begin() + (*Current - 1));
    }
    ShowFormats();
}

bool TAnalysisDlg::eventFilter(QObject* watched, QEvent* event) {
    for (int number = 1; number <= kSlots; ++number) {
        if (watched != Slot(number)) {
            continue;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            ChooseSlot(number);
            return true;
        }
        if (event->type() == QEvent::MouseButtonDblClick && Slot(number)->isEnabled()) {
            ChooseSlot(number);
            ChangeFormat();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAnalysisDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Refresh();
    Tree->expandAll();
    if (Tree->topLevelItemCount() > 0) {
        Tree->setCurrentItem(Tree->topLevelItem(0));
        Tree->scrollToTop();
    }
    if (!Placed && parentWidget() != nullptr) {
        Placed = true;
        const QRect main = parentWidget()->frameGeometry();
        move(main.right() - width() - 40, main.top() + 80);
    }
}

}  // namespace kavo
