// The main window and its dialogs as a screen reader and a keyboard user meet them: every
// control the keyboard reaches, and the status bar, has a name of its own that says what it
// is for, and Tab walks the main window and the installer's dialogs in the order their
// controls are seen, out of the log pane as well.
#include "MainWindowFixture.h"

#include "ui/installer/PointDishDialog.h"
#include "ui/installer/SwitchesDialog.h"
#include "ui/tables/Unit2.h"
#include "ui/tables/Unit3.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

namespace {

using PickWindow = QWidget* (*)(TForm1*);

// What a screen reader calls a control: the label it is labelled by (a list's own name on
// Linux is the item it shows), or else the control's own name.
QString heardName(QAccessibleInterface* control)
{
    const auto labels = control->relations(QAccessible::Label);
    if (!labels.isEmpty())
        return labels.first().first->text(QAccessible::Name);
    return control->text(QAccessible::Name);
}

// What the control shows now, which alone names nothing.
QString shownValue(QWidget* widget, QAccessibleInterface* control)
{
    if (const auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    return control->text(QAccessible::Value);
}

// The controls of `window` that Tab can reach, in no particular order.
QList<QWidget*> focusableControls(QWidget* window)
{
    QList<QWidget*> controls;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        // A control that hands its focus on (a spin box's edit) is the one it hands it to.
        if (widget->window() == window && widget->isVisibleTo(window) && widget->isEnabled()
            && (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy())
            controls << widget;
    }
    return controls;
}

// The controls a user reads without reaching them: status bars and their panels.
QList<QWidget*> statusControls(QWidget* window)
{
    QList<QWidget*> controls;
    for (QStatusBar* bar : window->findChildren<QStatusBar*>()) {
        controls << bar;
        for (QLabel* panel : bar->findChildren<QLabel*>())
            controls << panel;
    }
    return controls;
}

// `a` is read before `b`: above it, or beside it on its left.
bool readBefore(const QWidget* a, const QWidget* b)
{
    const auto place = [](const QWidget* control) {
        return QRect(control->mapTo(control->window(), QPoint(0, 0)), control->size());
    };
    const QRect first = place(a);
    const QRect second = place(b);
    return first.bottom() < second.top() || (first.top() <= second.bottom() && first.left() < second.left());
}

QWidget* focused()
{
    return QApplication::focusWidget();
}

// Tab from the focused control once round `window`: the controls in the order visited, and
// what went wrong: a control never reached, one read before the control visited ahead of it,
// or no way back to the first.
struct TabWalk {
    QList<QWidget*> visited;
    QStringList faults;
};

TabWalk walkWithTab(QWidget* window)
{
    const QList<QWidget*> controls = focusableControls(window);
    TabWalk walk{{focused()}, {}};
    for (int i = 0; i < controls.size(); ++i) {
        QTest::keyClick(focused(), Qt::Key_Tab);
        walk.visited << focused();
    }
    if (walk.visited.last() != walk.visited.first())
        walk.faults << QStringLiteral("no way round to the first control");
    walk.visited.removeLast();
    for (QWidget* control : controls) {
        if (!walk.visited.contains(control))
            walk.faults << control->objectName() + QStringLiteral(" never reached");
    }
    for (int i = 0; i + 1 < walk.visited.size(); ++i) {
        if (!readBefore(walk.visited[i], walk.visited[i + 1]))
            walk.faults << walk.visited[i]->objectName() + QStringLiteral(" then ") + walk.visited[i + 1]->objectName();
    }
    return walk;
}

} // namespace

Q_DECLARE_METATYPE(PickWindow)

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void everyControlHasANameOfItsOwn_data()
    {
        QTest::addColumn<PickWindow>("pick");
        QTest::newRow("main window") << PickWindow([](TForm1* main) -> QWidget* { return main; });
        QTest::newRow("positioner dialog") << PickWindow([](TForm1* main) -> QWidget* { return main->positionerDialog(); });
        QTest::newRow("remote-control dialog") << PickWindow([](TForm1* main) -> QWidget* { return main->remoteDialog(); });
        // The installer's dialogs are made when their menu item is first chosen.
        QTest::newRow("point the dish") << PickWindow([](TForm1* main) -> QWidget* {
            main->findChild<QAction*>(QStringLiteral("PointtheDish1"))->trigger();
            return main->pointDishDialog();
        });
        QTest::newRow("switches") << PickWindow([](TForm1* main) -> QWidget* {
            main->findChild<QAction*>(QStringLiteral("SwitchesandSingleCable1"))->trigger();
            return main->switchesDialog();
        });
    }

