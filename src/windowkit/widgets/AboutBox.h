#pragma once

#include <QDialog>
#include <QString>

#include "windowkit/SystemInfo.h"

namespace tandor {

class Platform;

inline const QString kAboutDescription = QStringLiteral(
    "Tandor is made for the home and the small business. It types and prints mailing labels and "
    "envelopes, or takes the label information from your contact file, and saves you time and money.");
inline const QString kAboutDisclaimer = QStringLiteral(
    "Disclaimer: Tandor is offered as a tool for individuals and small business owners. The entire risk "
    "as to the results and performance of the program is assumed by you. In no event shall the author be "
    "liable for any damages whatsoever, including damages for loss of data, loss of business or any other "
    "loss, arising out of the use of or the inability to use this program.");

// The about box frmLMAbout: title, version, description, disclaimer, OK and
// "System Info...". One box at a time: showing it again brings it forward.
class AboutBox : public QDialog {
    Q_OBJECT

public:
    // The help documents' folder is shown too when it is not the program folder.
    AboutBox(Platform& platform, QString programFolder, QString documentsFolder = {}, QWidget* parent = nullptr);
    void setRegistry(RegistryReader* registry) { registry_ = registry; }

private:
    void systemInfo();

    Platform& platform_;
    QString programFolder_;
    QString documentsFolder_;
    RegistryReader* registry_ = nullptr;
};

// Shows the about box modeless, centred over the calling window.
AboutBox* showAboutBox(QWidget* caller, Platform& platform, const QString& programFolder,
                       const QString& documentsFolder = {});

// "System Info..." of the about box: startSystemInformation, and when nothing
// could be started or shown the message kSysInfoUnavailable titled "Tandor".
SysInfoOutcome runSystemInfoCommand(RegistryReader& registry, const SysInfoActions& actions, Platform& platform);

// The program's own system-information window (stands in for the system's tool).
QDialog* showSystemInformationWindow(QWidget* parent, const QString& programFolder,
                                    const QString& documentsFolder = {});

}  // namespace tandor
