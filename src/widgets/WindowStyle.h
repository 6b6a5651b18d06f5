#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace trv {

// The windows' design colour: red 64, green 160, blue 208.
inline const QColor DesignBackground(64, 160, 208);

// The main window's font, 13 pixels high, with sans-serif stand-ins where the design's face is missing.
QFont MainWindowFont();
// The dialogs' font face at the given pixel height.
QFont DialogFont(int pixelSize, bool bold = false);

// Fills the window's background with the colour (its children draw on it).
void SetWindowBackground(QWidget& window, const QColor& colour);

// Makes the application's style the desktop's, with the menu bar's overflow arrow read when it is
// first drawn: the toolkit reads it as the menu bar is made, and with it every image plugin's
// description, all before the main window can be shown; the arrow shows only on a menu bar too
// narrow for its menus. Called once, after the application object is made.
void InstallApplicationStyle();

} // namespace trv
