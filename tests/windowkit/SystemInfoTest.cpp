#include <gtest/gtest.h>

#include <QMap>

#include "platform/ScriptedPlatform.h"
#include "windowkit/HelpLinks.h"
#include "windowkit/SystemInfo.h"
#include "windowkit/widgets/AboutBox.h"

using namespace tandor;

namespace {

class FakeRegistry : public RegistryReader {
public:
    QMap<QString, QString> values;  // "key|value" -> text
    std::optional<QString> readString(const QString& keyPath, const QString& valueName) override {
        const QString k = keyPath + QLatin1Char('|') + valueName;
        if (!values.contains(k)) {
            return std::nullopt;
        }
        return values.value(k);
    }
};

struct Calls {
    QStringList started;
    QStringList existsAsked;
    int standIns = 0;
};

SysInfoActions actions(Calls& calls, bool startWorks, bool fileExists, bool standInWorks) {
    SysInfoActions a;
    a.fileExists = [&calls, fileExists](const QString& p) {
        calls.existsAsked << p;
        return fileExists;
    };
    a.startProgram = [&calls, startWorks](const QString& p) {
        calls.started << p;
        return startWorks;
    };
    a.showStandIn = [&calls, standInWorks] {
        ++calls.standIns;
        return standInWorks;
    };
    return a;
}

void expectUnavailableMessage(const ScriptedPlatform& platform) {
    ASSERT_EQ(platform.messages().size(), 1);
    EXPECT_EQ(platform.messages()[0].text, QStringLiteral("System Information Is Unavailable At This Time"));
    EXPECT_EQ(platform.messages()[0].title, QStringLiteral("Tandor"));
    EXPECT_EQ(platform.messages()[0].icon, MessageIcon::None);
    EXPECT_EQ(platform.messages()[0].buttons, MessageButtons::Ok);
}

}  // namespace

TEST(SystemInfo, ANamedToolIsStartedEvenWhenNoFileIsThereAndItsFailureIsReported) {
    FakeRegistry registry;
    registry.values.insert(kSysInfoKey + QStringLiteral("|PATH"), QStringLiteral("C:\\nowhere\\msinfo32.exe"));
    registry.values.insert(kSysInfoLocationKey + QStringLiteral("|MSINFO"), QStringLiteral("C:\\tools"));
    ScriptedPlatform platform;
    Calls calls;
    EXPECT_EQ(runSystemInfoCommand(registry, actions(calls, false, true, true), platform),
              SysInfoOutcome::Unavailable);
    EXPECT_EQ(calls.started, QStringList({"C:\\nowhere\\msinfo32.exe"}));
    EXPECT_TRUE(calls.existsAsked.isEmpty()) << "the fallback is not tried";
    EXPECT_EQ(calls.standIns, 0);
    expectUnavailableMessage(platform);

    ScriptedPlatform quiet;
    Calls ok;
    EXPECT_EQ(runSystemInfoCommand(registry, actions(ok, true, true, true), quiet), SysInfoOutcome::StartedNamedTool);
    EXPECT_TRUE(quiet.messages().isEmpty());
}

TEST(SystemInfo, TheToolInTheSharedFolderIsStartedOnlyWhenItExists) {
    FakeRegistry registry;
    registry.values.insert(kSysInfoLocationKey + QStringLiteral("|MSINFO"), QStringLiteral("C:\\tools"));
    ScriptedPlatform platform;
    Calls calls;
    EXPECT_EQ(runSystemInfoCommand(registry, actions(calls, true, false, true), platform), SysInfoOutcome::Unavailable);
    EXPECT_EQ(calls.existsAsked, QStringList({"C:\\tools\\MSINFO32.EXE"}));
    EXPECT_TRUE(calls.started.isEmpty());
    expectUnavailableMessage(platform);

    ScriptedPlatform second;
    Calls found;
    EXPECT_EQ(runSystemInfoCommand(registry, actions(found, true, true, true), second),
              SysInfoOutcome::StartedToolInFolder);
    EXPECT_EQ(found.started, QStringList({"C:\\tools\\MSINFO32.EXE"}));
}

TEST(SystemInfo, WithoutARegistryTheProgramsOwnWindowStandsIn) {
    NoRegistry registry;
    ScriptedPlatform platform;
    Calls calls;
    EXPECT_EQ(runSystemInfoCommand(registry, actions(calls, true, true, true), platform), SysInfoOutcome::ShowedStandIn);
    EXPECT_EQ(calls.standIns, 1);
    EXPECT_TRUE(platform.messages().isEmpty());

    ScriptedPlatform failing;
    Calls none;
    EXPECT_EQ(runSystemInfoCommand(registry, actions(none, true, true, false), failing), SysInfoOutcome::Unavailable);
    expectUnavailableMessage(failing);
}

TEST(SystemInfo, RegistryStringsWithAndWithoutTheirTerminatorGiveTheSamePath) {
    QByteArray buffer(1024, '\0');
    buffer.replace(0, 11, QByteArray("C:\\Tools\\x\0", 11));  // ten characters and the terminator
    EXPECT_EQ(registryString(buffer, 11, true), QStringLiteral("C:\\Tools\\x"));
    EXPECT_EQ(registryString(buffer, 10, true), QStringLiteral("C:\\Tools\\x"));
    EXPECT_FALSE(registryString(buffer, 11, false).has_value());
    EXPECT_EQ(registryString(buffer, 0, true), QString());
}

TEST(SystemInfo, TheStandInNamesWhatAUserAskingForHelpNeeds) {
    const QStringList lines = systemInformationLines(QStringLiteral("/opt/tandor"));
    const QString all = lines.join(QLatin1Char('\n'));
    EXPECT_TRUE(all.contains(QStringLiteral("Operating system: ")));
    EXPECT_TRUE(all.contains(QStringLiteral("Qt version: ") + QString::fromLatin1(qVersion())));
    EXPECT_TRUE(all.contains(QStringLiteral("Printers")));
    EXPECT_TRUE(all.contains(QStringLiteral("Font \"Courier New\" prints as: ")));
    EXPECT_TRUE(all.contains(QStringLiteral("Font \"Trebuchet MS\" prints as: ")));
    EXPECT_TRUE(all.contains(QStringLiteral("Program folder: /opt/tandor")));
}

TEST(HelpLinks, DocumentsComeFromTheProgramFolderWhateverTheCurrentFolder) {
    EXPECT_EQ(documentPath(QStringLiteral("/opt/tandor/"), kManualFileName), QStringLiteral("/opt/tandor/tdrUman.pdf"));
    EXPECT_EQ(documentPath(QStringLiteral("/opt/tandor"), kStateSheetFileName),
              QStringLiteral("/opt/tandor/tdr_state_abbreviations.pdf"));
    ScriptedPlatform platform;
    openManual(platform, QStringLiteral("/opt/tandor"));
    openStateSheet(platform, QStringLiteral("/opt/tandor"));
    openPeopleFinder(platform);
    openZipFinder(platform);
    ASSERT_EQ(platform.shellOpened().size(), 4);
    EXPECT_EQ(platform.shellOpened()[0], QStringLiteral("/opt/tandor/tdrUman.pdf"));
    EXPECT_EQ(platform.shellOpened()[1], QStringLiteral("/opt/tandor/tdr_state_abbreviations.pdf"));
    EXPECT_TRUE(platform.shellOpened()[2].startsWith(QStringLiteral("https://")));
    EXPECT_TRUE(platform.shellOpened()[3].contains(QStringLiteral("usps.com")));
}