    void everyControlHasANameOfItsOwn()
    {
        QFETCH(PickWindow, pick);
        MainWindowFixture f(false);
        QWidget* window = pick(f.window.get());
        const QList<QWidget*> controls = focusableControls(window) + statusControls(window);
        QVERIFY(controls.size() > 2);

        QStringList heard;
        for (QWidget* widget : controls) {
            QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget);
            QVERIFY(control && control->isValid());
            const QString name = heardName(control);
            const QString what = QStringLiteral("%1 (role %2) heard as \"%3\"")
                                     .arg(widget->objectName()).arg(control->role()).arg(name);
            QVERIFY2(!name.trimmed().isEmpty(), qPrintable(what));
            QVERIFY2(name != shownValue(widget, control), qPrintable(what));
            QVERIFY2(!heard.contains(name), qPrintable(what + " like another control"));
            heard << name;
            // What a panel shows is said with its name; a pane of many lines says which way
            // they run.
            const QString description = control->text(QAccessible::Description);
            if (const auto* panel = qobject_cast<QLabel*>(widget))
                QVERIFY2(description.contains(panel->text().trimmed()), qPrintable(what));
            if (control->state().multiLine)
                QVERIFY2(!description.isEmpty(), qPrintable(what));
        }
    }

    // A table edit says which byte it holds as a person counts them: positions from 0, as the
    // dialog numbers them, a key's eight bytes from 1 within its row.
    void tableEditsSayWhichByteTheyHold_data()
    {
        QTest::addColumn<PickWindow>("pick");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("heard");
        const PickWindow positioner = [](TForm1* main) -> QWidget* { return main->positionerDialog(); };
        const PickWindow remote = [](TForm1* main) -> QWidget* { return main->remoteDialog(); };
        QTest::newRow("first position") << positioner << "Edit0" << "Position 0";
        QTest::newRow("last position") << positioner << "Edit31" << "Position 31";
        QTest::newRow("key 5, first byte") << remote << "Edit40" << "Key 5, byte 1";
        QTest::newRow("key 5, last byte") << remote << "Edit47" << "Key 5, byte 8";
        QTest::newRow("up key, first byte") << remote << "Edit80" << "Key up, byte 1";
        QTest::newRow("down key, last byte") << remote << "Edit95" << "Key down, byte 8";
        QTest::newRow("repeat value") << remote << "Edit96" << "Repeat";
    }
    void tableEditsSayWhichByteTheyHold()
    {
        QFETCH(PickWindow, pick);
        QFETCH(QString, edit);
        QFETCH(QString, heard);
        MainWindowFixture f(false);
        auto* control = pick(f.window.get())->findChild<QWidget*>(edit);
        QVERIFY(control);
        QCOMPARE(heardName(QAccessible::queryAccessibleInterface(control)), heard);
    }

    void tabWalksTheMainWindowInVisualOrder()
    {
        MainWindowFixture f(false);
        f.link().OpenOnActivate = false;
        f.activate();
        const QList<QWidget*> controls = focusableControls(f.window.get());
        QVERIFY(controls.size() > 2);

        const TabWalk walk = walkWithTab(f.window.get());
        QVERIFY2(walk.faults.isEmpty(), qPrintable(walk.faults.join(QStringLiteral("; "))));
        const QList<QWidget*>& visited = walk.visited;

        // Shift+Tab goes back into the log pane, seen last, and out of it again; neither key
        // typed anything into it.
        QTest::keyClick(focused(), Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(focused(), visited.last());
        QTest::keyClick(focused(), Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(focused(), visited[visited.size() - 2]);
        QVERIFY(f.log().isEmpty());
    }

    void installerDialogsStartOnTheirFirstEditAndTabInVisualOrder_data()
    {
        QTest::addColumn<QString>("menuItem");
        QTest::addColumn<QString>("firstEdit");
        QTest::newRow("point the dish") << QStringLiteral("PointtheDish1") << QStringLiteral("site");
        QTest::newRow("switches") << QStringLiteral("SwitchesandSingleCable1") << QStringLiteral("transponder");
    }

    void installerDialogsStartOnTheirFirstEditAndTabInVisualOrder()
    {
        QFETCH(QString, menuItem);
        QFETCH(QString, firstEdit);
        MainWindowFixture f(false);
        f.link().OpenOnActivate = false;
        f.activate();
        f.trigger(menuItem.toLatin1().constData());
        QWidget* dialog = f.window->findChild<QDialog*>(menuItem == QStringLiteral("PointtheDish1") ? "PointDishDialog"
                                                                                                  : "SwitchesDialog");
        QVERIFY(dialog);
        QTRY_COMPARE(focused() ? focused()->objectName() : QString(), firstEdit);
        const TabWalk walk = walkWithTab(dialog);
        QVERIFY2(walk.faults.isEmpty(), qPrintable(walk.faults.join(QStringLiteral("; "))));

        // Return on a focused button presses it; Escape closes.
        QPushButton* close = dialog->findChild<QPushButton*>(QStringLiteral("close"));
        close->setFocus();
        QTest::keyClick(close, Qt::Key_Return);
        QVERIFY(!dialog->isVisible());
        f.trigger(menuItem.toLatin1().constData());
        QTRY_COMPARE(focused() ? focused()->objectName() : QString(), firstEdit);
        QTest::keyClick(focused(), Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
