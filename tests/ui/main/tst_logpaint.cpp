// The log pane paints a long line of its fixed-pitch font without laying it out, handing the
// painter only the characters in view, and knows its longest line for the horizontal range.
#include "LogView.h"
#include "WindowFont.h"

#include <QApplication>
#include <QPaintEngine>
#include <QPaintDevice>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

namespace {

// A paint device that keeps the text handed to it and draws nothing.
class TextRecorder final : public QPaintDevice, public QPaintEngine {
public:
    explicit TextRecorder(const QSize& size)
        : m_size(size)
    {
    }

    QStringList texts;

    QPaintEngine* paintEngine() const override { return const_cast<TextRecorder*>(this); }
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawTextItem(const QPointF&, const QTextItem& item) override { texts << item.text(); }
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
};

QTEST_MAIN(TestLogPaint)
#include "tst_logpaint.moc"
