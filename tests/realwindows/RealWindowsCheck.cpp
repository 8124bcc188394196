// The program's windows on a real display under a window manager, measured as
// a user meets them. scripts/real-windows.sh starts the display and the window
// manager and runs this at two scales; see tests/CMakeLists.txt.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QMainWindow>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QTableWidget>
#include <QUuid>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QStyle>
#include <QStyleOption>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QWindow>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>
#include <memory>

#include "platform/widgets/DesktopPlatform.h"
#include "compose/widgets/MainWindow.h"
#include "appshell/widgets/ApplicationShell.h"
#include "store/ContactsFile.h"
#include "store/ContactsDocument.h"
#include "support/DrawnColumns.h"
#include "support/PlainDavClient.h"
#include "sync/SyncState.h"
#include "support/TestFiles.h"

using namespace tandor;

namespace {

// ---- The running program -------------------------------------------------

struct Program {
    test::TempFolder folder;
    QString programFolder = folder.withDefaultAdjustments();
    DesktopPlatform platform;
    ApplicationShell shell{platform, programFolder};
    ContactsDocument& session = shell.document();
    MainWindow& main = shell.mainWindow();
};
Program* program = nullptr;

// A dialog the check answers itself; any other is inspected and dismissed.
std::function<bool(QWidget*)> answerNextDialog;
int dialogsSeen = 0;

void settle(int ms = 40) { QTest::qWait(ms); }

QString shotsFolder() { return qEnvironmentVariable("TANDOR_SHOTS", QDir::currentPath()); }

QString fileNamePart(QString text) {
    text.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("-"));
    return text.left(40);
}

// A picture of the window with its frame, once for each window, title and state.
void screenshot(QWidget* w, const QString& state = {}) {
    static QSet<QString> taken;
    static int count = 0;
    const QString key = w->objectName() + QLatin1Char('|') + w->windowTitle() + QLatin1Char('|') + state;
    if (taken.contains(key)) {
        return;
    }
    taken.insert(key);
    QScreen* screen = w->screen();
    const QRect frame = w->frameGeometry().translated(-screen->geometry().topLeft());
    const QPixmap picture = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    QString name = QStringLiteral("%1-%2")
                       .arg(++count, 2, 10, QLatin1Char('0'))
                       .arg(fileNamePart(w->objectName().isEmpty() ? w->windowTitle() : w->objectName()));
    if (!state.isEmpty()) {
        name += QLatin1Char('-') + state;
    }
    name += QStringLiteral(".png");
    picture.save(shotsFolder() + QLatin1Char('/') + name);
}

QString pressing;  // the item pressed last

QString describe(QWidget* w) {
    return QStringLiteral("%1 \"%2\" (after %3)").arg(w->objectName(), w->windowTitle(), pressing);
}

// ---- What every window and dialog must satisfy --------------------------

int widestLine(const QFontMetrics& metrics, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return widest;
}

// The room the style gives a button's caption.
int captionRoom(QAbstractButton* b) {
    QStyleOptionButton option;
    option.initFrom(b);
    option.text = b->text();
    option.rect = b->rect();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<QCheckBox*>(b)) {
        contents = QStyle::SE_CheckBoxContents;
    } else if (qobject_cast<QRadioButton*>(b)) {
        contents = QStyle::SE_RadioButtonContents;
    }
    return b->style()->subElementRect(contents, &option, b).width();
}

void inspect(QWidget* w) {
    const QString where = describe(w);
    const QRect area = w->screen()->availableGeometry();
    const QRect frame = w->frameGeometry();
    EXPECT_TRUE(area.contains(frame)) << where.toStdString() << ": the window at " << frame.x() << ","
                                      << frame.y() << " " << frame.width() << "x" << frame.height()
                                      << " is not inside the screen's " << area.width() << "x" << area.height();
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
        const QString caption = QString(b->text()).remove(QLatin1Char('&'));
        if (!b->isVisibleTo(w) || caption.isEmpty()) {
            continue;
        }
        EXPECT_LE(widestLine(b->fontMetrics(), caption), captionRoom(b))
            << where.toStdString() << ": the caption \"" << caption.toStdString() << "\" of "
            << b->objectName().toStdString() << " is cut off";
    }
    for (QLabel* l : w->findChildren<QLabel*>()) {
        if (!l->isVisibleTo(w) || l->wordWrap() || l->text().isEmpty() || Qt::mightBeRichText(l->text())) {
            continue;
        }
        EXPECT_LE(widestLine(l->fontMetrics(), QString(l->text()).remove(QLatin1Char('&'))), l->contentsRect().width())
            << where.toStdString() << ": the label \"" << l->text().toStdString() << "\" is cut off";
    }
    for (QGroupBox* g : w->findChildren<QGroupBox*>()) {
        if (g->isVisibleTo(w) && !g->title().isEmpty()) {
            EXPECT_LE(g->fontMetrics().horizontalAdvance(g->title()) + 16, g->width()) << where.toStdString();
        }
    }
    // Message and input boxes: text wrapped to a readable width, the whole title shown.
    if (qobject_cast<QMessageBox*>(w) || qobject_cast<QInputDialog*>(w)) {
        for (QLabel* l : w->findChildren<QLabel*>()) {
            EXPECT_LE(l->width(), 600) << where.toStdString() << ": the text runs " << l->width() << " px wide";
        }
        EXPECT_GE(w->width(), DesktopPlatform::titleWidth(w->windowTitle()))
            << where.toStdString() << ": the title does not fit";
    }
}

