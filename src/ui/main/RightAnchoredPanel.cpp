#include "ui/main/RightAnchoredPanel.h"

#include <QResizeEvent>

RightAnchoredPanel::RightAnchoredPanel(int designWidth, int height, QWidget* parent)
    : QWidget(parent)
    , m_designWidth(designWidth)
{
    setFixedHeight(height);
    setMinimumWidth(0);
}

void RightAnchoredPanel::addStretched(QWidget* child, const QRect& geometry)
{
    Q_ASSERT(child->parentWidget() == this);
    child->setGeometry(geometry);
    m_anchors.append({child, m_designWidth - geometry.right() - 1});
}

void RightAnchoredPanel::resizeEvent(QResizeEvent* event)
{
    for (const Anchor& anchor : m_anchors) {
        QRect geometry = anchor.widget->geometry();
        geometry.setWidth(qMax(0, event->size().width() - anchor.rightMargin - geometry.left()));
        anchor.widget->setGeometry(geometry);
    }
    QWidget::resizeEvent(event);
}
