// What the log pane needs to place a line's characters without laying the line out: the one
// advance of a fixed-pitch font, the characters it draws at that advance with glyphs of its
// own, and the height and baseline the document's plain-text layout gives a one-line block.
// Everything is measured when first asked for, so that a pane created at start-up costs no
// font work before its first line.
#pragma once

#include <QFont>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>

class QPaintDevice;

class FixedPitchFont {
public:
    FixedPitchFont() = default;
    FixedPitchFont(const QFont& font, QPaintDevice* device);

    const QFont& font() const { return m_font; }
    // Whether every character of `text` is drawn at the advance; a line that is not may hold
    // any character and is laid out as usual.
    bool covers(QStringView text) const;

    qreal advance() const { return geometry().advance; }
    qreal lineHeight() const { return geometry().lineHeight; }
    qreal ascent() const { return geometry().ascent; }
    qreal descent() const { return geometry().descent; }

private:
    struct Geometry {
        qreal advance;
        qreal lineHeight;
        qreal ascent;
        qreal descent;
        bool fixedPitch;
    };
    enum class Fit : std::uint8_t { Unknown, AtAdvance, Other };

    const Geometry& geometry() const;
    // Measures a Latin-1 character and keeps the answer.
    Fit measure(QChar ch) const;

    QFont m_font;
    QPaintDevice* m_device = nullptr;
    mutable std::optional<Geometry> m_geometry;
    mutable std::array<Fit, 256> m_fits{}; // Latin-1 characters, each measured when first met
};