// Answers a message box with its most cautious button; closes other dialogs.
void dismiss(QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        for (QMessageBox::ButtonRole role :
             {QMessageBox::NoRole, QMessageBox::RejectRole, QMessageBox::AcceptRole, QMessageBox::YesRole}) {
            for (QAbstractButton* b : box->buttons()) {
                if (box->buttonRole(b) == role) {
                    b->click();
                    return;
                }
            }
        }
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
    } else {
        modal->close();
    }
}

void waitForFrame(QWidget* w) {
    if (!QTest::qWaitForWindowExposed(w, 3000)) {
        ADD_FAILURE() << describe(w).toStdString() << " was never shown";
    }
    // The window manager frames and places it.
    for (int waited = 0; waited < 1500 && (w->frameGeometry() == w->geometry() || w->width() == 0); waited += 20) {
        settle(20);
    }
    settle(40);
}

void handleModalDialog() {
    static bool busy = false;
    QWidget* modal = QApplication::activeModalWidget();
    if (busy || modal == nullptr || !modal->isVisible()) {
        return;
    }
    busy = true;
    waitForFrame(modal);
    // A dialog still being laid out (a print dialog, under load) is met again
    // at the next tick.
    static int notReady = 0;
    if (modal->frameGeometry().isEmpty() && ++notReady < 20) {
        busy = false;
        return;
    }
    notReady = 0;
    ++dialogsSeen;
    if (modal->frameGeometry().isEmpty()) {
        // Seen only under heavy load, with Qt's own print dialog: nothing to measure.
        std::printf("note: %s had no size on screen; not measured\n", qPrintable(describe(modal)));
    } else {
        inspect(modal);
        screenshot(modal);
    }
    const auto answer = std::exchange(answerNextDialog, nullptr);
    if (!answer || !answer(modal)) {
        dismiss(modal);
    }
    busy = false;
}

// ---- Driving the windows --------------------------------------------------

QList<QWidget*> shownWindows() {
    QList<QWidget*> shown;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && !qobject_cast<QMenu*>(w) && w->windowType() != Qt::Popup && w->windowType() != Qt::ToolTip &&
            w != &program->main) {
            shown.append(w);
        }
    }
    return shown;
}

QWidget* shownWindow(const QString& name) {
    for (QWidget* w : shownWindows()) {
        if (w->objectName() == name) {
            return w;
        }
    }
    return nullptr;
}

QAction* mainItem(const char* name) {
    return program->main.findChild<QAction*>(QString::fromLatin1(name));
}

// Closes every window but the main window; the main window must be back
// where it was.
void closeOthers(const QPoint& mainPlace, const QString& what) {
    for (int round = 0; round < 4 && !shownWindows().isEmpty(); ++round) {
        for (QWidget* w : shownWindows()) {
            w->close();
            settle();
        }
    }
    EXPECT_TRUE(shownWindows().isEmpty()) << what.toStdString() << ": a window did not close";
    for (QWidget* w : shownWindows()) {
        w->hide();
    }
    // The window manager places the main window.
    for (int waited = 0; waited < 2000 && program->main.frameGeometry().topLeft() != mainPlace; waited += 50) {
        settle(50);
    }
    EXPECT_TRUE(program->main.isVisible()) << what.toStdString();
    EXPECT_EQ(program->main.frameGeometry().topLeft(), mainPlace)
        << what.toStdString() << ": the main window came back elsewhere";
}

// Runs an item and inspects each window it opened.
QList<QWidget*> runItem(QObject* item) {
    const QList<QWidget*> before = shownWindows();
    pressing = item->objectName();
    if (auto* action = qobject_cast<QAction*>(item)) {
        action->trigger();
    } else if (auto* button = qobject_cast<QAbstractButton*>(item)) {
        button->click();
    }
    settle();
    QList<QWidget*> opened;
    for (QWidget* w : shownWindows()) {
        if (!before.contains(w)) {
            waitForFrame(w);
            inspect(w);
            screenshot(w);
            opened.append(w);
        }
    }
    return opened;
}

