// Menu shortcuts of a window act wherever the focus is inside it. Text widgets claim some
// keys before any shortcut sees them (Ctrl+A selects all text); a key that is a menu
// shortcut of the window is given back to the menu. Every other key reaches the widget.
#pragma once

#include <QObject>

class QWidget;

class MenuShortcutPriority final : public QObject {
public:
    // Watches the keys of `window`'s widgets; lives as long as the window.
    explicit MenuShortcutPriority(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isMenuShortcut(const QKeySequence& keys) const;

    QWidget* m_window;
};
