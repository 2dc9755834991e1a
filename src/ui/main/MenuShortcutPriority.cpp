#include "ui/main/MenuShortcutPriority.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

MenuShortcutPriority::MenuShortcutPriority(QWidget* window)
    : QObject(window)
    , m_window(window)
{
    // The focus widget gets the override question first, so the filter sits before it.
    qApp->installEventFilter(this);
}

bool MenuShortcutPriority::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType()
        || static_cast<QWidget*>(watched)->window() != m_window)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!isMenuShortcut(QKeySequence(key->keyCombination())))
        return false;
    // Left unaccepted, the override lets the shortcut run instead of the widget's key.
    event->ignore();
    return true;
}

bool MenuShortcutPriority::isMenuShortcut(const QKeySequence& keys) const
{
    const QList<QAction*> items = m_window->actions();
    return std::any_of(items.begin(), items.end(), [&keys](const QAction* item) {
        return item->isEnabled() && item->shortcuts().contains(keys);
    });
}