// The menu items and buttons of a window that a user can press.
QStringList pressableNames(QWidget* window) {
    QStringList names;
    for (QMenu* menu : window->findChildren<QMenu*>()) {
        for (QAction* a : menu->actions()) {
            if (!a->isSeparator() && !a->objectName().isEmpty()) {
                names.append(a->objectName());
            }
        }
    }
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        if (!b->objectName().isEmpty() && !b->objectName().startsWith(QLatin1String("qt_"))) {
            names.append(b->objectName());
        }
    }
    names.removeDuplicates();
    return names;
}

QObject* pressable(QWidget* window, const QString& name) {
    if (auto* a = window->findChild<QAction*>(name)) {
        return a->isEnabled() ? a : nullptr;
    }
    auto* b = window->findChild<QAbstractButton*>(name);
    return b && b->isEnabled() && b->isVisibleTo(window) ? b : nullptr;
}

// Items that end the program or that the check drives itself.
bool leftAlone(const QString& name) {
    return name.contains(QLatin1String("Exit")) || name == QLatin1String("mnuFileNew") ||
           name == QLatin1String("mnuFileOpen") || name == QLatin1String("mnuFileClose");
}

// Presses every item of a window opened by `opener`, opening it again when an
// item closed it.
void pressEverything(QObject* opener, QWidget* window, const QPoint& mainPlace) {
    const QString name = window->objectName();
    for (const QString& item : pressableNames(window)) {
        if (leftAlone(item)) {
            continue;
        }
        if (shownWindow(name) == nullptr) {
            closeOthers(mainPlace, name);
            runItem(opener);
        }
        window = shownWindow(name);
        if (window == nullptr) {
            ADD_FAILURE() << name.toStdString() << " did not open again";
            return;
        }
        if (QObject* target = pressable(window, item)) {
            const QList<QWidget*> opened = runItem(target);
            for (QWidget* w : opened) {
                if (w->objectName() != name && qobject_cast<QDialog*>(w)) {
                    w->close();  // a box beside the window (About)
                }
            }
        }
    }
}

// ---- The checks -----------------------------------------------------------

class RealWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        program = new Program;
        program->main.show();
        waitForFrame(&program->main);
        auto* watcher = new QTimer(qApp);
        QObject::connect(watcher, &QTimer::timeout, qApp, handleModalDialog);
        watcher->start(50);
    }
    Program& p() { return *program; }
    QPoint mainPlace() { return p().main.frameGeometry().topLeft(); }
};

QString dataPath() { return program->programFolder + QStringLiteral("/Family.DAT"); }

// Types a name into a file dialog and presses Enter.
std::function<bool(QWidget*)> typeFileName(const QString& name, QStringList* filters) {
    return [name, filters](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        auto* edit = dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
        if (edit == nullptr) {
            return false;
        }
        if (filters) {
            *filters = dialog->nameFilters();
        }
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
        return true;
    };
}

ContactRecord contact(std::initializer_list<std::pair<Field, const char*>> values) {
    ContactFields f;
    f[Field::IncludeCompany] = QStringLiteral("0");
    f[Field::BirthdayReminder] = QStringLiteral("0");
    for (const auto& [field, value] : values) {
        f[field] = QString::fromLatin1(value);
    }
    return ContactRecord::build(f);
}

TEST_F(RealWindows, ANewFileNamedWithoutExtensionIsFoundAgainByOpen) {
    answerNextDialog = typeFileName(QStringLiteral("Family"), nullptr);
    mainItem("mnuFileNew")->trigger();
    settle();
    ASSERT_TRUE(QFileInfo::exists(dataPath())) << "File New did not create Family.DAT";
    {
        // Three contacts: without a company, with one, and every list field at its full width.
        ContactsFile file;
        file.open(dataPath());
        file.append(contact({{Field::FName, "Ann"}, {Field::LName, "Lee"}, {Field::City, "Reno"}}));
        file.append(contact({{Field::FName, "Bo"}, {Field::LName, "Park"}, {Field::Company, "Acme Tools"},
                             {Field::IncludeCompany, "1"}}));
        file.append(contact({{Field::FName, "Maximiliana"}, {Field::MiddleInit, "Q"},
                             {Field::LName, "Wolfeschlegelste"}, {Field::City, "Rancho Cucamonga"},
                             {Field::State, "CA"}, {Field::Zip, "91730-1234"}, {Field::HPhone, "909-555-0123456"},
                             {Field::CPhone, "909-555-0198765"},
                             {Field::Email, "maximiliana.wolfeschlegelste@rancho-cucamonga.com"}}));
    }
    mainItem("mnuFileClose")->trigger();
    QStringList filters;
    answerNextDialog = typeFileName(QStringLiteral("Family.DAT"), &filters);
    mainItem("mnuFileOpen")->trigger();
    settle();
    EXPECT_EQ(filters, QStringList({"Data Files (*.DAT *.dat)", "All Files (*)"}));
    EXPECT_EQ(p().session.fileName(), dataPath());
    EXPECT_EQ(p().session.file().recordCount(), 3);
    screenshot(&p().main, QStringLiteral("file-open"));
}

