#pragma once

class QApplication;
class QFont;
class QWidget;

namespace ovex {

// Style and fonts shared by the program and the tests, so both see the same
// window: the Fusion style and Liberation Sans shipped inside the program.
void ConfigureApplication(QApplication& app);

// The faces shipped inside the program, which every picture of a theme is
// drawn in; ConfigureApplication adds them too.
void AddEmbeddedFonts();

// 8.25 pt at 96 dpi, the size the layout was drawn for; in pixels so that
// the captions fit their fixed boxes whatever the screen's dpi.
QFont UiFont(bool bold);

// Shows window, restored if minimised, in front and active.
void BringToFront(QWidget& window);

} // namespace ovex
