#include "sheets/PrinterModels.h"

#include <algorithm>

namespace tandor {

namespace {

bool containsModel(const QString& deviceName, const PrinterModel& model) {
    return deviceName.contains(QLatin1String(model.name), Qt::CaseSensitive);
}

}  // namespace

const std::vector<PrinterModel>& printerModels() {
    static const std::vector<PrinterModel> models = {
        {"HP DeskJet 640C/642C/648C", 1, 0, true},
        {"Officejet Pro", 1, 2, true},
        {"ENVY", 1, 2, true},
        {"Photosmart", 0, 2, true},
    };
    return models;
}

namespace {

// The first model the device's name contains that shifts this kind of output.
int columnShift(const QString& deviceName, int PrinterModel::*shift) {
    for (const PrinterModel& model : printerModels()) {
        if (model.*shift != 0 && containsModel(deviceName, model)) {
            return model.*shift;
        }
    }
    return 0;
}

}  // namespace

int labelColumnShift(const QString& deviceName) {
    return columnShift(deviceName, &PrinterModel::labelShift);
}

bool isShiftedPrinter(const QString& deviceName) {
    return labelColumnShift(deviceName) != 0;
}

int bulkColumnShift(const QString& deviceName) {
    return columnShift(deviceName, &PrinterModel::bulkShift);
}

bool isBulkPagePrinter(const QString& deviceName) {
    return std::any_of(printerModels().begin(), printerModels().end(), [&](const PrinterModel& m) {
        return m.pagePrinter && containsModel(deviceName, m);
    });
}

}  // namespace tandor