TEST_F(RealWindows, TheInstructionsShowWholeAtTheSmallestSize) {
    const QSize was = p().main.size();
    p().main.resize(p().main.minimumSize());
    settle(150);
    auto* label = p().main.findChild<QLabel*>(QStringLiteral("lblLMInstruct"));
    EXPECT_GE(label->height(), label->heightForWidth(label->width()));
    screenshot(&p().main, QStringLiteral("smallest"));
    p().main.resize(was);
    settle(150);
}

TEST_F(RealWindows, ChoosingEnvelopeLeavesTheLinesWhereTheyAre) {
    auto* line = p().main.findChild<QLineEdit*>(QStringLiteral("txtLMLine1"));
    auto* envelope = p().main.findChild<QRadioButton*>(QStringLiteral("optLMEnvelope"));
    const QRect before = line->geometry();
    const QSize window = p().main.size();
    envelope->click();
    settle(150);
    EXPECT_EQ(line->geometry(), before);
    EXPECT_EQ(p().main.size(), window);
    p().main.findChild<QPushButton*>(QStringLiteral("cmdLMClear"))->click();
    settle();
}

// Where a control stands in the main window.
QRect placeIn(QWidget* window, const char* name) {
    auto* w = window->findChild<QWidget*>(QString::fromLatin1(name));
    if (w == nullptr) {
        ADD_FAILURE() << name << " is missing";
        return {};
    }
    return QRect(w->mapTo(window, QPoint()), w->size());
}

// A list shows its entries whole: it is as wide as its widest entry needs.
void expectWholeEntries(QComboBox* list) {
    QStyleOptionComboBox option;
    option.initFrom(list);
    const QRect text = list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list);
    for (int i = 0; i < list->count(); ++i) {
        EXPECT_LE(list->fontMetrics().horizontalAdvance(list->itemText(i)), text.width())
            << list->objectName().toStdString() << ": \"" << list->itemText(i).toStdString() << "\" is cut off";
    }
}

// The sheet list is kept narrow on purpose and shows the chosen sheet's short
// caption; its drop-down list shows every sheet whole, by its summary: the
// drop-down, as it opens on the screen, is wide enough for every summary and
// stays on the screen.
void expectWholeSummaries(QComboBox* list) {
    list->showPopup();
    settle(150);
    QAbstractItemView* view = list->view();
    ASSERT_TRUE(view->isVisible());
    EXPECT_TRUE(view->screen()->availableGeometry().contains(view->window()->frameGeometry()))
        << list->objectName().toStdString() << ": its drop-down runs off the screen";
    // An entry's text stands inside the focus frame's margin on either side.
    const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
    const int room = view->viewport()->width() - margins;
    const QFontMetrics metrics = view->fontMetrics();
    for (int i = 0; i < list->count(); ++i) {
        const QString summary = list->itemData(i, MainWindow::kSheetSummaryRole).toString();
        EXPECT_FALSE(summary.isEmpty()) << list->objectName().toStdString() << " entry " << i;
        EXPECT_LE(metrics.horizontalAdvance(summary), room)
            << list->objectName().toStdString() << ": \"" << summary.toStdString() << "\" is cut off in its drop-down";
    }
    screenshot(view->window(), QStringLiteral("sheet-drop-down"));
    list->hidePopup();
    settle(100);
}

