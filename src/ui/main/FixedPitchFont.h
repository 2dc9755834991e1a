// What the log pane needs to place a line's characters without laying the line out: the one
// advance of a fixed-pitch font, the characters it draws at that advance with glyphs of its
// own, and the height and baseline the document's plain-text layout gives a one-line block.
#pragma once

#include <QFont>
#include <QStringView>

#include <bitset>

class QPaintDevice;

class FixedPitchFont {
public:
    FixedPitchFont() = default;
    FixedPitchFont(const QFont& font, QPaintDevice* device);

    const QFont& font() const { return m_font; }
    // Whether every character of `text` is drawn at the advance; a line that is not may hold
    // any character and is laid out as usual.
    bool covers(QStringView text) const;

    qreal advance() const { return m_advance; }
    qreal lineHeight() const { return m_lineHeight; }
    qreal ascent() const { return m_ascent; }
    qreal descent() const { return m_descent; }

private:
    QFont m_font;
    std::bitset<256> m_fixed; // Latin-1 characters drawn at the advance
    qreal m_advance = 0;
    qreal m_lineHeight = 0;
    qreal m_ascent = 0;
    qreal m_descent = 0;
};
