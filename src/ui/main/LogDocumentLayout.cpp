#include "ui/main/LogDocumentLayout.h"

#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextDocument>

#include <cmath>

namespace {

// A block's user state holds its recorded width: w >= 0 for a fixed-pitch line w pixels
// wide, -2 - w for any other line, and -1 (the state of a new block) for none yet.
constexpr int Unrecorded = -1;

int widthOf(int state)
{
    return state >= 0 ? state : -2 - state;
}

} // namespace

LogDocumentLayout::LogDocumentLayout(QTextDocument* document, QPaintDevice* device)
    : QPlainTextDocumentLayout(document)
{
    setPaintDevice(device);
    measureFont();
}

bool LogDocumentLayout::isFixedPitch(const QTextBlock& block)
{
    return block.userState() >= 0;
}

std::optional<QRectF> LogDocumentLayout::unlaidCaretRect(const QTextBlock& block, int position, int caretWidth) const
{
    if (!isFixedPitch(block) || block.layout()->lineCount() > 0)
        return std::nullopt;
    const qreal x = document()->documentMargin() + position * m_fixedPitch.advance();
    return QRectF(x, 0, caretWidth, m_fixedPitch.lineHeight());
}

void LogDocumentLayout::layOut(const QTextBlock& block) const
{
    QPlainTextDocumentLayout::blockBoundingRect(block); // lays out a block that has no lines
}

void LogDocumentLayout::forgetLastLine()
{
    QTextBlock last = document()->lastBlock();
    const QTextBlock previous = last.previous();
    if (!previous.isValid())
        return; // the only line stays, emptied: an ordinary change
    unrecord(last.userState());
    // The two blocks merge into one, which keeps one of the two states; either way it must
    // be the previous line's, which stays recorded.
    last.setUserState(previous.userState());
}

QSizeF LogDocumentLayout::documentSize() const
{
    return {longestWidth() + 2 * document()->documentMargin(), QPlainTextDocumentLayout::documentSize().height()};
}

QRectF LogDocumentLayout::blockBoundingRect(const QTextBlock& block) const
{
    if (!isFixedPitch(block) || !block.isVisible() || block.layout()->lineCount() > 0)
        return QPlainTextDocumentLayout::blockBoundingRect(block);
    // As the plain-text layout measures a laid-out one-line block: the document margin to
    // the right, and below the last block.
    const qreal margin = document()->documentMargin();
    const qreal below = block.next().isValid() ? 0 : margin;
    return QRectF(0, 0, widthOf(block.userState()) + margin, m_fixedPitch.lineHeight() + below);
}

void LogDocumentLayout::documentChanged(int from, int charsRemoved, int charsAdded)
{
    const int longestBefore = longestWidth();
    QTextDocument* doc = document();
    if (doc->defaultFont() != m_fixedPitch.font()) {
        measureFont();
    } else {
        const QTextBlock end = doc->findBlock(from + charsAdded);
        const QTextBlock last = end.isValid() ? end : doc->lastBlock();
        for (QTextBlock block = doc->findBlock(from); block.isValid(); block = block.next()) {
            record(block);
            if (block == last)
                break;
        }
        // Blocks merged away by an edit took their records with them: count afresh.
        if (m_recordedLines != doc->blockCount())
            recount();
    }
    QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
    if (longestWidth() != longestBefore)
        emit documentSizeChanged(documentSize());
}

int LogDocumentLayout::measuredState(const QTextBlock& block) const
{
    const QString text = block.text();
    if (text.isEmpty())
        return 0;
    if (m_fixedPitch.covers(text))
        return static_cast<int>(std::ceil(text.size() * m_fixedPitch.advance()));
    const QFontMetricsF metrics(document()->defaultFont(), paintDevice());
    return -2 - static_cast<int>(std::ceil(metrics.horizontalAdvance(text)));
}

void LogDocumentLayout::record(QTextBlock block)
{
    unrecord(block.userState());
    const int state = measuredState(block);
    block.setUserState(state);
    count(state);
}

void LogDocumentLayout::count(int state)
{
    ++m_linesByWidth[widthOf(state)];
    ++m_recordedLines;
}

void LogDocumentLayout::unrecord(int state)
{
    if (state == Unrecorded)
        return;
    const auto lines = m_linesByWidth.find(widthOf(state));
    if (lines == m_linesByWidth.end())
        return; // a record lost before; the count check after the change repairs it
    if (--lines->second == 0)
        m_linesByWidth.erase(lines);
    --m_recordedLines;
}

void LogDocumentLayout::measureFont()
{
    m_fixedPitch = FixedPitchFont(document()->defaultFont(), paintDevice());
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        block.setUserState(Unrecorded);
    recount();
}

void LogDocumentLayout::recount()
{
    m_linesByWidth.clear();
    m_recordedLines = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block.userState() == Unrecorded)
            record(block);
        else
            count(block.userState());
    }
}

int LogDocumentLayout::longestWidth() const
{
    return m_linesByWidth.empty() ? 0 : m_linesByWidth.rbegin()->first;
}
