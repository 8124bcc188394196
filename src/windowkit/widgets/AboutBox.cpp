#include "windowkit/widgets/AboutBox.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <QStyle>
#include <QVBoxLayout>

#include "platform/Platform.h"
#include "platform/Version.h"
#include "platform/widgets/WindowConventions.h"
#include "windowkit/SystemInfo.h"
#include "windowkit/widgets/ProgramIcon.h"

namespace tandor {
namespace {
QPointer<AboutBox> theBox;
}

AboutBox::AboutBox(Platform& platform, QString programFolder, QString documentsFolder, QWidget* parent)
    : QDialog(parent),
      platform_(platform),
      programFolder_(std::move(programFolder)),
      documentsFolder_(std::move(documentsFolder)) {
    setObjectName(QStringLiteral("frmLMAbout"));
    const QString title = QStringLiteral("Tandor");
    setWindowTitle(QStringLiteral("About ") + title);

    auto* picIcon = new QLabel;
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(programIcon().pixmap(48, 48));
    auto* lblTitle = new QLabel(title);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont big = lblTitle->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    lblTitle->setFont(big);
    auto* lblVersion = new QLabel(QStringLiteral("Version ") + versionText());
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto* lblDescription = new QLabel(kAboutDescription);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);
    auto* line = new QFrame;
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    auto* lblDisclaimer = new QLabel(kAboutDisclaimer);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    lblDisclaimer->setWordWrap(true);
    auto* cmdOK = new QPushButton(QStringLiteral("OK"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto* cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."));
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

    auto* head = new QHBoxLayout;
    head->addWidget(picIcon);
    auto* titles = new QVBoxLayout;
    titles->addWidget(lblTitle);
    titles->addWidget(lblVersion);
    titles->addWidget(lblDescription);
    head->addLayout(titles, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();
    auto* foot = new QHBoxLayout;
    foot->addWidget(lblDisclaimer, 1);
    foot->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(line);
    layout->addLayout(foot);
    resize(520, 300);

    giveMnemonics(this);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);
    connect(cmdSysInfo, &QPushButton::clicked, this, &AboutBox::systemInfo);
}

void AboutBox::systemInfo() {
    NoRegistry none;
    RegistryReader& registry = registry_ ? *registry_ : static_cast<RegistryReader&>(none);
    SysInfoActions actions;
    actions.fileExists = [](const QString&) { return false; };
    actions.startProgram = [](const QString&) { return false; };
    // A window of its own, as the system's tool would be: it stays open when
    // the about box closes.
    actions.showStandIn = [this] { return showSystemInformationWindow(nullptr, programFolder_, documentsFolder_) != nullptr; };
    runSystemInfoCommand(registry, actions, platform_);
}

SysInfoOutcome runSystemInfoCommand(RegistryReader& registry, const SysInfoActions& actions, Platform& platform) {
    const SysInfoOutcome outcome = startSystemInformation(registry, actions);
    if (outcome == SysInfoOutcome::Unavailable) {
        platform.message(kSysInfoUnavailable, QStringLiteral("Tandor"), MessageIcon::None, MessageButtons::Ok);
    }
    return outcome;
}

AboutBox* showAboutBox(QWidget* caller, Platform& platform, const QString& programFolder,
                       const QString& documentsFolder) {
    // A box that was closed is on its way out; a new one takes its place.
    if (!theBox || !theBox->isVisible()) {
        theBox = new AboutBox(platform, programFolder, documentsFolder);
        theBox->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (caller) {
        // Centred over the window it was opened from, and on that window's screen.
        const QRect over = caller->window()->frameGeometry();
        QRect box(QPoint(), theBox->size().expandedTo(theBox->minimumSizeHint()));
        box.moveCenter(over.center());
        if (const QScreen* screen = caller->screen()) {
            const QRect area = screen->availableGeometry();
            box.moveLeft(std::clamp(box.left(), area.left(), std::max(area.left(), area.right() - box.width())));
            box.moveTop(std::clamp(box.top(), area.top(), std::max(area.top(), area.bottom() - box.height())));
        }
        theBox->move(box.topLeft());
    }
    theBox->show();
    theBox->raise();
    theBox->activateWindow();
    return theBox;
}

QDialog* showSystemInformationWindow(QWidget* parent, const QString& programFolder,
                                    const QString& documentsFolder) {
    auto* dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("frmSystemInformation"));
    dialog->setWindowTitle(QStringLiteral("System Information"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto* text = new QPlainTextEdit(systemInformationLines(programFolder, documentsFolder).join(QLatin1Char('\n')));
    text->setObjectName(QStringLiteral("txtSystemInformation"));
    text->setReadOnly(true);
    auto* close = new QPushButton(QStringLiteral("Close"));
    QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::close);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(text);
    layout->addWidget(close, 0, Qt::AlignRight);
    giveMnemonics(dialog);
    dialog->resize(560, 320);
    dialog->show();
    return dialog;
}

}  // namespace tandor
