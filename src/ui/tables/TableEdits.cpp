#include "ui/tables/TableEdits.h"

#include "app/Unitx.h"
#include "protocol/IntegerInput.h"

#include <QLineEdit>

std::optional<std::uint8_t> byteInEdit(const QLineEdit& edit, TypedCase typedCase)
{
    const QString typed = typedCase == TypedCase::UpperCase ? edit.text().toUpper() : edit.text();
    const std::string text = toAnsi(typed);
    const std::int32_t value = parseIntegerOr(trimControls(text), -1);
    if (value < 0 || value > 255)
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

void reportInvalidEdit(QLineEdit& edit, const QString& message)
{
    edit.setFocus();
    ErrorBox(message);
}

bool storeEdits(const std::vector<QLineEdit*>& edits, std::uint8_t* table, TypedCase typedCase)
{
    for (std::size_t i = 0; i < edits.size(); ++i) {
        const std::optional<std::uint8_t> value = byteInEdit(*edits[i], typedCase);
        if (!value) {
            reportInvalidEdit(*edits[i], QStringLiteral("Invalid value %1:%2! (0..255)")
                                             .arg(QString::number(i), edits[i]->text()));
            return false;
        }
        table[i] = *value;
    }
    return true;
}
