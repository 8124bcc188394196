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
    if (!fillFormFromLabelLines(lines, parsed)) {
        Platform& platform = host.platform();
        platform.beep();
        platform.message(kLineOneNeedsSpaceText, kIncorrectEntryTitle, MessageIcon::None,
                         MessageButtons::Ok);
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
    // Each message is shown before the next record is read.
    const ContactsFile& file = document.file();
    forEachBirthdayAnnouncement(
        file.recordCount(), [&file](int n) { return file.read(n); }, platform.today(),
        [&platform](const QString& text) {
            platform.message(text, kBirthdayReminderTitle, MessageIcon::Information,
                             MessageButtons::Ok);
        });
}

void switchBirthdayReminders(WindowHost& host, bool on) {
    ContactsDocument& document = host.document();
    Platform& platform = host.platform();
    runCommand(platform, policy::tryAgain(), [&] {
        const DocumentNotice notice = document.switchReminders(on);
        platform.message(notice.text, notice.title, MessageIcon::Information, MessageButtons::Ok);
    });
}

}  // namespace tandor