TEST_F(RealWindows, ChoosingAnEnvelopeSizeOrASheetMovesNothing) {
    QMainWindow& main = p().main;
    auto* envelope = main.findChild<QRadioButton*>(QStringLiteral("optLMEnvelope"));
    auto* sizes = main.findChild<QComboBox*>(QStringLiteral("cboLMEnvelope"));
    auto* sheets = main.findChild<QComboBox*>(QStringLiteral("cboLMSheet"));
    auto* largeFont = main.findChild<QCheckBox*>(QStringLiteral("chkLargeFont"));
    ASSERT_TRUE(envelope && sizes && sheets && largeFont);
    const char* watched[] = {"txtLMLine1", "txtLMLine5", "pnlLMOptions", "cboLMSheet", "cboLMEnvelope",
                             "chkBold", "chkLargeFont", "cmdLMStart", "lblLMEnvSize"};
    auto places = [&] {
        QList<QRect> all;
        for (const char* name : watched) {
            all.append(placeIn(&main, name));
        }
        return all;
    };
    const QSize window = main.size();
    const QList<QRect> before = places();
    screenshot(&main, QStringLiteral("before-envelope"));
    envelope->click();
    settle(150);
    EXPECT_EQ(places(), before) << "choosing Envelope moved a control";
    for (int i = 0; i < sizes->count(); ++i) {
        sizes->setCurrentIndex(i);
        emit sizes->activated(i);
        settle(100);
        const QList<QRect> after = places();
        for (int w = 0; w < int(std::size(watched)); ++w) {
            EXPECT_EQ(after[w], before[w]) << watched[w] << " moved or changed size with \""
                                           << sizes->itemText(i).toStdString() << "\"";
        }
        EXPECT_EQ(main.size(), window);
        screenshot(&main, QStringLiteral("envelope-%1").arg(i + 1));
    }
    expectWholeEntries(sizes);
    expectWholeSummaries(sheets);
    // The font options keep a gap above the row of buttons.
    EXPECT_GE(placeIn(&main, "cmdLMStart").top() - placeIn(&main, "chkLargeFont").bottom(), 6)
        << "Large Font touches the buttons";
    const QLabel* caption = main.findChild<QLabel*>(QStringLiteral("lblLMEnvSize"));
    EXPECT_LE(caption->fontMetrics().horizontalAdvance(caption->text()), caption->contentsRect().width());
    main.findChild<QPushButton*>(QStringLiteral("cmdLMClear"))->click();
    settle();
    const QString chosen = sheets->currentData().toString();
    // The first few sheets: a list of hundreds would take minutes.
    for (int i = 0; i < std::min(sheets->count(), 6); ++i) {
        sheets->setCurrentIndex(i);
        emit sheets->activated(i);
        settle(100);
        EXPECT_EQ(placeIn(&main, "txtLMLine1"), before[0]) << sheets->itemText(i).toStdString();
        EXPECT_EQ(placeIn(&main, "pnlLMOptions"), before[2]) << sheets->itemText(i).toStdString();
        EXPECT_TRUE(main.findChild<QLabel*>(QStringLiteral("lblLMInstruct"))
                        ->text()
                        .contains(sheets->itemData(i).toString()))
            << "the instructions do not name " << sheets->itemText(i).toStdString();
        screenshot(&main, QStringLiteral("sheet-%1").arg(i + 1));
    }
    const int back = sheets->findData(chosen);
    sheets->setCurrentIndex(back);
    emit sheets->activated(back);
    settle();

    // Typing in the list shows the sheets that match under it, on the screen;
    // leaving it keeps the chosen sheet.
    sheets->lineEdit()->setFocus();
    sheets->lineEdit()->selectAll();
    QTest::keyClicks(sheets->lineEdit(), QStringLiteral("avery a4"));
    settle(150);
    QWidget* matches = main.findChild<QCompleter*>()->popup();
    ASSERT_TRUE(matches->isVisible());
    EXPECT_TRUE(matches->screen()->availableGeometry().contains(matches->frameGeometry()));
    EXPECT_GE(matches->geometry().top(), sheets->mapToGlobal(QPoint(0, sheets->height())).y() - 2);
    screenshot(&main, QStringLiteral("sheet-matches"));
    screenshot(matches);
    QTest::keyClick(matches, Qt::Key_Escape);
    main.findChild<QLineEdit*>(QStringLiteral("txtLMLine1"))->setFocus();
    settle();
    EXPECT_EQ(sheets->currentData().toString(), chosen);
    EXPECT_EQ(sheets->lineEdit()->text(), sheets->itemText(back));
}

TEST_F(RealWindows, TheBrowserButtonsStayBetweenRecords) {
    const QPoint place = mainPlace();
    runItem(mainItem("mnuViewOne"));
    QWidget* browser = shownWindow(QStringLiteral("frmEdDelViewContact"));
    ASSERT_NE(browser, nullptr);
    auto* next = browser->findChild<QPushButton*>(QStringLiteral("cmdNext"));
    browser->findChild<QPushButton*>(QStringLiteral("cmdFirst"))->click();
    settle(100);
    const QPoint withoutCompany = next->mapTo(browser, QPoint());
    next->click();  // the contact with a company
    settle(100);
    EXPECT_EQ(browser->findChild<QLineEdit*>(QStringLiteral("txtACCompany"))->text(), "Acme Tools");
    EXPECT_EQ(next->mapTo(browser, QPoint()), withoutCompany);
    screenshot(browser);
    closeOthers(place, QStringLiteral("browser"));
}

// "All Contacts" with its report of every contact (null when the list did not open).
QWidget* listWithReport() {
    runItem(mainItem("mnuViewAll"));
    QWidget* list = shownWindow(QStringLiteral("frmViewAll"));
    if (list != nullptr) {
        runItem(list->findChild<QPushButton*>(QStringLiteral("cmdACGetReport")));
        settle(150);
    }
    return list;
}

