#include "sheets/SheetTemplate.h"

#include <QLocale>

namespace tandor {
namespace {

struct Unit {
    const char* name;
    TemplateUnit unit;
    double inches;
};
constexpr Unit kUnits[] = {{"pt", TemplateUnit::Points, 1.0 / 72.0},
                           {"in", TemplateUnit::Inches, 1.0},
                           {"mm", TemplateUnit::Millimetres, kMm},
                           {"cm", TemplateUnit::Centimetres, 10.0 * kMm},
                           {"pc", TemplateUnit::Picas, 12.0 / 72.0}};

const Unit& unitOf(TemplateUnit unit) {
    for (const Unit& u : kUnits) {
        if (u.unit == unit) {
            return u;
        }
    }
    return kUnits[0];
}

}  // namespace

double TemplateLength::inches() const {
    return value * unitOf(unit).inches;
}

std::optional<TemplateLength> readTemplateLength(QStringView text) {
    text = text.trimmed();
    TemplateLength length;  // a number without a unit is in points
    for (const Unit& unit : kUnits) {
        if (text.endsWith(QLatin1String(unit.name))) {
            length.unit = unit.unit;
            text.chop(2);
            break;
        }
    }
    bool ok = false;
    length.value = text.trimmed().toDouble(&ok);
    if (!ok) {
        return std::nullopt;
    }
    return length;
}

QString templateLengthText(const TemplateLength& length) {
    // 0.0 rather than -0.0: "0in", never "-0in".
    const double value = length.value == 0.0 ? 0.0 : length.value;
    return QString::number(value, 'f', QLocale::FloatingPointShortest) + QLatin1String(unitOf(length.unit).name);
}

}  // namespace tandor
