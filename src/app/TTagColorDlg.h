#pragma once

#include <QDialog>
#include <QPoint>
#include <cstdint>

namespace kavo {

// "Tag color": a palette of 8 x 3 colour squares to choose a tag's colours from, by a press on a
// square or with the arrow keys; Enter is OK, Esc Cancel. The chosen square gives the light
// colour; the darker shades continue along its row towards the nearer end (columns 0..3 towards
// column 0, columns 4..7 towards column 7), and past the end of the row a colour is halved. The
// choice stays for the next opening.
class TTagColorDlg : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kColumns = 8;
    static constexpr int kRows = 3;
    // Side of a square in pixels.
    static constexpr int kSquare = 17;

    // The light, mid and dark colour of a square, each stored with red in the low byte.
    struct TShades {
        std::uint32_t Chosen;
        std::uint32_t Darker;
        std::uint32_t Darkest;
    };

    explicit TTagColorDlg(QWidget* parent = nullptr);

    // Shows the palette with the dialog's top right corner at the point (screen coordinates);
    // true after OK.
    bool Ask(QPoint topRight);

    // Chooses the square, within the palette.
    void Choose(int column, int row);
    int Column() const { return ChosenColumn; }
    int Row() const { return ChosenRow; }
    // The colours of the chosen square.
    TShades Chosen() const { return ShadesOf(ChosenColumn, ChosenRow); }
    static TShades ShadesOf(int column, int row);
    // The square under a point of the dialog, as column and row; (-1, -1) outside the palette.
    QPoint SquareAt(QPoint at) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    int ChosenColumn = 0;
    int ChosenRow = 0;
};

}  // namespace kavo
