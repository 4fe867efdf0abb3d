// Where tool windows open: beside the main window and always wholly on its screen.
#pragma once

class QWidget;

namespace app {

// Puts `window` to the right of `owner` where the screen has room, else to its left,
// else against the screen's right edge; never larger than the screen's free area.
void PlaceBeside(QWidget& window, const QWidget& owner);

// Shrinks `window` to the free area of its screen when it is larger.
void FitOnScreen(QWidget& window);

}  // namespace app
