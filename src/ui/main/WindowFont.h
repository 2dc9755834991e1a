// The main window's font, which its composer panel and log pane share. Its text is Latin in a
// fixed-pitch face, which needs no shaping: skipping it keeps the long log lines fast to lay
// out and spares every control of the panel the shaper. Scripts that need shaping still get it.
#pragma once

#include <QFont>

inline QFont windowFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(16);
    font.setBold(true);
    font.setStyleHint(QFont::TypeWriter);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}
