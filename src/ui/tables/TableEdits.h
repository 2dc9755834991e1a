// Reading the table edits back: what the user typed must be a byte, and the first edit that
// is not one gets the focus and an error box.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QLineEdit;

enum class TypedCase { AsTyped, UpperCase };

// The edit's text trimmed of blanks and control characters (and upper-cased when asked),
// read by the integer rule; nothing unless the value lies in 0 to 255.
std::optional<std::uint8_t> byteInEdit(const QLineEdit& edit, TypedCase typedCase);

// Gives the edit the input focus, then shows `message` in an error box.
void reportInvalidEdit(QLineEdit& edit, const QString& message);

// Stores the byte of edits[i] into table[i], for i in order. At the first edit that holds no
// byte it reports "Invalid value <i>:<text as typed>! (0..255)" and returns false, with the
// bytes before that edit already stored and the rest of the table untouched.
bool storeEdits(const std::vector<QLineEdit*>& edits, std::uint8_t* table, TypedCase typedCase);
