#include "views/TSensitivityWindow.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHorizontalStackedBarSeries>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QSvgGenerator>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

#include "analyses/Sensitivity.h"
#include "model/Formats.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TLink.h"
#include "model/TProspect.h"
#include "qtgui/QtConversions.h"

namespace kavo {

namespace {

QString Number(double x) {
    return std::isnan(x) ? QStringLiteral("-") : ToQString(FormatNumber(x));
}

QString ItemLabel(const TSensitivityItem& item) {
    if (const auto* prospect = std::get_if<TProspect*>(&item.Item)) {
        return QObject::tr("Prospect of %1").arg(ToQString((*prospect)->FiP->Factor->Name));
    }
    const TLink* link = std::get<TLink*>(item.Item);
    return QObject::tr("Link %1 \u2192 %2")
        .arg(ToQString(link->FromFiP->Factor->Name), ToQString(link->ToFiP->Factor->Name));
}

QString StrategyText(const TSensitivity& result, const TBestFound& best) {
    QStringList tactics;
    for (std::size_t i = 0; i < result.Actions.size(); ++i) {
        tactics << QStringLiteral("%1 %2")
                       .arg(ToQString(result.Actions[i]->Factor->Name))
                       .arg(best.Levels[i] > 0 ? QStringLiteral("+%1").arg(best.Levels[i])
                                               : QString::number(best.Levels[i]));
    }
    QString text =
        tactics.isEmpty() ? QObject::tr("(no action)") : tactics.join(QStringLiteral(", "));
    if (best.Ties > 1) {
        text += QObject::tr(" (one of %1 that tie)").arg(best.Ties);
    }
    return text;
}

// What bounds the searches: sampled strategies and estimated evaluations.
QString BoundsText(const TBestFound& base) {
    QStringList notes;
    if (static_cast<std::uint64_t>(base.Evaluations) < base.StrategyCount) {
        notes << QObject::tr("%1 of %2 strategies sampled")
                     .arg(base.Evaluations)
                     .arg(static_cast<double>(base.StrategyCount), 0, 'g', 15);
    }
    if (base.SampledCombinations > 0) {
        notes << QObject::tr("scores estimated on a sample of %1 combinations of uncertain values")
                     .arg(base.SampledCombinations);
    }
    return notes.join(QStringLiteral("; "));
}

}  // namespace

TSensitivityWindow::TSensitivityWindow(const TSensitivity& result, const TPerception& perception,
                                       QWidget* parent)
    : QDialog(parent),
      View(new QChartView(this)),
      Values(new QTreeWidget(this)),
      CopyBtn(new QPushButton(tr("Copy graph"), this)) {
    setObjectName(QStringLiteral("sensitivityWindow"));
    setWindowTitle(
        tr("Sensitivity of the best strategy: %1").arg(ToQString(perception.OwnerName())));
    resize(820, 640);

    QString summary = tr("Best strategy with every item uncertain: %1, score %2.")
                          .arg(StrategyText(result, result.Base), Number(result.Base.Score));
    if (const QString bounds = BoundsText(result.Base); !bounds.isEmpty()) {
        summary += QStringLiteral(" ") + tr("Estimated: %1.").arg(bounds);
    }
    if (result.Items.empty()) {
        summary += QStringLiteral(" ") + tr("The perception has no uncertain prospect or link.");
    }
    auto* heading = new QLabel(summary, this);
    heading->setWordWrap(true);

    // Qt draws the first category at the bottom: the widest bar goes in last.
    auto* lower = new QBarSet(tr("Lowest best score"));
    auto* higher = new QBarSet(tr("Highest best score"));
    QStringList categories;
    for (auto item = result.Items.rbegin(); item != result.Items.rend(); ++item) {
        double low = 0;
        double high = 0;
        for (const TSensitivityValue& value : item->Values) {
            if (!std::isnan(value.Best.Score)) {
                low = std::min(low, value.Best.Score - result.Base.Score);
                high = std::max(high, value.Best.Score - result.Base.Score);
            }
        }
        const QString label =
            ItemLabel(*item) + (item->ChangesStrategy ? QStringLiteral(" *") : QString());
        categories << label;
        BarLabels.insert(BarLabels.begin(), label);
        lower->append(low);
        higher->append(high);
    }
    auto* series = new QHorizontalStackedBarSeries;
    series->append(lower);
    series->append(higher);
    auto* chart = new QChart;
    chart->addSeries(series);
    chart->setTitle(tr("Best score at each value, relative to %1").arg(Number(result.Base.Score)));
    auto* itemAxis = new QBarCategoryAxis;
    itemAxis->append(categories);
    chart->addAxis(itemAxis, Qt::AlignLeft);
    series->attachAxis(itemAxis);
    auto* scoreAxis = new QValueAxis;
    scoreAxis->setTitleText(tr("Change of the best score (* the best strategy changes)"));
    chart->addAxis(scoreAxis, Qt::AlignBottom);
    series->attachAxis(scoreAxis);
    // Round ticks, with one at 0 where the bars start.
    scoreAxis->applyNiceNumbers();
    chart->legend()->setAlignment(Qt::AlignBottom);
    View->setChart(chart);
    View->setRenderHint(QPainter::Antialiasing);
    View->setMinimumHeight(260);

    Values->setObjectName(QStringLiteral("sensitivityValues"));
    Values->setHeaderLabels(
        {tr("Item and value"), tr("Probability"), tr("Best score"), tr("Best strategy")});
    for (const TSensitivityItem& item : result.Items) {
        auto* node = new QTreeWidgetItem(
            Values, {ItemLabel(item), QString(), tr("swing %1").arg(Number(item.Swing)),
                     item.ChangesStrategy ? tr("changes") : tr("stays")});
        for (const TSensitivityValue& value : item.Values) {
            QString text =
                QStringLiteral("%1 (level %2)").arg(Number(value.Value)).arg(value.Level);
            if (value.Best.SampledCombinations > 0) {
                text += tr(", %1 sampled combinations").arg(value.Best.SampledCombinations);
            }
            new QTreeWidgetItem(node, {text, Number(value.Probability), Number(value.Best.Score),
                                       StrategyText(result, value.Best)});
        }
    }
    Values->expandAll();
    Values->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    CopyBtn->setObjectName(QStringLiteral("CopyGraph"));
    auto* close = new QPushButton(tr("Close"), this);
    connect(CopyBtn, &QPushButton::clicked, this, &TSensitivityWindow::CopyGraph);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CopyBtn);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(View, 3);
    layout->addWidget(Values, 2);
    layout->addLayout(buttons);
}

QChart* TSensitivityWindow::Chart() const {
    return View->chart();
}

void TSensitivityWindow::CopyGraph() {
    const QImage picture = View->grab().toImage();
    QByteArray svg;
    QBuffer buffer(&svg);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(picture.size());
    generator.setViewBox(QRect(QPoint(0, 0), picture.size()));
    generator.setTitle(windowTitle());
    {
        QPainter painter(&generator);
        View->render(&painter);
    }
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/svg+xml"), svg);
    data->setImageData(picture);
    QApplication::clipboard()->setMimeData(data);
}

}  // namespace kavo
