#include "docs/WindowPictures.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>
#include <tuple>

#include "contacts/widgets/ContactWindows.h"
#include "list/widgets/ContactListWindow.h"
#include "platform/PagePainting.h"
#include "platform/PrinterSurface.h"
#include "platform/ScriptedPlatform.h"
#include "sheets/AlignmentSheet.h"
#include "compose/widgets/MainWindow.h"
#include "windowkit/widgets/AboutBox.h"
#include "appshell/widgets/ApplicationShell.h"
#include "store/ContactsFile.h"
#include "sync/SyncState.h"

namespace tandor::docs {
namespace {

QWidget* topLevel(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String(name) && w->isVisible()) {
            return w;
        }
    }
    return nullptr;
}

bool save(QWidget* window, const QString& folder, const QString& name) {
    if (!window) {
        return false;
    }
    window->show();
    QApplication::processEvents();
    return window->grab().save(folder + QLatin1Char('/') + name);
}

void type(QWidget* window, const char* name, const QString& text) {
    if (auto* box = window->findChild<QLineEdit*>(QString::fromLatin1(name))) {
        box->setText(text);
    }
}

void click(QWidget* window, const char* name) {
    if (auto* button = window ? window->findChild<QPushButton*>(QString::fromLatin1(name)) : nullptr) {
        button->click();
    }
}

// A surface that keeps the documents it composes.
class KeepingSurface : public GridSurface {
public:
    QString deviceName() const override { return QStringLiteral("Manual"); }
    std::vector<PrintedDocument> documents;

protected:
    void documentFinished(const PrintedDocument& document) override { documents.push_back(document); }
};

// The corner of the last label of the 30-up sheet's alignment sheet, with the
// blank label seen through it (blue) whose left edge crosses the column scale
// at +2 and whose top edge crosses the line scale at -1.
bool saveAlignmentPicture(const QString& folder) {
    const LabelSheet& sheet = defaultLabelSheet();
    KeepingSurface surface;
    composeAlignmentSheet(surface, sheet, Adjustment{});
    if (surface.documents.empty() || surface.documents.front().pages.empty()) {
        return false;
    }
    constexpr double kDpi = 300.0;
    const double scale = kDpi / printgrid::kPointsPerInch;
    QImage image(static_cast<int>(1.6 * kDpi), static_cast<int>(1.05 * kDpi), QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(static_cast<int>(kDpi / 0.0254));
    image.setDotsPerMeterY(static_cast<int>(kDpi / 0.0254));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // The picture shows the paper from 0.55 in left of the label and 0.4 in above it.
    const QRectF last = sheet.labelRectIn(sheet.count());
    const QPointF paperOrigin(-(last.left() - 0.55) * kDpi, -(last.top() - 0.4) * kDpi);
    FontSpec font;
    font.size = sheet.fontSize;
    const QPointF blankLabel(last.left() * kDpi + 2 * columnWidth(font) * scale,
                             last.top() * kDpi - sheet.linePitchPt() * scale);
    painter.setPen(QPen(QColor(70, 110, 200), 0.015 * kDpi));
    painter.drawRoundedRect(QRectF(paperOrigin + blankLabel,
                                   QSizeF(sheet.labelWidthIn * kDpi, sheet.labelHeightIn * kDpi)),
                            0.06 * kDpi, 0.06 * kDpi);
    painter.translate(paperOrigin + QPointF(printgrid::kPdfLeftMarginInches * kDpi,
                                            printgrid::kPdfTopMarginInches * kDpi));
    paintPrintedPage(painter, surface.documents.front().pages.front(), scale);
    painter.end();
    return image.save(folder + QStringLiteral("/alignment-sheet.png"));
}

// An example address book for the pictures.
void writeExampleContacts(const QString& path) {
    struct Example {
        const char* first;
        const char* initial;
        const char* last;
        const char* street;
        const char* city;
        const char* state;
        const char* zip;
        const char* phone;
        const char* email;
        const char* category;
    };
    const Example examples[] = {
        {"John", "Q", "Smith", "1234 Main Street", "Springfield", "IL", "62704", "217-555-0142", "john.smith@example.com", "Family;Christmas"},
        {"Ann", "", "Lee", "12 Oak Ln", "Reno", "NV", "89501", "775-555-0110", "ann.lee@example.net", "Golf"},
        {"Maria", "T", "Garcia", "88 Harbor Blvd", "San Diego", "CA", "92101", "619-555-0187", "mgarcia@example.org", "Customers"},
        {"Paul", "", "de Vries", "5 Canal St", "Santa Fe", "NM", "87501", "", "paul@example.com", "Christmas"},
        {"Grace", "H", "Evans", "410 Elm Drive", "Pleasanton", "CA", "94566", "925-555-0199", "", "Family"},
    };
    ContactsFile file;
    file.open(path);
    for (const Example& e : examples) {
        ContactFields f;
        f[Field::FName] = QString::fromLatin1(e.first);
        f[Field::MiddleInit] = QString::fromLatin1(e.initial);
        f[Field::LName] = QString::fromLatin1(e.last);
        f[Field::FStreet] = QString::fromLatin1(e.street);
        f[Field::City] = QString::fromLatin1(e.city);
        f[Field::State] = QString::fromLatin1(e.state);
        f[Field::Zip] = QString::fromLatin1(e.zip);
        f[Field::Country] = QStringLiteral("USA");
        f[Field::HPhone] = QString::fromLatin1(e.phone);
        f[Field::Email] = QString::fromLatin1(e.email);
        f[Field::Category] = QString::fromLatin1(e.category);
        f[Field::IncludeCompany] = QStringLiteral("0");
        f[Field::BirthdayReminder] = QStringLiteral("1");
        f[Field::Birthdate] = QStringLiteral("        ");
        file.append(ContactRecord::build(f));
    }
    file.close();
}

}  // namespace

