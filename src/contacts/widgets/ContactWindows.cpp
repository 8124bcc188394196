#include "contacts/widgets/ContactWindows.h"

#include "contacts/BirthdayCheck.h"
#include "contacts/LineParser.h"
#include "contacts/widgets/ContactBrowser.h"
#include "contacts/widgets/NewContactForm.h"
#include "platform/Platform.h"
#include "windowkit/widgets/CommandRunner.h"
#include "windowkit/widgets/WindowHost.h"
#include "store/ContactsDocument.h"

namespace tandor {

void openAddContact(WindowHost& host, const std::array<QString, 5>& lines) {
    ContactEntry parsed;
    if (!fillFormFromLabelLines(lines, parsed, host.platform())) {
        return;
    }
    auto* form = new NewContactForm(host);
    form->setTexts(parsed);
    form->open();
}

void openContactBrowser(WindowHost& host, int recordNumber) {
    // The browser opens with the focus in its find list from every item: with
    // no contact shown, the find list is the only control that takes input.
    auto* browser = new ContactBrowser(host);
    if (recordNumber > 0) {
        browser->openOnRecord(recordNumber);
    } else {
        browser->open();
    }
}

void checkBirthdays(const ContactsDocument& document, Platform& platform) {
    // Failures belong to File Open, whose error routine shows them.
    const ContactsFile& file = document.file();
    announceBirthdays(
        file.recordCount(), [&file](int n) { return file.read(n); }, platform);
}

void switchBirthdayReminders(WindowHost& host, bool on) {
    ContactsDocument& document = host.document();
    Platform& platform = host.platform();
    runCommand(platform, policy::tryAgain(), [&] {
        if (on) {
            document.enableBirthdayReminders(platform);
        } else {
            document.disableBirthdayReminders(platform);
        }
    });
}

}  // namespace tandor
