#pragma once

class QWidget;

namespace kavo {

// Gives a dialog of fixed content the frame of a dialog: a title and a close button, but nothing
// to minimise or maximise. Without it, window managers that follow the toolkit's frame hints offer
// both, and maximising stretches a few fields over the screen.
void UseDialogFrame(QWidget& dialog);

}  // namespace kavo
