#include "windowkit/SystemInfo.h"

#include <QLibraryInfo>
#include <QPrinterInfo>
#include <QSysInfo>

#include "platform/PrintGrid.h"
#include "platform/Version.h"

namespace tandor {

std::optional<QString> registryString(const QByteArray& buffer, int reportedLength, bool isStringType) {
    if (!isStringType || reportedLength < 0) {
        return std::nullopt;
    }
    QByteArray bytes = buffer.left(reportedLength);
    if (!bytes.isEmpty() && bytes.back() == '\0') {
        bytes.chop(1);
    }
    return QString::fromLocal8Bit(bytes);
}

SysInfoOutcome startSystemInformation(RegistryReader& registry, const SysInfoActions& actions) {
    const auto started = [&actions](const QString& tool, SysInfoOutcome outcome) {
        return actions.startProgram && actions.startProgram(tool) ? outcome : SysInfoOutcome::Unavailable;
    };
    if (std::optional<QString> path = registry.readString(kSysInfoKey, QStringLiteral("PATH"))) {
        // The named tool is started even when no file is there.
        return started(*path, SysInfoOutcome::StartedNamedTool);
    }
    if (std::optional<QString> folder = registry.readString(kSysInfoLocationKey, QStringLiteral("MSINFO"))) {
        const QString tool = *folder + QStringLiteral("\\MSINFO32.EXE");
        if (actions.fileExists && actions.fileExists(tool)) {
            return started(tool, SysInfoOutcome::StartedToolInFolder);
        }
        return SysInfoOutcome::Unavailable;
    }
    // No system-information tool on this platform: the program's own window stands in.
    if (actions.showStandIn && actions.showStandIn()) {
        return SysInfoOutcome::ShowedStandIn;
    }
    return SysInfoOutcome::Unavailable;
}

QStringList systemInformationLines(const QString& programFolder, const QString& documentsFolder) {
    QStringList lines;
    lines << QStringLiteral("Tandor ") + versionText();
    lines << QStringLiteral("Operating system: ") + QSysInfo::prettyProductName() + QStringLiteral(" (") +
                 QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion() + QLatin1Char(')');
    lines << QStringLiteral("Qt version: ") + QString::fromLatin1(qVersion());
    const QString defaultPrinter = QPrinterInfo::defaultPrinterName();
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    if (printers.isEmpty()) {
        lines << QStringLiteral("Printers: none found (print to a PDF file from the print dialog)");
    } else {
        lines << QStringLiteral("Printers:");
        for (const QString& p : printers) {
            lines << QStringLiteral("  ") + p + (p == defaultPrinter ? QStringLiteral(" (default)") : QString());
        }
    }
    for (const char* font : {"Courier New", "Trebuchet MS", "MS Sans Serif", "Times New Roman"}) {
        lines << QStringLiteral("Font \"%1\" prints as: %2").arg(QString::fromLatin1(font),
                                                                  resolvedFamily(QString::fromLatin1(font)));
    }
    lines << QStringLiteral("Program folder: ") + programFolder;
    if (!documentsFolder.isEmpty() && documentsFolder != programFolder) {
        lines << QStringLiteral("Help documents: ") + documentsFolder;
    }
    return lines;
}

}  // namespace tandor
