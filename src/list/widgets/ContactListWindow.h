#pragma once

#include <QMainWindow>
#include <array>
#include <functional>

#include "list/ContactSearch.h"
#include "list/ListLine.h"
#include "list/ListPrint.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QVBoxLayout;
class QMenu;
class QPushButton;
class QRadioButton;

namespace tandor {

class ActiveControl;
class ContactListModel;
class WindowHost;
class TabStopDelegate;

// The contact list window frmViewAll: the search and sort options, "Get
// report", the sorted multi-selection list of contacts with its header box,
// "Print labels", File > Print, the Edit menu on the list and the Help items.
// It stands in place of the main window while it is open and is deleted when
// it closes.
class ContactListWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit ContactListWindow(WindowHost& host, QWidget* parent = nullptr);
    ~ContactListWindow() override;

    // The option buttons, as a click on them does.
    void chooseSearch(SearchField field);
    void chooseSort(SortOrder order);
    void showSearchFrame();

    SearchField searchField() const { return searchField_; }
    const QString& searchText() const { return searchText_; }
    SortOrder sortOrder() const { return sortOrder_; }
    ContactListModel& model() { return *model_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildList(QVBoxLayout* layout);
    void buildMenus();
    void connectHandlers();

    void getReport();
    // "New Search": the search and sort options back, the list emptied and
    // "Get report" ready, as when the window opened; the choices stay.
    void newSearch();
    void openFocusedContact();
    void printLabels();
    void printList();
    void previewLabels();
    void previewList();
    ListPrintRequest listRequest() const;

    void editMenuOpening();
    void editCut();
    void editCopy();
    void editPaste();
    void editSelectAll();
    QLineEdit* activeTextBox() const;
    QStringList selectedLineTexts() const;
    std::vector<int> selectedRows() const;

    // The report shown again as the file is now, after a change made by any
    // window; nothing is said when it finds no contact.
    void recordsChanged();
    void fillReport(bool sayWhenEmpty);

    // The window's commands run under its error policy: the standard error
    // message with Retry and Cancel; Retry leaves the window as it is, Cancel
    // closes it and shows the main window.
    void runGuarded(const std::function<void()>& command);
    void closeAndShowMain();

    WindowHost& host_;
    bool reportShown_ = false;
    SearchField searchField_ = SearchField::All;
    QString searchText_;
    SortOrder sortOrder_ = SortOrder::FirstName;

    ContactListModel* model_ = nullptr;
    TabStopDelegate* delegate_ = nullptr;

    QGroupBox* frSearch_ = nullptr;
    std::array<QRadioButton*, 9> searchButtons_{};
    QGroupBox* frSortOrder_ = nullptr;
    QRadioButton* optFnameSort_ = nullptr;
    QRadioButton* optLnameSort_ = nullptr;
    QPushButton* cmdACGetReport_ = nullptr;
    QPushButton* cmdACNewSearch_ = nullptr;
    QPushButton* cmdPrintLabels_ = nullptr;
    QPushButton* cmdViewAllClose_ = nullptr;
    QLabel* lblSearchDisplay_ = nullptr;
    QLabel* lblTotContacts_ = nullptr;
    QLineEdit* txtViewAllHeader_ = nullptr;
    QListView* lstAllContacts_ = nullptr;

    QMenu* mnuVAEdit_ = nullptr;
    QAction* mnuPrint_ = nullptr;
    QAction* mnuPreview_ = nullptr;
    QAction* mnuLabelPreview_ = nullptr;
    QAction* mnuVAEditCut_ = nullptr;
    QAction* mnuVAEditCopy_ = nullptr;
    QAction* mnuVAEditPaste_ = nullptr;
    QAction* mnuVAEditSelAll_ = nullptr;
    QAction* mnuVAManual_ = nullptr;
    QAction* mnuVAAbout_ = nullptr;
    ActiveControl* active_ = nullptr;
};

// Opens the contact list in place of the main window, as "Search Contacts"
// and "All Contacts" do: search frame visible, "View all contacts without
// searching" and "Sort by first name" selected.
ContactListWindow* openContactList(WindowHost& host);

}  // namespace tandor
