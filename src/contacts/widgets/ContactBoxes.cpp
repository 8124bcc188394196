#include "contacts/widgets/ContactBoxes.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace tandor {
namespace {

struct BoxLook {
    EntryBox box;
    const char* name;
    const char* label;
    const char* tip;
};

// In tab order.
constexpr BoxLook kLooks[17] = {
    {EntryBox::FName, "txtACFName", "First Name:", ""},
    {EntryBox::MiddleInit, "txtACMiddleInit", "Middle Initial:", ""},
    {EntryBox::LName, "txtACLName", "Last Name:", ""},
    {EntryBox::FStreet, "txtACFStreet",
     "Street Address:", "For help in finding address, click 'People Finder'"},
    {EntryBox::SStreet, "txtACSStreet", "Additional Street Info/Apt:", ""},
    {EntryBox::City, "txtACCity", "City:", ""},
    {EntryBox::State, "txtACState", "State:", ""},
    {EntryBox::Zip, "txtACZip",
     "Zip Code:", "For help in finding Zip Code, click 'Zip Code Finder'"},
    {EntryBox::Country, "txtACCountry", "Country:", ""},
    {EntryBox::Company, "txtACCompany", "Company Name:", ""},
    {EntryBox::Birthdate, "txtACBirthdate", "Birthdate (MM/DD/YYYY):", ""},
    {EntryBox::HPhone, "txtACHPhone", "Home Phone:", ""},
    {EntryBox::CPhone, "txtACCPhone", "Cell Phone:", ""},
    {EntryBox::WPhone, "txtACWPhone", "Work Phone:", ""},
    {EntryBox::Email, "txtACEmail", "Email Address:", ""},
    {EntryBox::Category, "txtACCategory", "Category:",
     "Enter one or more categories, separated by a semicolon, to include this contact in "
     "subset(s).  Example: Christmas;Golf;Customers"},
    {EntryBox::Notes, "txtACNotes", "Notes:", nullptr},
};

int indexOf(EntryBox box) {
    for (int i = 0; i < 17; ++i) {
        if (kBoxTabOrder[i] == box) {
            return i;
        }
    }
    return -1;
}

}  // namespace

QString entryBoxName(EntryBox box) {
    const int i = indexOf(box);
    return i < 0 ? QString() : QString::fromLatin1(kLooks[i].name);
}

ContactBoxes::ContactBoxes(QWidget* window, QGridLayout* grid, const QString& notesTip)
    : QObject(window) {
    // Two columns of label and box: the name and address on the left, the rest on the right.
    constexpr int kLeftRows = 9;
    for (int i = 0; i < 17; ++i) {
        const BoxLook& look = kLooks[i];
        auto* edit = new QLineEdit(window);
        edit->setObjectName(QString::fromLatin1(look.name));
        edit->setToolTip(look.tip ? QString::fromUtf8(look.tip) : notesTip);
        edit->installEventFilter(this);
        auto* label = new QLabel(QString::fromUtf8(look.label), window);
        label->setObjectName(QStringLiteral("lbl") + QString::fromLatin1(look.name).mid(3));
        label->setBuddy(edit);
        const int row = i < kLeftRows ? i : i - kLeftRows;
        const int column = i < kLeftRows ? 0 : 2;
        grid->addWidget(label, row, column);
        grid->addWidget(edit, row, column + 1);
        boxes_[i] = edit;
    }
    for (int i = 0; i + 1 < 17; ++i) {
        QWidget::setTabOrder(boxes_[i], boxes_[i + 1]);
    }
}

QLineEdit* ContactBoxes::box(EntryBox box) const {
    const int i = indexOf(box);
    return i < 0 ? nullptr : boxes_[i];
}

bool ContactBoxes::isBox(const QWidget* widget) const {
    return widget && std::find(boxes_.begin(), boxes_.end(), widget) != boxes_.end();
}

ContactEntry ContactBoxes::read(const QCheckBox* includeCompany) const {
    ContactEntry entry;
    for (int i = 0; i < 17; ++i) {
        entry.text(kBoxTabOrder[i]) = boxes_[i]->text();
    }
    entry.includeCompany = includeCompany && includeCompany->isChecked();
    return entry;
}

void ContactBoxes::writeTexts(const ContactEntry& entry) {
    for (int i = 0; i < 17; ++i) {
        const QString& text = entry.text(kBoxTabOrder[i]);
        if (boxes_[i]->text() != text) {
            boxes_[i]->setText(text);
        }
    }
}

void ContactBoxes::setEnabled(bool enabled) {
    for (QLineEdit* edit : boxes_) {
        edit->setEnabled(enabled);
    }
}

void ContactBoxes::focus(EntryBox box) {
    if (QLineEdit* edit = this->box(box)) {
        edit->setFocus(Qt::OtherFocusReason);
    }
}

bool ContactBoxes::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            // The box receives nothing; a Tab moves the focus as the user's would.
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QCoreApplication::sendEvent(watched, &tab);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tandor
