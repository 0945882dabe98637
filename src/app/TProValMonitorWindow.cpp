#include "app/TProValMonitorWindow.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace kavo {

namespace {

constexpr int kDefaultPosition = 50;
constexpr int kRedrawMilliseconds = 250;
constexpr double kUnobserved = 1e99;

QLineSeries* Line(const QString& name, const std::vector<double>& values, const QColor& color) {
    auto* series = new QLineSeries;
    series->setName(name);
    for (std::size_t i = 0; i < values.size(); ++i) {
        // A period in which no distribution had pairs leaves the extremes at their start values.
        if (std::abs(values[i]) < kUnobserved) {
            series->append(static_cast<double>(i + 1), values[i]);
        }
    }
    series->setPen(QPen(color, 1));
    return series;
}

}  // namespace

TProValMonitorWindow::TProValMonitorWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      TypeBox(new QComboBox(this)),
      VariableBox(new QComboBox(this)),
      SampleUpDown(new QSpinBox(this)),
      PeriodLabel(new QLabel(this)),
      View(new QChartView(this)),
      RedrawTimer(new QTimer(this)) {
    setWindowTitle(tr("ProVal monitor"));
    setObjectName(QStringLiteral("proValMonitor"));
    resize(520, 360);
    TypeBox->setObjectName(QStringLiteral("TypeBox"));
    TypeBox->setToolTip(tr("ProVal type"));
    TypeBox->addItems({tr("Undefined"), tr("Change"), tr("Multiplier"), tr("Utility"),
                       tr("Satisfaction"), tr("Frustration")});
    TypeBox->setCurrentIndex(1);
    VariableBox->setObjectName(QStringLiteral("VariableBox"));
    VariableBox->setToolTip(tr("Variable"));
    VariableBox->addItems({tr("Count"), tr("Probability"), tr("Value"), tr("Cumulation")});
    SampleUpDown->setObjectName(QStringLiteral("SampleUpDown"));
    SampleUpDown->setRange(10, 100000);
    SampleUpDown->setValue(kDefaultPosition);
    SampleUpDown->setToolTip(tr("Observations per point, in tens"));
    PeriodLabel->setObjectName(QStringLiteral("SamplePeriod"));
    auto* reset = new QPushButton(tr("Reset"), this);
    reset->setObjectName(QStringLiteral("ResetBtn"));

    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(tr("ProVal type"), this));
    controls->addWidget(TypeBox);
    controls->addWidget(new QLabel(tr("Variable"), this));
    controls->addWidget(VariableBox);
    controls->addStretch(1);
    controls->addWidget(SampleUpDown);
    controls->addWidget(PeriodLabel);
    controls->addWidget(reset);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(View, 1);
    View->setRenderHint(QPainter::Antialiasing);

    RedrawTimer->setSingleShot(true);
    RedrawTimer->setInterval(kRedrawMilliseconds);
    connect(RedrawTimer, &QTimer::timeout, this, &TProValMonitorWindow::Redraw);
    connect(TypeBox, &QComboBox::currentIndexChanged, this, &TProValMonitorWindow::Redraw);
    connect(VariableBox, &QComboBox::currentIndexChanged, this, &TProValMonitorWindow::Redraw);
    connect(SampleUpDown, &QSpinBox::valueChanged, this, &TProValMonitorWindow::SetSamplePosition);
    connect(reset, &QPushButton::clicked, this, &TProValMonitorWindow::ResetMonitor);
    SetSamplePosition(kDefaultPosition);
    Redraw();
}

void TProValMonitorWindow::Observe(std::string_view operation, const TProVal& distribution) {
    if (!isVisible()) {
        show();
    }
    Gathered.Observe(operation, distribution);
    if (Gathered.Points() != DrawnPoints && !RedrawTimer->isActive()) {
        RedrawTimer->start();
    }
}

void TProValMonitorWindow::SetSamplePosition(int position) {
    if (SampleUpDown->value() != position) {
        SampleUpDown->setValue(position);
    }
    Gathered.SetSamplePeriod(10 * position);
    PeriodLabel->setText(QString::number(Gathered.SamplePeriod()));
}

void TProValMonitorWindow::Choose(int kind, TProValStatistics::TVariable variable) {
    TypeBox->setCurrentIndex(kind);
    VariableBox->setCurrentIndex(variable);
}

void TProValMonitorWindow::ResetMonitor() {
    Gathered.Reset();
    Redraw();
}

void TProValMonitorWindow::Redraw() {
    DrawnPoints = Gathered.Points();
    const int kind = std::max(TypeBox->currentIndex(), 0);
    const auto variable =
        static_cast<TProValStatistics::TVariable>(std::max(VariableBox->currentIndex(), 0));
    const TProValStatistics::TLines& lines = Gathered.Lines(kind, variable);
    auto* chart = new QChart;
    chart->setTitle(TypeBox->currentText() + QStringLiteral(": ") + VariableBox->currentText());
    chart->addSeries(Line(tr("Maximum"), lines.Maximum, QColor(0xe0, 0x30, 0x30)));
    chart->addSeries(Line(tr("Mean"), lines.Mean, QColor(0x20, 0x60, 0xd0)));
    chart->addSeries(Line(tr("Minimum"), lines.Minimum, QColor(0x20, 0xa0, 0x40)));
    chart->createDefaultAxes();
    chart->legend()->setAlignment(Qt::AlignBottom);
    QChart* old = View->chart();
    View->setChart(chart);
    delete old;
}

}  // namespace kavo
