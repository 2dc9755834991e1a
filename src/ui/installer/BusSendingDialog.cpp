#include "ui/installer/BusSendingDialog.h"

#include "app/Prompts.h"
#include "app/Unitx.h"

#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

BusSendingDialog::BusSendingDialog(QWidget* parent, const char* name, const QString& title, DiseqcSender send)
    : QDialog(parent)
    , m_send(std::move(send))
{
    setObjectName(QLatin1String(name));
    setWindowTitle(title);
}

void BusSendingDialog::showDialog()
{
    show();
    raise();
    activateWindow();
    if (m_firstEdit) {
        // What is typed replaces what the edit holds, as when Tab comes to it.
        m_firstEdit->setFocus(Qt::OtherFocusReason);
        m_firstEdit->selectAll();
    }
}

QPushButton* BusSendingDialog::addSendButton(const char* name, const QString& caption,
                                            std::function<std::optional<std::vector<DiseqcMessage>>()> messages)
{
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    connect(button, &QPushButton::clicked, this, [this, messages = std::move(messages)] {
        runHandler([&] {
            // The buttons stay enabled while a send runs, so that the focus stays where it
            // was: the main window refuses a press meanwhile, whichever dialog it comes from.
            const std::optional<std::vector<DiseqcMessage>> toSend = messages();
            if (!toSend) {
                prompts().beep();
                return;
            }
            m_send(*toSend, messageGap(), this);
        });
    });
    return button;
}

QLabel* BusSendingDialog::newFigure(const char* name, const QString& spokenName)
{
    auto* figure = new QLabel;
    figure->setObjectName(QLatin1String(name));
    figure->setAccessibleName(spokenName);
    figure->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    figure->setFocusPolicy(Qt::StrongFocus);
    figure->setWordWrap(true);
    figure->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    return figure;
}

void BusSendingDialog::addFigureRow(QFormLayout* form, const QString& caption, QLabel* figure)
{
    form->addRow(caption, figure);
    if (auto* label = qobject_cast<QLabel*>(form->labelForField(figure)))
        label->setBuddy(nullptr);
}

void BusSendingDialog::showFigure(QLabel* figure, const QString& text)
{
    figure->setText(text);
    figure->setAccessibleDescription(text);
}

void BusSendingDialog::keyPressEvent(QKeyEvent* event)
{
    const bool returnKey = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // The dialog would press its first button: a typed site or port is no order to send.
    if (returnKey && !qobject_cast<QPushButton*>(focusWidget())) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool BusSendingDialog::event(QEvent* event)
{
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::LayoutRequest && layout()) {
        if (const int needed = layout()->totalHeightForWidth(width()); needed > height())
            resize(width(), needed);
    }
    return handled;
}
