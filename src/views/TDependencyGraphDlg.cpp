#include "views/TDependencyGraphDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QResizeEvent>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "analyses/PajekNetwork.h"
#include "analyses/TGraphDrawing.h"
#include "model/Formats.h"
#include "model/TMessages.h"
#include "qtgui/DiagramPictures.h"
#include "qtgui/QtConversions.h"

namespace kavo {

namespace {

constexpr int kPanelWidth = 210;
const QString kPictureName = QStringLiteral("Resource dependency graph");
constexpr const char* kSelectFirst = "Please select indicator to set scale range for";

}  // namespace

TDependencyGraphDlg::TDependencyGraphDlg(TMessages& messages, QWidget* parent)
    : QDialog(parent, Qt::Tool),
      Messages(messages),
      Drawing(std::make_unique<TGraphDrawing>(Model)) {
    setWindowTitle(tr("Dependency graph"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(CreatePanel());
    PictureLabel = new QLabel(this);
    PictureLabel->setMinimumSize(200, 200);
    PictureLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    layout->addWidget(PictureLabel, 1);
    resize(kPanelWidth + 620, 460);
    EnableScaleControls(false);
}

TDependencyGraphDlg::~TDependencyGraphDlg() = default;

QWidget* TDependencyGraphDlg::CreatePanel() {
    auto* panel = new QWidget(this);
    panel->setFixedWidth(kPanelWidth);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(new QLabel(tr("Relations to be plotted"), panel));
    IndicatorList = new QListWidget(panel);
    column->addWidget(IndicatorList, 1);
    auto* form = new QFormLayout;
    High = new QLineEdit(panel);
    Low = new QLineEdit(panel);
    form->addRow(tr("High:"), High);
    form->addRow(tr("Low:"), Low);
    column->addLayout(form);
    Symmetric = new QCheckBox(tr("Symmetric around 0"), panel);
    Symmetric->setToolTip(tr("Check this to render + and - in different colors"));
    column->addWidget(Symmetric);
    auto* levelsRow = new QHBoxLayout;
    Levels = new QSpinBox(panel);
    Levels->setRange(2, 99);
    Levels->setValue(5);
    LevelsLabel = new QLabel(panel);
    levelsRow->addWidget(new QLabel(tr("Levels:"), panel));
    levelsRow->addWidget(Levels);
    levelsRow->addWidget(LevelsLabel, 1);
    column->addLayout(levelsRow);
    auto* colours = new QHBoxLayout;
    PlotColorBox = new QToolButton(panel);
    PlotColorBox->setToolTip(tr("Click to change color for in which this indicator is plotted"));
    NegativeColorBox = new QToolButton(panel);
    NegativeColorBox->setToolTip(tr("Click to set color for negative values"));
    NegativeColorBox->hide();
    colours->addWidget(PlotColorBox);
    colours->addWidget(NegativeColorBox);
    colours->addStretch(1);
    column->addLayout(colours);
    auto* scaleButtons = new QHBoxLayout;
    SetBtn = new QPushButton(tr("Set"), panel);
    ResetBtn = new QPushButton(tr("Reset"), panel);
    scaleButtons->addWidget(SetBtn);
    scaleButtons->addWidget(ResetBtn);
    column->addLayout(scaleButtons);
    column->addWidget(new QLabel(tr("Space between node & arrows:"), panel));
    Space = new QSpinBox(panel);
    Space->setRange(10, 999);
    Space->setValue(20);
    Space->setToolTip(tr("Click to have more/less blank space around nodes"));
    column->addWidget(Space);
    CopyBtn = new QPushButton(tr("Copy graph"), panel);
    PajekBtn = new QPushButton(tr("Pajek"), panel);
    PajekBtn->setToolTip(tr("Copy graph in Pajek code"));
    auto* closeBtn = new QPushButton(tr("Close window"), panel);
    column->addWidget(CopyBtn);
    column->addWidget(PajekBtn);
    column->addWidget(closeBtn);

    connect(IndicatorList, &QListWidget::currentRowChanged, this,
            &TDependencyGraphDlg::IndicatorSelected);
    connect(IndicatorList, &QListWidget::itemChanged, this, &TDependencyGraphDlg::IndicatorChecked);
    connect(Symmetric, &QCheckBox::toggled, NegativeColorBox, &QWidget::setVisible);
    connect(Levels, &QSpinBox::valueChanged, this,
            [this](int value) { LevelsLabel->setText(QString::number(value)); });
    connect(PlotColorBox, &QToolButton::clicked, this, [this] { ChooseColor(PlotColorBox); });
    connect(NegativeColorBox, &QToolButton::clicked, this,
            [this] { ChooseColor(NegativeColorBox); });
    connect(SetBtn, &QPushButton::clicked, this, &TDependencyGraphDlg::SetScale);
    connect(ResetBtn, &QPushButton::clicked, this, &TDependencyGraphDlg::ResetScale);
    connect(Space, &QSpinBox::valueChanged, this, &TDependencyGraphDlg::Redraw);
    connect(CopyBtn, &QPushButton::clicked, this, &TDependencyGraphDlg::CopyGraph);
    connect(PajekBtn, &QPushButton::clicked, this, &TDependencyGraphDlg::CopyPajek);
    connect(closeBtn, &QPushButton::clicked, this, &QDialog::close);
    return panel;
}

void TDependencyGraphDlg::ClearGraph(const std::string& caption, const std::string& legend) {
    Model.ClearGraph(caption, legend);
    setWindowTitle(ToQString(caption));
    Filling = true;
    IndicatorList->clear();
    Filling = false;
    High->clear();
    Low->clear();
    Symmetric->setChecked(false);
    Levels->setValue(5);
    LevelsLabel->clear();
    EnableScaleControls(false);
}

void TDependencyGraphDlg::AddIndicator(const std::string& name) {
    const std::size_t before = Model.Indicators.size();
    Model.AddIndicator(name);
    if (Model.Indicators.size() == before) {
        return;
    }
    Filling = true;
    auto* item = new QListWidgetItem(ToQString(name), IndicatorList);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Model.Indicators.back().Checked ? Qt::Checked : Qt::Unchecked);
    Filling = false;
}

void TDependencyGraphDlg::AddNode(const std::string& name) {
    Model.AddNode(name);
    Redraw();
}

void TDependencyGraphDlg::AddArrow(const std::string& from, const std::string& to,
                                   const std::string& cellText) {
    Model.AddArrow(from, to, cellText);
    Redraw();
}

void TDependencyGraphDlg::ShowGraph() {
    show();
    raise();
    Redraw();
}

int TDependencyGraphDlg::SelectedIndicator() const {
    const int row = IndicatorList->currentRow();
    return row >= 0 && row < static_cast<int>(Model.Indicators.size()) ? row : -1;
}

void TDependencyGraphDlg::EnableScaleControls(bool enabled) {
    for (QWidget* control : std::initializer_list<QWidget*>{
             High, Low, Symmetric, Levels, PlotColorBox, NegativeColorBox, SetBtn, ResetBtn}) {
        control->setEnabled(enabled);
    }
}

void TDependencyGraphDlg::PaintColorBox(QToolButton* box, TColor color) {
    QPixmap swatch(16, 16);
    swatch.fill(ToQColor(color));
    box->setIcon(QIcon(swatch));
}

void TDependencyGraphDlg::ShowScale(const TScale& scale) {
    High->setText(ToQString(FormatProbability(scale.HighEnd)));
    Low->setText(ToQString(FormatProbability(scale.LowEnd)));
    Symmetric->setChecked(scale.Symmetric);
    NegativeColorBox->setVisible(scale.Symmetric);
    Levels->setValue(scale.LevelCount);
    LevelsLabel->setText(QString::number(scale.LevelCount));
    PlotColor = scale.PlotColor;
    NegativeColor = scale.NegativeColor;
    PaintColorBox(PlotColorBox, PlotColor);
    PaintColorBox(NegativeColorBox, NegativeColor);
}

void TDependencyGraphDlg::IndicatorSelected() {
    const int selected = SelectedIndicator();
    if (selected < 0) {
        EnableScaleControls(false);
        return;
    }
    ShowScale(Model.Indicators[static_cast<std::size_t>(selected)].Scale);
    EnableScaleControls(true);
}

void TDependencyGraphDlg::IndicatorChecked() {
    if (Filling) {
        return;
    }
    for (int row = 0; row < IndicatorList->count(); ++row) {
        Model.Indicators[static_cast<std::size_t>(row)].Checked =
            IndicatorList->item(row)->checkState() == Qt::Checked;
    }
    Redraw();
}

void TDependencyGraphDlg::ChooseColor(QToolButton* box) {
    if (SelectedIndicator() < 0) {
        return;
    }
    TColor& color = box == PlotColorBox ? PlotColor : NegativeColor;
    const QColor chosen = QColorDialog::getColor(ToQColor(color), this);
    if (!chosen.isValid()) {
        return;
    }
    color = {static_cast<std::uint8_t>(chosen.red()), static_cast<std::uint8_t>(chosen.green()),
             static_cast<std::uint8_t>(chosen.blue())};
    PaintColorBox(box, color);
}

void TDependencyGraphDlg::SetScale() {
    const int selected = SelectedIndicator();
    if (selected < 0) {
        Messages.ShowInformation(kSelectFirst);
        return;
    }
    double high = TScale::ValueOf(High->text().toStdString());
    double low = TScale::ValueOf(Low->text().toStdString());
    if (high < low) {
        std::swap(high, low);
    }
    if (Symmetric->isChecked()) {
        high = std::max(std::abs(high), std::abs(low));
        low = -high;
    }
    High->setText(ToQString(FormatProbability(high)));
    Low->setText(ToQString(FormatProbability(low)));
    TScale& scale = Model.Indicators[static_cast<std::size_t>(selected)].Scale;
    scale.HighEnd = high;
    scale.LowEnd = low;
    scale.Symmetric = Symmetric->isChecked();
    scale.LevelCount = Levels->value();
    scale.PlotColor = PlotColor;
    scale.NegativeColor = NegativeColor;
    NegativeColorBox->setVisible(scale.Symmetric);
    Redraw();
}

void TDependencyGraphDlg::ResetScale() {
    const int selected = SelectedIndicator();
    if (selected < 0) {
        Messages.ShowInformation(kSelectFirst);
        return;
    }
    Model.ResetScale(static_cast<std::size_t>(selected));
    TScale& scale = Model.Indicators[static_cast<std::size_t>(selected)].Scale;
    scale.Symmetric = false;
    scale.LevelCount = 5;
    ShowScale(scale);
    Redraw();
}

void TDependencyGraphDlg::Redraw() {
    Drawing->Width = std::max(1, PictureLabel->width());
    Drawing->Height = std::max(1, PictureLabel->height());
    Drawing->Space = Space->value();
    PictureLabel->setPixmap(QPixmap::fromImage(DrawnImage(
        {Drawing->Width, Drawing->Height}, [this](TCanvas& canvas) { Drawing->Draw(canvas); })));
}

void TDependencyGraphDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Redraw();
}

void TDependencyGraphDlg::CopyGraph() {
    const QSize size(Drawing->Width, Drawing->Height);
    const TDrawing draw = [this](TCanvas& canvas) { Drawing->Draw(canvas); };
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/svg+xml"), DrawnSvg(size, draw, kPictureName));
    data->setImageData(DrawnImage(size, draw));
    const TPajekText text = PajekNetworks(Model);
    if (text.Text) {
        data->setText(ToQString(*text.Text));
    }
    QApplication::clipboard()->setMimeData(data);
}

void TDependencyGraphDlg::CopyPajek() {
    const TPajekText text = PajekNetworks(Model);
    if (!text.Text) {
        Messages.ShowWarning(text.Refusal);
        return;
    }
    QApplication::clipboard()->setText(ToQString(*text.Text));
    if (text.ArcsLeftOut > 0) {
        Messages.ShowWarning(std::to_string(text.ArcsLeftOut) +
                             " arrows left out of the Pajek text: an end is no node of the graph");
    }
}

}  // namespace kavo
