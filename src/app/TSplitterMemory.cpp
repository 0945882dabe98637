#include "app/TSplitterMemory.h"

#include <QEvent>
#include <QSettings>
#include <QSplitter>
#include <QStringList>
#include <cmath>
#include <numeric>

#include "app/TUserSettings.h"

namespace kavo {

namespace {

const QString kGroup = QStringLiteral("Layout/");

QList<double> ParseShares(const QString& text, int parts) {
    QList<double> shares;
    double sum = 0;
    for (const QString& item : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        bool number = false;
        const double share = item.toDouble(&number);
        if (!number || !std::isfinite(share) || share <= 0) {
            return {};
        }
        shares << share;
        sum += share;
    }
    if (shares.size() != parts || sum <= 0) {
        return {};
    }
    for (double& share : shares) {
        share /= sum;
    }
    return shares;
}

}  // namespace

TSplitterMemory::TSplitterMemory(QSplitter& splitter, const QString& key)
    : QObject(&splitter),
      Splitter(splitter),
      Key(kGroup + key),
      Settings(TUserSettings::OpenStore()) {
    Splitter.installEventFilter(this);
    connect(&Splitter, &QSplitter::splitterMoved, this, &TSplitterMemory::StoreShares);
}

TSplitterMemory::~TSplitterMemory() = default;

QList<double> TSplitterMemory::StoredShares(const QString& key, int parts) {
    return ParseShares(TUserSettings::OpenStore()->value(kGroup + key).toString(), parts);
}

bool TSplitterMemory::eventFilter(QObject* watched, QEvent* event) {
    // The first showing has the size the window opened at; the shares apply to that size.
    if (watched == &Splitter && event->type() == QEvent::Show && !Restored) {
        Restored = true;
        RestoreShares();
    }
    return QObject::eventFilter(watched, event);
}

void TSplitterMemory::RestoreShares() {
    const QList<double> shares = ParseShares(Settings->value(Key).toString(), Splitter.count());
    if (shares.isEmpty()) {
        return;
    }
    const QList<int> current = Splitter.sizes();
    const int total = std::accumulate(current.begin(), current.end(), 0);
    QList<int> sizes;
    for (const double share : shares) {
        sizes << static_cast<int>(std::lround(share * total));
    }
    Splitter.setSizes(sizes);
}

void TSplitterMemory::StoreShares() {
    const QList<int> sizes = Splitter.sizes();
    const int total = std::accumulate(sizes.begin(), sizes.end(), 0);
    if (total <= 0) {
        return;
    }
    QStringList shares;
    for (const int size : sizes) {
        shares << QString::number(static_cast<double>(size) / total, 'f', 4);
    }
    Settings->setValue(Key, shares.join(QLatin1Char(' ')));
}

}  // namespace kavo
