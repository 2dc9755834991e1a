// The 16 x 16 pictures on the table dialogs' buttons, drawn by the program itself on a
// transparent background.
#pragma once

#include <QPixmap>

enum class Glyph { GreenTick, RedCross, Diskette, OpenFolder, BlankPage };

QPixmap glyphPixmap(Glyph glyph);