TEST_F(RealWindows, ListColumnsStartUnderTheirHeadings) {
    const QPoint place = mainPlace();
    QWidget* list = listWithReport();
    ASSERT_NE(list, nullptr);
    auto* view = list->findChild<QListView*>(QStringLiteral("lstAllContacts"));
    auto* header = list->findChild<QLineEdit*>(QStringLiteral("txtViewAllHeader"));
    view->clearSelection();
    int row = -1;
    for (int r = 0; r < view->model()->rowCount(); ++r) {
        if (view->model()->index(r, 0).data().toString().startsWith(QLatin1String("Maximiliana"))) {
            row = r;
        }
    }
    ASSERT_GE(row, 0);
    // Read from the screen, whatever face the desktop calls "monospace".
    const QFont desktopMonospace = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const auto expectColumnsUnderHeadings = [&] {
        const test::DrawnColumns drawn = test::drawnColumns(view, header, row);
        ASSERT_EQ(drawn.headings.size(), 7);
        ASSERT_GE(drawn.columns.size(), 7);
        const QList<int> drift = test::columnDrift(drawn);
        std::printf("desktop monospace: %s; the list: %s; columns at most %d px from their headings\n",
                    qPrintable(QFontInfo(desktopMonospace).family()), qPrintable(QFontInfo(view->font()).family()),
                    *std::max_element(drift.begin(), drift.end()));
        for (int i = 0; i < 7; ++i) {
            EXPECT_LE(drift[i], 6) << qPrintable(QFontInfo(view->font()).family()) << ": column " << i << " at "
                                   << drawn.columns[i] << ", its heading at " << drawn.headings[i];
        }
    };
    expectColumnsUnderHeadings();
    screenshot(list, QStringLiteral("listed"));
    // Even in the desktop's own monospace, were the list to take it, the
    // columns are measured on the headings.
    QFont face = desktopMonospace;
    face.setPointSizeF(view->font().pointSizeF());
    view->setFont(face);
    runItem(list->findChild<QPushButton*>(QStringLiteral("cmdACNewSearch")));
    runItem(list->findChild<QPushButton*>(QStringLiteral("cmdACGetReport")));
    settle(150);
    view->clearSelection();
    expectColumnsUnderHeadings();
    screenshot(list, QStringLiteral("listed-in-desktop-monospace"));
    closeOthers(place, QStringLiteral("list"));
}

// The list's scroll bar as a user meets it: the thumb at the left over the
// first columns, the right arrow showing later columns, the headings going
// along; then "New Search" gives the options back for another report.
TEST_F(RealWindows, TheListScrollsForwardAndSearchesAgain) {
    const QPoint place = mainPlace();
    QWidget* list = listWithReport();
    ASSERT_NE(list, nullptr);
    auto* view = list->findChild<QListView*>(QStringLiteral("lstAllContacts"));
    auto* header = list->findChild<QLineEdit*>(QStringLiteral("txtViewAllHeader"));
    QScrollBar* bar = view->horizontalScrollBar();
    ASSERT_TRUE(bar->isVisible()) << "the lines are wider than the list";
    const QModelIndex first = view->model()->index(0, 0);
    EXPECT_EQ(bar->value(), bar->minimum());
    EXPECT_EQ(view->visualRect(first).left(), 0);
    // The thumb stands at the left end of the bar.
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    option.direction = bar->layoutDirection();
    const QRect thumb = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
    const QRect right = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarAddLine, bar);
    EXPECT_LT(thumb.center().x(), bar->width() / 2) << "the thumb is not at the left";
    // As drawn: the thumb is the darker part of the track, at its left end.
    const auto darkness = [bar](int from, int to) {
        const QImage image = bar->grab().toImage();
        const double ratio = image.devicePixelRatio();
        double sum = 0;
        int n = 0;
        for (int x = qRound(from * ratio); x < qRound(to * ratio); ++x) {
            for (int y = 0; y < image.height(); ++y, ++n) {
                sum += 255 - qGray(image.pixel(x, y));
            }
        }
        return n == 0 ? 0.0 : sum / n;
    };
    const int track = bar->width();
    EXPECT_GT(darkness(track / 8, track / 4), darkness(track * 3 / 4, track * 7 / 8) + 20)
        << "the thumb does not show at the left of the track";
    screenshot(list, QStringLiteral("scroll-start"));
    const int margin = header->textMargins().left();
    for (int i = 0; i < 5; ++i) {
        QTest::mouseClick(bar, Qt::LeftButton, {}, right.center());
        settle(20);
    }
    settle(100);
    const int moved = bar->value() - bar->minimum();
    EXPECT_GT(moved, 0) << "the right arrow did not scroll forward";
    EXPECT_EQ(view->visualRect(first).left(), -moved) << "the lines did not move left";
    EXPECT_EQ(header->textMargins().left(), margin - moved) << "the headings did not follow";
    screenshot(list, QStringLiteral("scrolled-right"));

    auto* newSearch = list->findChild<QPushButton*>(QStringLiteral("cmdACNewSearch"));
    ASSERT_NE(newSearch, nullptr);
    ASSERT_TRUE(newSearch->isVisible());
    runItem(newSearch);
    settle(150);
    EXPECT_TRUE(list->findChild<QGroupBox*>(QStringLiteral("frSearch"))->isVisible());
    EXPECT_TRUE(list->findChild<QGroupBox*>(QStringLiteral("frSortOrder"))->isVisible());
    EXPECT_EQ(view->model()->rowCount(), 0);
    inspect(list);
    screenshot(list, QStringLiteral("new-search"));
    list->findChild<QRadioButton*>(QStringLiteral("optLnameSort"))->click();
    runItem(list->findChild<QPushButton*>(QStringLiteral("cmdACGetReport")));
    settle(150);
    EXPECT_EQ(view->model()->rowCount(), 3);
    EXPECT_TRUE(view->model()->index(0, 0).data().toString().startsWith(QLatin1String("Lee, Ann")));
    screenshot(list, QStringLiteral("searched-again"));
    closeOthers(place, QStringLiteral("list"));
}

