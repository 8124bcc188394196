// Windows open on the same file follow what any of them writes, through the
// contacts document, with no window refreshing another.
#include <QAbstractItemModel>
#include <QComboBox>

#include "ContactWindowFixture.h"
#include "contacts/widgets/NewContactForm.h"
#include "list/widgets/ContactListWindow.h"
#include "list/widgets/ContactListModel.h"

using namespace tandor;
using namespace tandor::test;

namespace {

QStringList findListItems(QWidget* browser) {
    QStringList out;
    auto* list = browser->findChild<QComboBox*>(QStringLiteral("cboFindContact"));
    for (int i = 0; list && i < list->count(); ++i) {
        out << list->itemText(i);
    }
    return out;
}

QStringList reportLines(ContactListWindow* list) {
    QStringList out;
    QAbstractItemModel& model = list->model();
    for (int row = 0; row < model.rowCount(); ++row) {
        out << model.index(row, 0).data().toString();
    }
    return out;
}

bool anyContains(const QStringList& lines, const QString& text) {
    return std::any_of(lines.begin(), lines.end(), [&](const QString& l) { return l.contains(text); });
}

using FollowingWindowsTest = ContactWindowTest;

TEST_F(FollowingWindowsTest, ListAndBrowserShowAContactAddedElsewhereAndDropItWhenDeleted) {
    openFile({person("Al", "One"), person("Bo", "Two"), person("Cy", "Three")});

    // The contact list with its report, and the browser, both open on the file.
    ContactListWindow* list = openContactList(shell);
    ASSERT_NE(list, nullptr);
    child<QPushButton>(list, "cmdACGetReport")->click();
    shell.openBrowser(0);
    QWidget* browser = window("frmEdDelViewContact");
    ASSERT_NE(browser, nullptr);
    ASSERT_EQ(findListItems(browser).size(), 3);
    ASSERT_FALSE(anyContains(reportLines(list), QStringLiteral("Dee")));

    // A contact saved through the new-contact form.
    auto* form = new NewContactForm(shell);
    form->open();
    box(form, "txtACFName")->setText(QStringLiteral("Dee"));
    box(form, "txtACLName")->setText(QStringLiteral("Four"));
    child<QPushButton>(form, "cmdSave")->click();
    settle();
    ASSERT_EQ(platform.messages().last().text, QStringLiteral("S A V E D"));
    EXPECT_EQ(session.file().recordCount(), 4);
    EXPECT_TRUE(anyContains(reportLines(list), QStringLiteral("Dee")));
    const QStringList items = findListItems(browser);
    EXPECT_EQ(items.size(), 4);
    EXPECT_TRUE(anyContains(items, QStringLiteral("Dee")));

    // Deleted in the browser: gone from the list too.
    auto* find = child<QComboBox>(browser, "cboFindContact");
    const int dee = find->findText(QStringLiteral("Dee"), Qt::MatchStartsWith);
    ASSERT_GE(dee, 0);
    find->setCurrentIndex(dee);
    emit find->activated(dee);
    platform.answerMessage(MessageAnswer::Yes);  // delete it
    child<QPushButton>(browser, "cmdDelete")->click();
    settle();
    EXPECT_EQ(session.file().recordCount(), 3);
    EXPECT_FALSE(anyContains(reportLines(list), QStringLiteral("Dee")));
    list->close();
    settle();
}

}  // namespace
