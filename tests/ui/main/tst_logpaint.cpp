// The log pane paints a long line of its fixed-pitch font without laying it out, handing the
// painter only the characters in view at their true columns, knows its longest line for the
// horizontal range, and places and follows the caret on such a line.
#include "ui/main/LogView.h"
#include "ui/main/WindowFont.h"

#include <QApplication>
#include <QPaintEngine>
#include <QPaintDevice>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include <algorithm>

namespace {

// A paint device that keeps the text handed to it and draws nothing.
class TextRecorder final : public QPaintDevice, public QPaintEngine {
public:
    explicit TextRecorder(const QSize& size)
        : m_size(size)
    {
    }

    QStringList texts;
    QList<QPointF> textOrigins; // in the painted widget's coordinates
    QList<QRectF> filledRects; // likewise

    QPaintEngine* paintEngine() const override { return const_cast<TextRecorder*>(this); }
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override
    {
        if (state.state() & DirtyTransform)
            m_transform = state.transform();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawRects(const QRectF* rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            filledRects << rects[i]; // QPainter maps the rectangles of an engine like this one
    }
    void drawTextItem(const QPointF& origin, const QTextItem& item) override
    {
        texts << item.text();
        textOrigins << m_transform.map(origin);
    }
    Type type() const override { return User; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }

private:
    QSize m_size;
    QTransform m_transform;
};

// Digits repeated: the character at column c is the last digit of c.
QString digitLine(int length)
{
    QString line;
    for (int column = 0; column < length; ++column)
        line += QChar(u'0' + column % 10);
    return line;
}

qreal advance()
{
    return QFontMetricsF(windowFont()).horizontalAdvance(u'0');
}

// Where column `column` of line `line` starts in the pane's viewport, scrolled to the top.
QPointF cellOf(const LogView& log, int line, int column)
{
    const qreal margin = log.document()->documentMargin();
    qreal top = margin;
    for (QTextBlock block = log.document()->firstBlock(); block.blockNumber() < line; block = block.next())
        top += log.document()->documentLayout()->blockBoundingRect(block).height();
    return {margin + column * advance() - log.horizontalScrollBar()->value(), top};
}

QPointF viewportOrigin(const LogView& log)
{
    return log.viewport()->mapTo(&log, QPoint(0, 0));
}

void showReady(LogView& log)
{
    log.setFont(windowFont());
    log.resize(300, 120);
    log.show();
    log.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&log));
}

} // namespace

class TestLogPaint : public QObject {
    Q_OBJECT

private slots:
    void longLineIsPaintedOnlyWhereItIsInView()
    {
        LogView log;
        log.setFont(windowFont());
        log.resize(300, 120);
        log.insertTopLine(digitLine(30000));
        log.horizontalScrollBar()->setValue(50000);

        TextRecorder recorder(log.size());
        log.render(&recorder);

        const int columnsInView = static_cast<int>(log.viewport()->width() / advance());
        const QString painted = recorder.texts.join(QString());
        QVERIFY2(painted.size() >= columnsInView && painted.size() <= columnsInView + 4, qPrintable(painted));
        QVERIFY(digitLine(30000).contains(painted));
        QCOMPARE(log.document()->firstBlock().layout()->lineCount(), 0);

        // The characters stand in their own columns: the first one drawn is the digit of the
        // column its position falls in, and that column is at the pane's left edge.
        const QPointF origin = recorder.textOrigins.value(0);
        const qreal x = origin.x() - viewportOrigin(log).x();
        const int column = qRound((x - cellOf(log, 0, 0).x()) / advance());
        QCOMPARE(x, cellOf(log, 0, column).x());
        QCOMPARE(painted.front(), QChar(u'0' + column % 10));
        QVERIFY(qAbs(x) <= 2 * advance());
    }

    void horizontalRangeFollowsTheLongestLine()
    {
        LogView log;
        log.setFont(windowFont());
        log.resize(300, 120);
        const QScrollBar* range = log.horizontalScrollBar();
        log.insertTopLine(digitLine(3000));
        log.insertTopLine(digitLine(40));
        const int longest = range->maximum();
        QVERIFY(longest > 2900 * advance());

        log.insertTopLine(digitLine(10));
        QCOMPARE(range->maximum(), longest);
        log.removeBottomLine(); // the long one
        QVERIFY(range->maximum() < 40 * advance());
        for (QTextBlock block = log.document()->begin(); block.isValid(); block = block.next())
            QCOMPARE(block.layout()->lineCount(), 0);
    }

    void caretIsDrawnInItsColumnOnAnyLine()
    {
        LogView log;
        log.insertTopLine(digitLine(60));
        log.insertTopLine(digitLine(60));
        log.insertTopLine(digitLine(60));
        showReady(log);
        QTextCursor caret(log.document()->findBlockByNumber(2));
        caret.setPosition(caret.position() + 7);
        log.setTextCursor(caret);

        TextRecorder recorder(log.size());
        log.render(&recorder);

        const QPointF cell = viewportOrigin(log) + cellOf(log, 2, 7);
        const bool drawn = std::any_of(recorder.filledRects.cbegin(), recorder.filledRects.cend(), [&](const QRectF& r) {
            return r.width() == log.cursorWidth() && r.topLeft() == cell;
        });
        QVERIFY2(drawn, "no caret at line 2, column 7");
    }

    void caretIsFollowedAlongALongLine()
    {
        LogView log;
        log.insertTopLine(digitLine(3000));
        showReady(log);
        const QScrollBar* bar = log.horizontalScrollBar();

        QTest::keyClick(&log, Qt::Key_End);
        QVERIFY(bar->value() > 2900 * advance() - log.viewport()->width());
        const QRect caret = log.cursorRect();
        QVERIFY2(log.viewport()->rect().contains(caret), qPrintable(QString::number(caret.x())));
        QVERIFY(qAbs(caret.x() - cellOf(log, 0, 3000).x()) <= 1);
        QCOMPARE(log.inputMethodQuery(Qt::ImCursorRectangle).toRect(), caret);

        // Moving within the view scrolls nothing; Home brings the line's start back.
        const int scrolled = bar->value();
        QTest::keyClick(&log, Qt::Key_Left);
        QCOMPARE(bar->value(), scrolled);
        QTest::keyClick(&log, Qt::Key_Home);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(log.document()->firstBlock().layout()->lineCount(), 0);

        // A click puts the caret in the column under the pointer.
        const QPoint pointer = cellOf(log, 0, 12).toPoint() + QPoint(static_cast<int>(advance() / 4), 5);
        QTest::mouseClick(log.viewport(), Qt::LeftButton, {}, pointer);
        QCOMPARE(log.textCursor().positionInBlock(), 12);
    }
};

QTEST_MAIN(TestLogPaint)
#include "tst_logpaint.moc"
