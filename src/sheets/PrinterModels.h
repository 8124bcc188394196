#pragma once

#include <QString>
#include <vector>

namespace tandor {

// The printer models that place their printable area differently, kept in
// one place. Names are compared case-sensitively with the device name.
struct PrinterModel {
    const char* name;
    int labelShift;    // columns added to on-the-fly labels ("ShiftedPrinter")
    int bulkShift;     // columns added to bulk labels
    bool pagePrinter;  // bulk labels start each sheet with an explicit new page
};
const std::vector<PrinterModel>& printerModels();

// ShiftedPrinter: the device is one of the models whose label grid is shifted.
bool isShiftedPrinter(const QString& deviceName);
int labelColumnShift(const QString& deviceName);
int bulkColumnShift(const QString& deviceName);
bool isBulkPagePrinter(const QString& deviceName);

}  // namespace tandor