bool makeWindowPictures(const QString& folder, QString* error) {
    QDir().mkpath(folder);
    QTemporaryDir programFolder;
    const QString contacts = programFolder.filePath(QStringLiteral("Family.DAT"));
    writeExampleContacts(contacts);

    ScriptedPlatform platform;
    ApplicationShell shell(platform, programFolder.path());
    MainWindow& main = shell.mainWindow();
    shell.show();
    platform.answerOpenFile(contacts);
    if (QAction* open = main.findChild<QAction*>(QStringLiteral("mnuFileOpen"))) {
        open->trigger();
    }
    type(&main, "txtLMLine1", QStringLiteral("John Q. Smith"));
    type(&main, "txtLMLine2", QStringLiteral("1234 Main Street"));
    type(&main, "txtLMline3", QStringLiteral("Springfield, IL  62704"));
    bool ok = save(&main, folder, QStringLiteral("main-window.png"));
    ok = saveAlignmentPicture(folder) && ok;

    // The new-contact form, filled from the main window's lines.
    click(&main, "cmdAddContact");
    QWidget* form = topLevel("frmNewContact");
    ok = save(form, folder, QStringLiteral("new-contact.png")) && ok;
    if (form) {
        form->close();
    }

    // The browser on the first contact.
    shell.openBrowser(1);
    QWidget* browser = topLevel("frmEdDelViewContact");
    ok = save(browser, folder, QStringLiteral("contact-browser.png")) && ok;
    if (browser) {
        browser->close();
    }

    // The contact list of every contact.
    openContactList(shell);
    QWidget* list = topLevel("frmViewAll");
    click(list, "cmdACGetReport");
    ok = save(list, folder, QStringLiteral("contact-list.png")) && ok;
    if (list) {
        list->close();
    }

    // The import window with a file chosen, and the export window.
    const QString csv = programFolder.filePath(QStringLiteral("contacts.csv"));
    {
        QFile f(csv);
        if (f.open(QIODevice::WriteOnly)) {
            f.write("First Name,Last Name,E-mail Address\r\n");
        }
    }
    if (QAction* item = main.findChild<QAction*>(QStringLiteral("mnuImport"))) {
        item->trigger();
    }
    QWidget* import = topLevel("frmLMImport");
    platform.answerOpenFile(csv);
    click(import, "cmdCsvOpen");
    ok = save(import, folder, QStringLiteral("import-window.png")) && ok;
    if (import) {
        import->close();
    }
    if (QAction* item = main.findChild<QAction*>(QStringLiteral("mnuExport"))) {
        item->trigger();
    }
    QWidget* exportWindow = topLevel("frmLMExport");
    ok = save(exportWindow, folder, QStringLiteral("export-window.png")) && ok;
    if (exportWindow) {
        exportWindow->close();
    }

    // The sync windows, the file linked to an address book with one
    // conflict waiting: the file is opened again to pick up its link.
    {
        sync::SyncState state = sync::SyncState::create(
            contacts, QStringLiteral("https://dav.example.com/addressbooks/john/contacts/"), QStringLiteral("john"));
        state.conflicts.push_back(sync::SyncConflict{QStringLiteral("ann-lee"), QStringLiteral("Ann Lee"),
                                                     Field::Email, QStringLiteral("ann.lee@example.net"),
                                                     QStringLiteral("ann@lee-family.example")});
        state.saveWhole();
    }
    platform.answerOpenFile(contacts);
    if (QAction* open = main.findChild<QAction*>(QStringLiteral("mnuFileOpen"))) {
        open->trigger();
    }
    for (const auto& [item, name, picture] :
         {std::tuple{"mnuSyncAccount", "frmSyncAccount", "sync-account.png"},
          std::tuple{"mnuSyncConflicts", "frmSyncConflicts", "sync-conflicts.png"}}) {
        if (QAction* action = main.findChild<QAction*>(QString::fromLatin1(item))) {
            action->trigger();
        }
        QWidget* window = topLevel(name);
        ok = save(window, folder, QString::fromLatin1(picture)) && ok;
        if (window) {
            window->close();
        }
    }

    AboutBox about(platform, programFolder.path());
    ok = save(&about, folder, QStringLiteral("about-box.png")) && ok;
    about.close();
    main.close();
    if (!ok) {
        *error = QStringLiteral("could not draw every window picture into ") + folder;
    }
    return ok;
}

}  // namespace tandor::docs
