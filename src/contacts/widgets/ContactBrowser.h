#pragma once

#include <QMainWindow>

#include "contacts/BrowserRules.h"
#include "contacts/ContactEntry.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace tandor {

class ContactBoxes;
class WindowHost;

// The contact browser and editor frmEdDelViewContact: one contact of the
// current file at a time, chosen by name in the find list or stepped to in
// record order; its changes saved over the same record; deleted; printed.
// CurrentRecordNumber (the document's) names the contact shown; the find
// list follows every change of the file, whichever window made it. Every opening
// is a fresh window; closing it by any road unloads it and sets
// CurrentRecordNumber back to 0.
class ContactBrowser : public QMainWindow {
    Q_OBJECT

public:
    explicit ContactBrowser(WindowHost& host);

    // Shows the browser in place of the main window with the find list filled,
    // the focus in it, and nothing shown: the boxes and the Save, Delete and
    // Print Label buttons disabled.
    void open();
    // The same, then record n shown with everything enabled (the contact
    // list's double-click).
    void openOnRecord(int n);

    ContactBoxes& boxes() { return *boxes_; }
    // The boxes differ from the contact as it was shown or last saved.
    bool hasUnsavedChanges() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void fillFindList();
    void display(int n);
    void setEditing(bool on);
    void companyChanged();
    ContactEntry shown() const;

    void choose(int index);
    void step(BrowserStep step);
    bool saveChanges();  // true when the contact was written
    // Asks about unsaved changes before the contact on screen is left; true
    // when it may be left.
    bool mayLeaveContact();
    void deleteContact();
    void printLabel();
    void printDetails();

    void recordsChanged();

    WindowHost& host_;
    ContactEntry asShown_;          // the contact as shown or last saved
    bool leaveWithoutAsking_ = false;  // Print Label and Delete leave by their own road
    bool writing_ = false;             // its own Save or Delete is changing the file
    ContactBoxes* boxes_ = nullptr;
    QComboBox* cboFindContact_ = nullptr;
    QLabel* lblACCompOnLabel_ = nullptr;
    QCheckBox* chkCompanyInclude_ = nullptr;
    QPushButton* cmdSave_ = nullptr;
    QPushButton* cmdDelete_ = nullptr;
    QPushButton* cmdPrintLabel_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

}  // namespace tandor
