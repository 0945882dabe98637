#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <memory>

class QSettings;
class QSplitter;

namespace kavo {

// Remembers where the user left a splitter, per user and across runs, as the shares of its parts
// (so that a window of another size gets the same proportions). The stored shares are applied
// when the splitter first shows at its real size; every move of the splitter stores them again.
// Owned by the splitter.
class TSplitterMemory : public QObject {
    Q_OBJECT

  public:
    // The key names the splitter in the user's settings.
    TSplitterMemory(QSplitter& splitter, const QString& key);
    ~TSplitterMemory() override;

    // The stored shares of the splitter's parts, adding up to 1; empty when none are stored or
    // they do not fit a splitter of that many parts.
    static QList<double> StoredShares(const QString& key, int parts);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void RestoreShares();
    void StoreShares();

    QSplitter& Splitter;
    QString Key;
    // Kept open while the splitter lives: Qt writes it out when the events have run, not at every
    // step of a drag.
    std::unique_ptr<QSettings> Settings;
    bool Restored = false;
};

}  // namespace kavo
