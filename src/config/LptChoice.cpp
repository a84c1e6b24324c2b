#include "config/LptChoice.h"

#include "app/UserError.h"

namespace LptChoice {

quint16 baseOf(int choice, const QString& hexText) {
    switch (choice) {
    case 2:
        return Lpt2Base;
    case 3: {
        bool ok = false;
        const QString text = hexText.trimmed();
        const qulonglong value =
            text.isEmpty() || text.startsWith(QLatin1Char('-')) || text.startsWith(QLatin1Char('+'))
                ? 0
                : text.toULongLong(&ok, 16);
        if (!ok)
            throw ConversionError(QLatin1Char('$') + hexText);
        return static_cast<quint16>(value & 0xFFFF);
    }
    default:
        return Lpt1Base;
    }
}

} // namespace LptChoice
