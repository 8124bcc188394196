#include "contacts/widgets/ContactWindows.h"

#include "contacts/BirthdayCheck.h"
#include "contacts/LineParser.h"
#include "contacts/widgets/ContactBrowser.h"
#include "contacts/widgets/NewContactForm.h"
#include "platform/AppError.h"
#include "platform/Platform.h"
#include "printing/widgets/MainWindow.h"
#include "store/Session.h"

namespace tandor {

void openAddContact(MainWindow& main) {
    main.runGuarded([&main] {
        ContactEntry parsed;
        if (!fillFormFromLabelLines(main.composition().lines, parsed, main.platform())) {
            return;
        }
        auto* form = new NewContactForm(main);
        form->setTexts(parsed);
        form->open();
    });
}

void openContactBrowser(MainWindow& main, bool /*focusFind*/) {
    // The browser opens with the focus in its find list from every item: with
    // no contact shown, the find list is the only control that takes input.
    auto* browser = new ContactBrowser(main);
    browser->open();
}

void openContactBrowserOnRecord(MainWindow& main, int recordNumber) {
    auto* browser = new ContactBrowser(main);
    browser->openOnRecord(recordNumber);
}

void checkBirthdays(MainWindow& main) {
    // Failures belong to File Open, whose error routine shows them.
    ContactsFile& file = main.session().file();
    announceBirthdays(
        file.recordCount(), [&file](int n) { return file.read(n); }, main.platform());
}

void switchBirthdayReminders(MainWindow& main, bool on) {
    Session& session = main.session();
    Platform& platform = main.platform();
    for (;;) {
        try {
            if (on) {
                session.enableBirthdayReminders(platform);
            } else {
                session.disableBirthdayReminders(platform);
            }
            return;
        } catch (const AppError& error) {
            const MessageAnswer answer =
                platform.message(standardErrorText(error), QStringLiteral("Error"),
                                 MessageIcon::None, MessageButtons::RetryCancel);
            if (answer != MessageAnswer::Retry) {
                return;
            }
        }
    }
}

}  // namespace tandor
