// What the desktop knows the program's windows by: the desktop file's name, by which a
// launcher and a task bar match the windows to the program's entry, and the window icon.
#pragma once

#include <QString>

// The window icon's image, built into the program.
QString windowIconFile();

// Needs the application object; before the main window is shown.
void applyDesktopIdentity();
