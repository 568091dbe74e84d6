// The standard messages of a field that does not hold a valid value: "Please enter a number.",
// "Please enter an integer." and their range forms. Shown in a plain message box, as the
// toolkit's own validation would.
#pragma once

#include <QString>
#include <optional>

class QWidget;

QString notANumberMessage(bool integer);
QString outOfRangeMessage(bool integer, double low, double high);
void showValidationMessage(const QString& text, QWidget* parent);

// The field's text read as an integer or a number within [low, high] (no range when low > high);
// nullopt with message set when it is not.
std::optional<double> readField(const QString& text, bool integer, double low, double high,
                                QString& message);
