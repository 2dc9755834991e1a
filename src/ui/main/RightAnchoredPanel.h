// A panel whose children sit at fixed positions; the ones anchored to the right keep their
// distance to the panel's right edge, so they stretch with the window.
#pragma once

#include <QList>
#include <QWidget>

class RightAnchoredPanel final : public QWidget {
public:
    RightAnchoredPanel(int designWidth, int height, QWidget* parent = nullptr);

    // Places `child`, made on this panel, at `geometry` (as laid out at the design width) and
    // stretches it.
    void addStretched(QWidget* child, const QRect& geometry);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Anchor {
        QWidget* widget;
        int rightMargin;
    };
    int m_designWidth;
    QList<Anchor> m_anchors;
};
