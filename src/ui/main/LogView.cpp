#include "LogView.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

namespace {
constexpr int RepaintDelayMs = 40;
}

LogView::LogView(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setUndoRedoEnabled(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_repaintTimer.setSingleShot(true);
    m_repaintTimer.setInterval(RepaintDelayMs);
    connect(&m_repaintTimer, &QTimer::timeout, this, [this] { viewport()->setUpdatesEnabled(true); });
}

int LogView::lineCount() const
{
    return document()->isEmpty() ? 0 : document()->blockCount();
}

QString LogView::line(int index) const
{
    return document()->findBlockByNumber(index).text();
}

QStringList LogView::lines() const
{
    QStringList all;
    for (QTextBlock block = document()->begin(); block.isValid() && lineCount() > 0; block = block.next())
        all << block.text();
    return all;
}

void LogView::insertTopLine(const QString& text)
{
    const bool wasEmpty = document()->isEmpty();
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::Start);
    cursor.insertText(text);
    if (!wasEmpty)
        cursor.insertBlock();
    cursor.endEditBlock();
}

void LogView::removeBottomLine()
{
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
    // Take the separator before the last line too, unless it is the only line.
    cursor.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.endEditBlock();
}

void LogView::suspendRepaint()
{
    viewport()->setUpdatesEnabled(false);
}

void LogView::resumeRepaint()
{
    if (!m_repaintTimer.isActive())
        m_repaintTimer.start();
}
