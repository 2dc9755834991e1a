// The DiSEqC message composer on the top panel: framing, family and command lists, the
// version level that filters the commands, three option bytes, and "Send selected command".
#include "ui/main/Unit1.h"

#include "app/Unitx.h"
#include "protocol/BoxRequests.h"
#include "protocol/Composer.h"
#include "protocol/ComposerTables.h"
#include "ui/main/RightAnchoredPanel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr int PanelDesignWidth = 467;
constexpr int PanelHeight = 139;
constexpr int VisibleListRows = 12;
constexpr int OptionMaxLength = 4;

QLabel* addLabel(QWidget* panel, const char* name, const QString& caption, int left, int top)
{
    auto* label = new QLabel(caption, panel);
    label->setObjectName(QLatin1String(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

// The lists sit at fixed places on the panel, which has no layout, so their size hints never
// size them: the long family texts cannot widen the window. Each is made on the panel, in the
// panel's font: a list whose font changes later builds its pop-up then, instead of at its
// first opening (as setting a size-adjust policy would too).
QComboBox* newList(QWidget* panel, const char* name)
{
    auto* list = new QComboBox(panel);
    list->setObjectName(QLatin1String(name));
    list->setMaxVisibleItems(VisibleListRows);
    return list;
}

// Option edit `number` (1 to 3), "opt<number>".
QLineEdit* addOptionEdit(QWidget* panel, int number, int left)
{
    const QString name = QStringLiteral("opt%1").arg(number);
    auto* edit = new QLineEdit(name, panel);
    edit->setObjectName(name);
    // The three edits share one label, so each carries a name of its own.
    edit->setAccessibleName(QStringLiteral("Option byte %1").arg(number));
    edit->setMaxLength(OptionMaxLength);
    edit->setGeometry(left, 102, 45, 25);
    return edit;
}

void refill(QComboBox* list, const std::vector<std::string>& items, int selected)
{
    list->clear();
    for (const std::string& item : items)
        list->addItem(fromAnsi(item));
    list->setCurrentIndex(selected);
}

} // namespace

void TForm1::createComposerPanel()
{
    auto* panel = new RightAnchoredPanel(PanelDesignWidth, PanelHeight, centralWidget());
    panel->setObjectName(QStringLiteral("Panel1"));
    Panel1 = panel;

    QLabel* framingLabel = addLabel(panel, "Label1", QStringLiteral("Framing"), 5, 10);
    QLabel* familyLabel = addLabel(panel, "Label2", QStringLiteral("Family"), 5, 41);
    QLabel* commandLabel = addLabel(panel, "Label3", QStringLiteral("Command"), 5, 73);
    QLabel* optionsLabel = addLabel(panel, "Label4", QStringLiteral("Options"), 5, 105);

    framing = newList(panel, "framing");
    panel->addStretched(framing, QRect(87, 6, 371, 25));
    family = newList(panel, "family");
    panel->addStretched(family, QRect(87, 38, 371, 25));
    command = newList(panel, "command");
    panel->addStretched(command, QRect(87, 70, 372, 25));

    opt1 = addOptionEdit(panel, 1, 87);
    opt2 = addOptionEdit(panel, 2, 137);
    opt3 = addOptionEdit(panel, 3, 187);

    QLabel* compatLabel = addLabel(panel, "Compatibility", QStringLiteral("Compatibility"), 237, 105);
    compat = newList(panel, "compat");
    compat->setGeometry(374, 102, 84, 25);
    compat->addItems({QStringLiteral("Version 1.0"), QStringLiteral("Version 1.1"), QStringLiteral("Version 1.2"),
                      QStringLiteral("Version 2.0")});
    connect(compat, &QComboBox::activated, this, [this] { runHandler([this] { compatChange(); }); });

    // A screen reader names each control by the label beside it: a list's own name is the
    // item it shows.
    framingLabel->setBuddy(framing);
    familyLabel->setBuddy(family);
    commandLabel->setBuddy(command);
    optionsLabel->setBuddy(opt1);
    compatLabel->setBuddy(compat);

    setTabOrder(framing, family);
    setTabOrder(family, command);
    setTabOrder(command, opt1);
    setTabOrder(opt1, opt2);
    setTabOrder(opt2, opt3);
    setTabOrder(opt3, compat);
}

void TForm1::FillCombos(int levelIndex, int framingIndex, int familyIndex, int commandIndex,
                        int opt1Value, int opt2Value, int opt3Value)
{
    // Level figures are formatted without the locale, so they always read "1.2".
    QLineEdit* const edits[] = {opt1, opt2, opt3};
    const int values[] = {opt1Value, opt2Value, opt3Value};
    for (int i = 0; i < 3; ++i) {
        if (values[i] >= 0)
            edits[i]->setText(QString::number(values[i]));
    }

    refill(framing, framingItemTexts(), framingIndex);
    refill(family, familyItemTexts(), familyIndex);
    const std::vector<std::string> commands = commandItemTexts(levelIndex);
    refill(command, commands, clampCommandIndex(commandIndex, static_cast<int>(commands.size())));
    refill(compat, levelItemTexts(), levelIndex);
}

void TForm1::compatChange()
{
    FillCombos(compat->currentIndex(), framing->currentIndex(), family->currentIndex(), command->currentIndex(),
               -1, -1, -1);
}

void TForm1::Sendselectedcommand1Click()
{
    const std::string request = composeDiseqcRequest(toAnsi(command->currentText()), framing->currentIndex(),
                                                     family->currentIndex(), toAnsi(opt1->text()),
                                                     toAnsi(opt2->text()), toAnsi(opt3->text()));
    SendRequest(request, ComposedReplyLength);
}
