// The main window's font, which its composer panel and log pane share.
#pragma once

#include <QFont>

inline QFont windowFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(16);
    font.setBold(true);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}
