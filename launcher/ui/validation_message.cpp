// Field validation messages and reading.
#include "validation_message.h"

#include <QLocale>
#include <QMessageBox>
#include <cmath>

namespace {

// Numbers as the dialogs print them: up to six significant digits, no exponent below 1e6.
QString rangeNumber(double v) { return QString::number(v, 'g', 6); }

}  // namespace

QString notANumberMessage(bool integer) {
    return integer ? "Please enter an integer." : "Please enter a number.";
}

QString outOfRangeMessage(bool integer, double low, double high) {
    return QString(integer ? "Please enter an integer between %1 and %2."
                           : "Please enter a number between %1 and %2.")
        .arg(rangeNumber(low), rangeNumber(high));
}

void showValidationMessage(const QString& text, QWidget* parent) {
    QMessageBox box(QMessageBox::Warning, "Celestrix", text, QMessageBox::Ok, parent);
    box.exec();
}

std::optional<double> readField(const QString& text, bool integer, double low, double high,
                                QString& message) {
    const QString trimmed = text.trimmed();
    bool ok = false;
    double value = 0;
    if (integer) {
        value = trimmed.toInt(&ok);
    } else {
        value = QLocale::c().toDouble(trimmed, &ok);
        // Single-precision fields: a value beyond the float range is no number for them.
        if (ok && (!std::isfinite(value) || std::fabs(value) > 3.4028234e38)) ok = false;
    }
    if (!ok) {
        message = notANumberMessage(integer);
        return std::nullopt;
    }
    if (low <= high && (value < low || value > high)) {
        message = outOfRangeMessage(integer, low, high);
        return std::nullopt;
    }
    return value;
}
