// The log document's plain-text layout, extended to know every line's width without laying
// the line out: each block records its width in its user state when it changes, and the
// layout keeps a count of lines per width, so the longest line (the horizontal scroll range)
// is known at once however many lines there are and whichever of them are laid out.
#pragma once

#include "ui/main/FixedPitchFont.h"

#include <QPlainTextDocumentLayout>

#include <map>
#include <optional>

class LogDocumentLayout final : public QPlainTextDocumentLayout {
public:
    LogDocumentLayout(QTextDocument* document, QPaintDevice* device);

    // The document's font as a fixed-pitch font, kept up to date with the document.
    const FixedPitchFont& fixedPitch() const { return m_fixedPitch; }
    // Whether `block` may be painted from the fixed-pitch geometry, without a layout.
    static bool isFixedPitch(const QTextBlock& block);

    // Where the caret stands at `position` (in characters) of a fixed-pitch line that is not
    // laid out, in the block's coordinates, as the plain-text layout would place it once laid
    // out; nothing for any other line, whose layout answers. Qt's own caret queries read the
    // line's layout and would put the caret of such a line at column 0.
    std::optional<QRectF> unlaidCaretRect(const QTextBlock& block, int position, int caretWidth) const;

    // Lays `block` out, for what only a layout answers (where a click falls in the line).
    void layOut(const QTextBlock& block) const;

    // The last line is about to go together with the line break before it.
    void forgetLastLine();

    QSizeF documentSize() const override;
    // A fixed-pitch line that is not laid out has a known size. The edit's vertical scroll
    // range is measured from the last lines up after every change; asking their sizes would
    // otherwise lay out each new last line of a limited log, one by one.
    QRectF blockBoundingRect(const QTextBlock& block) const override;

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    int measuredState(const QTextBlock& block) const;
    void record(QTextBlock block);
    void count(int state);
    void unrecord(int state);
    // Measures every line again, for a new font.
    void measureFont();
    // Counts the lines per width afresh from the blocks' records.
    void recount();
    int longestWidth() const;

    FixedPitchFont m_fixedPitch;
    std::map<int, int> m_linesByWidth; // width in pixels -> lines of that width
    int m_recordedLines = 0;
};
