#include "app/TRoundPlotWindow.h"

#include <QApplication>
#include <QBuffer>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStatusBar>
#include <QSvgGenerator>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "diagram/GoalChart.h"
#include "model/TCase.h"
#include "model/TGroup.h"
#include "model/TMessages.h"
#include "qtgui/QtConversions.h"
#include "qtgui/TQtCanvas.h"

namespace kavo {

namespace {

const char* const kPlotTypes[] = {"Tactics",   "Changes",      "Goals",
                                  "Utilities", "Satisfaction", "Frustration"};
const QString kNoSelection = QStringLiteral("no selection");

// Sixteen colours that tell lines apart; after sixteen series the next line style.
const QColor kSeriesColors[] = {
    QColor(0x20, 0x9f, 0xdf), QColor(0x99, 0xca, 0x53), QColor(0xf6, 0xa6, 0x25),
    QColor(0x6d, 0x5f, 0xd5), QColor(0xbf, 0x59, 0x3e), QColor(0xe0, 0x30, 0x30),
    QColor(0x2e, 0x8b, 0x57), QColor(0x80, 0x80, 0x80), QColor(0xd0, 0x40, 0xc0),
    QColor(0x40, 0x40, 0xa0), QColor(0xa0, 0x80, 0x20), QColor(0x00, 0xa0, 0xa0),
    QColor(0x60, 0x30, 0x10), QColor(0xff, 0x70, 0x90), QColor(0x50, 0x50, 0x50),
    QColor(0x90, 0xb0, 0xff)};
const Qt::PenStyle kLineStyles[] = {Qt::SolidLine,      Qt::DashLine,  Qt::DotLine, Qt::DashDotLine,
                                    Qt::DashDotDotLine, Qt::SolidLine, Qt::DashLine};

QPen SeriesPen(std::size_t index) {
    QPen pen(kSeriesColors[index % 16]);
    pen.setWidth(1);
    pen.setStyle(kLineStyles[(index / 16) % 7]);
    return pen;
}

QList<QPointF> LinePoints(const TPlotSeries& series) {
    QList<QPointF> points;
    for (const TPlotPoint& point : series.Points) {
        if (series.Stairs && !points.isEmpty()) {
            points.append(QPointF(point.X, points.last().y()));
        }
        points.append(QPointF(point.X, point.Y));
    }
    return points;
}

// The fixed left axis: value ticks, or ticks that all read "0" for the lines of the actions chart,
// each of which has a base of its own.
QAbstractAxis* LeftAxis(const TPlotAxis& fixed) {
    if (fixed.ZeroLabels) {
        auto* axis = new QCategoryAxis;
        axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        axis->setRange(fixed.Minimum, fixed.Maximum);
        QString label = QStringLiteral("0");
        for (double tick = fixed.Minimum + fixed.Tick; tick <= fixed.Maximum; tick += fixed.Tick) {
            // Labels must differ, so each "0" gets a blank more.
            axis->append(label, tick);
            label += QLatin1Char(' ');
        }
        return axis;
    }
    auto* axis = new QValueAxis;
    axis->setRange(fixed.Minimum, fixed.Maximum);
    // An explicit format: without one the axis makes room for shorter labels than it draws and
    // cuts the negative ones short ("-0....").
    const bool whole =
        fixed.Tick == std::floor(fixed.Tick) && fixed.Minimum == std::floor(fixed.Minimum);
    const bool halves = fixed.Tick * 2 == std::floor(fixed.Tick * 2) &&
                        fixed.Minimum * 2 == std::floor(fixed.Minimum * 2);
    axis->setLabelFormat(whole ? QStringLiteral("%.0f")
                               : (halves ? QStringLiteral("%.1f") : QStringLiteral("%.2f")));
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(fixed.Minimum);
    axis->setTickInterval(fixed.Tick);
    return axis;
}

QAbstractAxis* FreeAxis(const TPlotData& data) {
    double low = 0;
    double high = 0;
    for (const TPlotSeries& series : data.Series) {
        for (const TPlotPoint& point : series.Points) {
            low = std::min(low, point.Y);
            high = std::max(high, point.Y);
        }
    }
    auto* axis = new QValueAxis;
    axis->setRange(low, high > low ? high : low + 1);
    axis->applyNiceNumbers();
    return axis;
}

TGoalChart GoalChartOf(const TPlotData& data) {
    TGoalChart chart{data.Title, data.Columns, {}, {}};
    for (const TGoalRow& row : data.Rows) {
        chart.Labels.push_back(row.Label);
        chart.Cells.push_back(row.Goals);
    }
    return chart;
}

QImage DrawnGoals(const TGoalChart& chart) {
    QImage measure(1, 1, QImage::Format_RGB32);
    QPainter measurePainter(&measure);
    TQtCanvas measureCanvas(measurePainter);
    const TPoint size = GoalChartSize(measureCanvas, chart);
    QImage image(std::max(size.X, 1), std::max(size.Y, 1), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TQtCanvas canvas(painter);
    DrawGoalChart(canvas, chart);
    return image;
}

}  // namespace

TRoundPlotWindow::TRoundPlotWindow(TMessages& messages, QWidget* parent)
    : QWidget(parent, Qt::Window),
      Messages(messages),
      PlotType(new QComboBox(this)),
      ActorGroup(new QComboBox(this)),
      FactorGroup(new QComboBox(this)),
      GroupSelector(new QComboBox(this)),
      Pages(new QStackedWidget(this)),
      View(new QChartView(this)),
      GoalsView(new QLabel(this)),
      Status(new QStatusBar(this)),
      CopyButton(new QPushButton(tr("Copy graph"), this)) {
    setWindowTitle(tr("Visualisation of simulation results"));
    setObjectName(QStringLiteral("roundPlotWindow"));
    resize(760, 520);
    for (const char* type : kPlotTypes) {
        PlotType->addItem(QString::fromLatin1(type));
    }
    PlotType->setObjectName(QStringLiteral("PlotType"));
    ActorGroup->setObjectName(QStringLiteral("ActorGroup"));
    FactorGroup->setObjectName(QStringLiteral("FactorGroup"));
    GroupSelector->setObjectName(QStringLiteral("AGroupSelector"));
    GroupSelector->addItems({tr("to perceptions"), tr("to factors"), tr("to both")});
    GroupSelector->setToolTip(tr("Apply group filter"));

    auto* controls = new QHBoxLayout;
    controls->addWidget(PlotType);
    controls->addWidget(new QLabel(tr("Actors:"), this));
    controls->addWidget(ActorGroup, 1);
    controls->addWidget(new QLabel(tr("Factors:"), this));
    controls->addWidget(FactorGroup, 1);
    controls->addWidget(new QLabel(tr("Apply group filter"), this));
    controls->addWidget(GroupSelector);

    View->setObjectName(QStringLiteral("Chart"));
    View->setRenderHint(QPainter::Antialiasing);
    auto* goalsScroller = new QScrollArea(this);
    goalsScroller->setObjectName(QStringLiteral("Overlay"));
    goalsScroller->setWidget(GoalsView);
    goalsScroller->setBackgroundRole(QPalette::Base);
    goalsScroller->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Pages->addWidget(View);
    Pages->addWidget(goalsScroller);

    CopyButton->setObjectName(QStringLiteral("CopyGraph"));
    auto* closeButton = new QPushButton(tr("Close window"), this);
    closeButton->setObjectName(QStringLiteral("CloseWindow"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Status, 1);
    buttons->addWidget(CopyButton);
    buttons->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(Pages, 1);
    layout->addLayout(buttons);

    ChooseColor = [this]() -> std::optional<TColorChoice> {
        const QColor color = QColorDialog::getColor(Qt::blue, this);
        if (!color.isValid()) {
            return std::nullopt;
        }
        return TColorChoice{color, color.darker(200), color.darker(400)};
    };
    const auto refresh = [this] {
        if (!Filling) {
            RefreshPlot();
        }
    };
    connect(PlotType, &QComboBox::currentIndexChanged, this, refresh);
    connect(ActorGroup, &QComboBox::currentIndexChanged, this, refresh);
    connect(FactorGroup, &QComboBox::currentIndexChanged, this, refresh);
    connect(GroupSelector, &QComboBox::currentIndexChanged, this, refresh);
    connect(CopyButton, &QPushButton::clicked, this, &TRoundPlotWindow::CopyGraph);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::hide);
}

QChart* TRoundPlotWindow::Chart() const {
    return View->chart();
}

void TRoundPlotWindow::SelectPlot(TPlotType type) {
    PlotType->setCurrentIndex(static_cast<int>(type));
}

TPlotType TRoundPlotWindow::SelectedPlot() const {
    return static_cast<TPlotType>(std::max(PlotType->currentIndex(), 0));
}

QString TRoundPlotWindow::StatusText() const {
    return Status->currentMessage();
}

void TRoundPlotWindow::ShowPlot(TCase& plotted) {
    Plotted = &plotted;
    FillGroupLists();
    show();
    raise();
    RefreshPlot();
}

void TRoundPlotWindow::Forget(const TCase* closing) {
    if (closing != nullptr && closing == Plotted) {
        Plotted = nullptr;
        hide();
    }
}

void TRoundPlotWindow::CaseChanged(const TCase* changed) {
    if (changed != nullptr && changed == Plotted && isVisible()) {
        RefreshPlot();
    }
}

// The case's checked groups of each kind, keeping the selection where its group is still there.
void TRoundPlotWindow::FillGroupLists() {
    Filling = true;
    for (QComboBox* box : {ActorGroup, FactorGroup}) {
        const QString selected = box->currentText();
        const TGroupKind kind = box == ActorGroup ? TGroupKind::gkActor : TGroupKind::gkFactor;
        box->clear();
        box->addItem(kNoSelection);
        for (const auto& group : Plotted->GroupList) {
            if (group->Checked && group->GroupKind == kind) {
                box->addItem(ToQString(group->Name));
            }
        }
        box->setCurrentIndex(std::max(box->findText(selected), 0));
    }
    Filling = false;
}

QString TRoundPlotWindow::GroupName(const QComboBox* box) const {
    return box->currentIndex() > 0 ? box->currentText() : QString();
}

TPlotData TRoundPlotWindow::Compute() const {
    const TRoundPlot plot(*Plotted, GroupName(ActorGroup).toStdString(),
                          GroupName(FactorGroup).toStdString(),
                          static_cast<TGroupFilter>(std::max(GroupSelector->currentIndex(), 0)));
    return plot.Compute(SelectedPlot());
}

void TRoundPlotWindow::RefreshPlot() {
    if (Plotted == nullptr) {
        return;
    }
    const TPlotType type = SelectedPlot();
    const TPlotData data = Compute();
    Status->clearMessage();
    View->setToolTip(type == TPlotType::ptChanges
                         ? tr("Factors having a constant value are not shown")
                         : QString());
    if (!data.Error.empty()) {
        FillChart(TPlotData{});
        Pages->setCurrentIndex(0);
        Messages.ShowError(data.Error);
        return;
    }
    if (type == TPlotType::ptGoals) {
        ShowGoals(data);
        Pages->setCurrentIndex(1);
    } else {
        FillChart(data);
        Pages->setCurrentIndex(0);
    }
}

void TRoundPlotWindow::FillChart(const TPlotData& data) {
    auto* chart = new QChart;
    chart->setTitle(ToQString(data.Title));
    double rounds = 1;
    for (std::size_t i = 0; i < data.Series.size(); ++i) {
        const TPlotSeries& source = data.Series[i];
        auto* series = new QLineSeries(chart);
        series->setName(ToQString(source.Name));
        series->append(LinePoints(source));
        series->setPen(SeriesPen(i));
        chart->addSeries(series);
        connect(series, &QLineSeries::clicked, this, [this, series] { SeriesClicked(series); });
        if (!source.Points.empty()) {
            rounds = std::max(rounds, source.Points.back().X);
        }
    }
    auto* x = new QValueAxis;
    x->setRange(0, rounds);
    x->setLabelFormat(QStringLiteral("%d"));
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(0);
    x->setTickInterval(std::max(1.0, std::ceil(rounds / 20)));
    x->setTitleText(tr("Round"));
    QAbstractAxis* y = data.Axis ? LeftAxis(*data.Axis) : FreeAxis(data);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
    chart->legend()->setAlignment(Qt::AlignRight);
    chart->legend()->setReverseMarkers(data.LegendInverted);
    for (QLegendMarker* marker : chart->legend()->markers()) {
        connect(marker, &QLegendMarker::clicked, this,
                [this, marker] { SeriesClicked(qobject_cast<QLineSeries*>(marker->series())); });
    }
    QChart* old = View->chart();
    View->setChart(chart);
    delete old;
}

void TRoundPlotWindow::ShowGoals(const TPlotData& data) {
    GoalsPicture = DrawnGoals(GoalChartOf(data));
    GoalsView->setPixmap(QPixmap::fromImage(GoalsPicture));
    GoalsView->resize(GoalsPicture.size());
}

void TRoundPlotWindow::SeriesClicked(QLineSeries* series) {
    if (series == nullptr) {
        return;
    }
    const Qt::KeyboardModifiers keys = QGuiApplication::keyboardModifiers();
    if (keys.testFlag(Qt::ControlModifier) && ChooseColor) {
        if (const std::optional<TColorChoice> choice = ChooseColor()) {
            QPen pen = series->pen();
            pen.setColor(keys.testFlag(Qt::AltModifier)     ? choice->Darkest
                         : keys.testFlag(Qt::ShiftModifier) ? choice->Darker
                                                            : choice->Chosen);
            series->setPen(pen);
        }
    }
    Highlight(series);
}

void TRoundPlotWindow::Highlight(QLineSeries* chosen) {
    for (QAbstractSeries* item : Chart()->series()) {
        if (auto* series = qobject_cast<QLineSeries*>(item)) {
            QPen pen = series->pen();
            pen.setWidth(series == chosen ? 3 : 1);
            series->setPen(pen);
        }
    }
    Status->showMessage(chosen != nullptr ? chosen->name() : QString());
}

void TRoundPlotWindow::CopyGraph() {
    if (Plotted == nullptr) {
        return;
    }
    // The goals are drawn anew from the case as it is now, never from goals met before.
    const bool goals = SelectedPlot() == TPlotType::ptGoals;
    const TGoalChart chart = goals ? GoalChartOf(Compute()) : TGoalChart{};
    const QImage picture = goals ? DrawnGoals(chart) : View->grab().toImage();
    QByteArray svg;
    QBuffer buffer(&svg);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(picture.size());
    generator.setViewBox(QRect(QPoint(0, 0), picture.size()));
    generator.setTitle(windowTitle());
    {
        QPainter painter(&generator);
        if (goals) {
            TQtCanvas canvas(painter);
            DrawGoalChart(canvas, chart);
        } else {
            View->render(&painter);
        }
    }
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/svg+xml"), svg);
    data->setImageData(picture);
    QApplication::clipboard()->setMimeData(data);
}

}  // namespace kavo