TEST_F(RealWindows, EveryWindowAndDialogFitsAndKeepsTheMainWindowInPlace) {
    const int dialogsBefore = dialogsSeen;
    const QStringList mainItems = pressableNames(&p().main);
    for (const QString& name : mainItems) {
        if (leftAlone(name)) {
            continue;
        }
        QObject* item = pressable(&p().main, name);
        if (item == nullptr || !p().main.isVisible()) {
            continue;
        }
        const QPoint place = mainPlace();
        const QList<QWidget*> opened = runItem(item);
        for (QWidget* w : opened) {
            if (!qobject_cast<QDialog*>(w) && shownWindow(w->objectName()) == w) {
                pressEverything(item, w, place);
            }
        }
        closeOthers(place, name);
        p().main.findChild<QPushButton*>(QStringLiteral("cmdLMClear"))->click();
    }
    EXPECT_GT(dialogsSeen - dialogsBefore, 20) << "the sweep met fewer dialogs than the program has";
}

// The sync windows as a new user meets them, against the Radicale test server
// of scripts/dav-test-servers.sh: the account window with the address books
// found, then the conflicts window after both sides changed one contact.
TEST_F(RealWindows, TheSyncWindowsAsANewUserMeetsThem) {
    const QString url = qEnvironmentVariable("TANDOR_RADICALE_URL");
    if (url.isEmpty()) {
        GTEST_SKIP() << "no CardDAV test server (TANDOR_RADICALE_URL is not set; "
                        "eval \"$(bash scripts/dav-test-servers.sh start)\" starts one)";
    }
    const QString user = qEnvironmentVariable("TANDOR_DAV_USER");
    const QString password = qEnvironmentVariable("TANDOR_DAV_PASSWORD");
    const QString bookName = qEnvironmentVariable("TANDOR_RADICALE_BOOK");
    ASSERT_TRUE(p().session.hasFile());
    const QPoint place = mainPlace();

    runItem(mainItem("mnuSyncAccount"));
    QWidget* account = shownWindow(QStringLiteral("frmSyncAccount"));
    ASSERT_NE(account, nullptr);
    auto type = [account](const char* box, const QString& text) {
        auto* edit = account->findChild<QLineEdit*>(QString::fromLatin1(box));
        edit->setFocus();
        QTest::keyClicks(edit, text);
    };
    type("txtSyncServer", url);
    type("txtSyncUser", user);
    type("txtSyncPassword", password);
    runItem(account->findChild<QPushButton*>(QStringLiteral("cmdSyncFind")));
    auto* books = account->findChild<QListWidget*>(QStringLiteral("lstSyncBooks"));
    QString bookUrl;
    for (int i = 0; i < books->count(); ++i) {
        if (books->item(i)->text() == bookName) {
            books->setCurrentRow(i);
            bookUrl = books->item(i)->toolTip();
        }
    }
    ASSERT_FALSE(bookUrl.isEmpty()) << "no address book named " << bookName.toStdString();
    settle(150);
    inspect(account);
    screenshot(account, QStringLiteral("books-found"));
    runItem(account->findChild<QPushButton*>(QStringLiteral("cmdSyncLink")));
    closeOthers(place, QStringLiteral("mnuSyncAccount"));

    // A contact the phone adds, then changes while it is changed here too.
    test::PlainDavClient phone(user, password);
    const QString last = QStringLiteral("Q") + QUuid::createUuid().toString(QUuid::Id128).left(8);
    const QUrl card = QUrl(bookUrl).resolved(QUrl(last + QStringLiteral(".vcf")));
    auto phoneWrites = [&](const char* email) {
        phone.put(card, QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:%1\r\nFN:Zoe %1\r\nN:%1;Zoe;;;\r\n"
                                       "EMAIL:%2\r\nEND:VCARD\r\n")
                            .arg(last, QLatin1String(email))
                            .toUtf8());
    };
    phoneWrites("zoe@home.example");
    runItem(mainItem("mnuFileSync"));
    settle(300);
    int n = 0;
    for (int i = 1; i <= p().session.file().recordCount(); ++i) {
        if (p().session.file().read(i).field(Field::LName) == last) {
            n = i;
        }
    }
    ASSERT_GT(n, 0) << "Sync Now did not bring the phone's contact";
    ContactFields fields = p().session.file().read(n).fields();
    fields[Field::Email] = QStringLiteral("zoe@work.example");
    p().session.writeContact(n, ContactRecord::build(fields));
    phoneWrites("zoe@phone.example");
    runItem(mainItem("mnuFileSync"));
    settle(300);
    screenshot(&p().main, QStringLiteral("synced"));

    runItem(mainItem("mnuSyncConflicts"));
    QWidget* conflicts = shownWindow(QStringLiteral("frmSyncConflicts"));
    ASSERT_NE(conflicts, nullptr);
    EXPECT_GT(conflicts->findChild<QTableWidget*>(QStringLiteral("tblSyncConflicts"))->rowCount(), 0);
    settle(150);
    inspect(conflicts);
    screenshot(conflicts, QStringLiteral("listed"));
    closeOthers(place, QStringLiteral("mnuSyncConflicts"));
    // The cards this file sent go again, so that the server's book is as the
    // other tests expect it.
    const sync::SyncState state = sync::SyncState::load(p().session.fileName());
    for (const sync::SyncLink& link : state.links()) {
        phone.remove(QUrl(bookUrl).resolved(QUrl(link.href)));
    }
    phone.remove(card);
}

