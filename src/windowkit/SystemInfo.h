#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace tandor {

// The registry values that name the system-information tool, read through a
// small seam: on this platform there is no registry and nothing is found.
class RegistryReader {
public:
    virtual ~RegistryReader() = default;
    // The string value under HKEY_LOCAL_MACHINE\keyPath, or nothing.
    virtual std::optional<QString> readString(const QString& keyPath, const QString& valueName) = 0;
};

class NoRegistry : public RegistryReader {
public:
    std::optional<QString> readString(const QString&, const QString&) override { return std::nullopt; }
};

// A registry string from the bytes a read returned: the first `reportedLength`
// bytes of the buffer, less a final zero byte (the terminator); only a string
// value gives a path.
std::optional<QString> registryString(const QByteArray& buffer, int reportedLength, bool isStringType);

inline const QString kSysInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
inline const QString kSysInfoLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
inline const QString kSysInfoUnavailable = QStringLiteral("System Information Is Unavailable At This Time");

struct SysInfoActions {
    std::function<bool(const QString& path)> fileExists;
    std::function<bool(const QString& path)> startProgram;  // false when it could not be started
    std::function<bool()> showStandIn;  // the program's own system-information window; false when it cannot be shown
};

enum class SysInfoOutcome { StartedNamedTool, StartedToolInFolder, ShowedStandIn, Unavailable };

// "System Info...": the tool the registry names, else the program's own window.
// Unavailable when none of them could be started or shown: the window then says
// kSysInfoUnavailable, titled with the program title.
SysInfoOutcome startSystemInformation(RegistryReader& registry, const SysInfoActions& actions);

// What a user asking for help needs to know about this machine, one item a line.
// The help documents' folder has a line of its own when it is not the program folder.
QStringList systemInformationLines(const QString& programFolder, const QString& documentsFolder = {});

}  // namespace tandor