TEST_F(RealWindows, NewLabelSheetDrawsTheSheetAsItIsTyped) {
    bool drawn = false;
    answerNextDialog = [&drawn](QWidget* w) {
        if (w->objectName() != QLatin1String("frmNewSheet")) {
            return false;
        }
        auto type = [w](const char* box, const QString& text) {
            auto* edit = w->findChild<QLineEdit*>(QString::fromLatin1(box));
            edit->selectAll();
            QTest::keyClicks(edit, text);
        };
        type("txtSheetName", QStringLiteral("Pantry jars"));
        w->findChild<QRadioButton*>(QStringLiteral("optSheetMm"))->click();
        w->findChild<QComboBox*>(QStringLiteral("cboSheetPaper"))->setCurrentIndex(1);  // A4
        type("txtSheetLabelWidth", QStringLiteral("63.5"));
        type("txtSheetLabelHeight", QStringLiteral("38.1"));
        type("txtSheetColumns", QStringLiteral("3"));
        type("txtSheetRows", QStringLiteral("7"));
        type("txtSheetLeft", QStringLiteral("7.2"));
        type("txtSheetTop", QStringLiteral("15.1"));
        type("txtSheetPitchX", QStringLiteral("66"));
        type("txtSheetPitchY", QStringLiteral("38.1"));
        settle(150);
        drawn = w->findChild<QPushButton*>(QStringLiteral("cmdSheetSave"))->isEnabled();
        screenshot(w, QStringLiteral("drawn"));
        qobject_cast<QDialog*>(w)->reject();
        return true;
    };
    mainItem("mnuMarginNewSheet")->trigger();
    for (int waited = 0; waited < 5000 && answerNextDialog; waited += 50) {
        settle(50);
    }
    answerNextDialog = nullptr;
    EXPECT_TRUE(drawn) << "the A4 sheet typed into New Label Sheet could not be saved";
}

// Last: it leaves the keyboard focus and the windows as a user would.
TEST_F(RealWindows, AltAndALetterPressesItsButtonAndNeverTypes) {
    const QPoint place = mainPlace();
    runItem(mainItem("mnuAdd"));
    QWidget* form = shownWindow(QStringLiteral("frmNewContact"));
    ASSERT_NE(form, nullptr);
    form->activateWindow();
    settle(100);
    auto* first = form->findChild<QLineEdit*>(QStringLiteral("txtACFName"));
    first->setFocus();
    settle();
    // Alt+S is Save's: with no name, Save asks for one, and nothing is typed.
    QTest::keyClick(first, Qt::Key_S, Qt::AltModifier);
    settle(300);
    EXPECT_EQ(first->text(), QString()) << "Alt+S typed into First Name";
    QTest::keyClick(first, Qt::Key_J, Qt::AltModifier);
    settle(100);
    EXPECT_EQ(first->text(), QString()) << "Alt+J typed into First Name";
    screenshot(form, QStringLiteral("after-alt-s"));
    closeOthers(place, QStringLiteral("add contact"));
    auto* line1 = p().main.findChild<QLineEdit*>(QStringLiteral("txtLMLine1"));
    p().main.activateWindow();
    settle(100);
    line1->setFocus();
    QTest::keyClick(line1, Qt::Key_Q, Qt::AltModifier);
    settle();
    EXPECT_EQ(line1->text(), QString()) << "Alt+Q typed into Line 1";
    screenshot(&p().main, QStringLiteral("mnemonics"));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    delete program;
    return result;
}
