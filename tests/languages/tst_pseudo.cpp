// The proof that a further language is a folder: a pseudo language built from
// resources/English/ with every text wrapped as ⟦…⟧ is loaded like any module,
// and every menu, the status bar, the navigation tree, the dialogs, message
// boxes, the Process dialog and a printout show only wrapped texts (user
// data aside: frequencies, model and band, paths).

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include "codeplug/KQ_517Doc.h"
#include "link/ui/ProcessDlg.h"
#include "settings/FieldPreferences.h"
#include "settings/Globals.h"
#include "settings/ui/AppMessage.h"
#include "settings/ui/FieldOptionsDlg.h"
#include "settings/ui/LanguageDlg.h"
#include "settings/ui/LanguageModule.h"
#include "shell/ChildFrame.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/ProgramRun.h"
#include "view/KQ_517View.h"
#include "view/PrintSwitches.h"

namespace {

const QString kOpen = QStringLiteral("\u27e6");
const QString kClose = QStringLiteral("\u27e7");
const QString kNoDevice = QStringLiteral("/nonexistent/kq517-pseudo-tty");

// Texts that stay what they are under every language: the toolkit's own
// button texts (translated by the toolkit's own catalogue where it has one)
// and the print footer, which is English under either language.
const QList<QRegularExpression>& fixedTexts()
{
    static const QList<QRegularExpression> fixed = {
        QRegularExpression(QStringLiteral("^&?(OK|Cancel|Save|Close|&?Yes|&?No|Retry|Abort|Ignore|Show Details...)$")),
        QRegularExpression(QStringLiteral("\\bPage \\d+ of \\d+\\b")),
    };
    return fixed;
}

// The user's data that texts may carry: the settings file's model and band,
// the files and devices named, the ports' names, the languages' names.
QStringList g_userData;
const QList<QRegularExpression>& userDataPatterns()
{
    static const QList<QRegularExpression> patterns = {
        QRegularExpression(QStringLiteral("/dev/[\\w/.-]+")),
        QRegularExpression(QStringLiteral("\\bCOM\\d\\b")),
        QRegularExpression(QStringLiteral("^Pseudo$")),
        QRegularExpression(QStringLiteral("\\bD\\d{2,4}[NI]\\b")),  // DCS tones
    };
    return patterns;
}

// What is left of text outside its wrapped parts, the user's data and the
// texts allowed; empty when it holds no letter.
QString unwrappedPart(const QString& text)
{
    // Brackets nest: a wrapped text may carry another wrapped text as its
    // argument (the main title carries the wrapped program name).
    QString rest;
    int depth = 0;
    int opened = -1;  // where the outermost open bracket stands
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == kOpen.at(0)) {
            if (depth++ == 0)
                opened = i;
        } else if (text.at(i) == kClose.at(0) && depth > 0) {
            if (--depth == 0)
                rest += QLatin1Char(' ');
        } else if (depth == 0) {
            rest += text.at(i);
        }
    }
    if (depth > 0)
        rest += text.mid(opened);  // an opening without its close is not wrapped
    for (const QString& data : g_userData)
        rest.replace(data, QStringLiteral(" "));
    for (const QRegularExpression& re : userDataPatterns())
        rest.replace(re, QStringLiteral(" "));
    for (const QRegularExpression& re : fixedTexts())
        rest.replace(re, QStringLiteral(" "));
    static const QRegularExpression letter(QStringLiteral("\\p{L}"));
    return rest.contains(letter) ? rest.simplified() : QString();
}

// Collects the texts that are not wrapped, with where they were seen.
struct Findings {
    QStringList unwrapped;
    int checked = 0;

    void check(const QString& where, const QString& text)
    {
        if (text.isEmpty())
            return;
        ++checked;
        if (!unwrappedPart(text).isEmpty())
            unwrapped << where + QStringLiteral(": \"") + text + QLatin1Char('"');
    }

    void checkMenu(const QString& where, QMenu* menu)
    {
        check(where, menu->title());
        for (QAction* action : menu->actions()) {
            if (action->isSeparator())
                continue;
            if (QMenu* sub = action->menu()) {
                checkMenu(where + QStringLiteral(" > ") + sub->title(), sub);
                continue;
            }
            // The shortcut after the tab is a key, not a text.
            check(where, action->text().section(QLatin1Char('\t'), 0, 0));
            check(where + QStringLiteral(" (prompt)"), action->statusTip());
        }
    }

    // Every text a window shows: its title, labels, buttons, group titles,
    // list entries, hints and tips of the widgets it shows.
    void checkWindow(const QString& where, QWidget* window)
    {
        check(where + QStringLiteral(" title"), window->windowTitle());
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(window))
                continue;
            const QString name = where + QLatin1Char(' ') + QString::fromLatin1(w->metaObject()->className());
            if (auto* label = qobject_cast<QLabel*>(w))
                check(name, label->text());
            else if (auto* button = qobject_cast<QAbstractButton*>(w))
                check(name, button->text());
            else if (auto* group = qobject_cast<QGroupBox*>(w))
                check(name, group->title());
            else if (auto* combo = qobject_cast<QComboBox*>(w))
                for (int i = 0; i < combo->count(); ++i)
                    check(name, combo->itemText(i));
            else if (auto* edit = qobject_cast<QLineEdit*>(w))
                check(name, edit->placeholderText());
            check(name + QStringLiteral(" tip"), w->toolTip());
        }
    }

    QString report() const { return unwrapped.join(QLatin1Char('\n')); }
};

// A program folder in the pseudo language, with its own texts in the settings
// file's language section (wrapped too: they are the settings file's texts
// for this language).
struct PseudoFolder : ProgramFolder {
    PseudoFolder()
    {
        QFile::copy(QStringLiteral(KQ517_PSEUDO_MODULE), dir.filePath(QStringLiteral("Pseudo517.rcc")));
        setLanguage("Pseudo");
        QByteArray text = dir.readFile();
        text.replace("[Ports]",
                     "[Pseudo]\n"
                     "AppName=\xe2\x9f\xa6KQ-517 Programmer\xe2\x9f\xa7\n"
                     "Company=\xe2\x9f\xa6KQ-517 Programmer\xe2\x9f\xa7\n"
                     "About Title=\xe2\x9f\xa6" "About KQ-517 Programmer\xe2\x9f\xa7\n"
                     "Version=\xe2\x9f\xa6Version 1.0\xe2\x9f\xa7\n"
                     "Copyrights=\xe2\x9f\xa6" "Copyright (C) 2026\xe2\x9f\xa7\n"
                     "Copyrights Owner=\xe2\x9f\xa6KQ-517 Radio Team\xe2\x9f\xa7\n"
                     "Title=\xe2\x9f\xa6" "Channel Information\xe2\x9f\xa7\n"
                     "[Ports]");
        dir.writeSettings(text);
        // No radio of this machine is ever written to.
        mapPort("COM1", kNoDevice);
    }
};

// The texts of the next message box shown while trigger runs, answered with
// Cancel (or OK, or its first button).
struct BoxSeen {
    QString text;
    QStringList buttons;
};
BoxSeen catchBox(const std::function<void()>& trigger)
{
    BoxSeen seen;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.text = box->text();
        for (QAbstractButton* b : box->buttons())
            seen.buttons << b->text();
        QAbstractButton* answer = box->button(QMessageBox::Cancel);
        if (!answer)
            answer = box->button(QMessageBox::Ok);
        if (!answer)
            answer = box->buttons().value(0);
        if (answer)
            answer->click();
        else
            box->reject();
    });
    poll.start();
    trigger();
    return seen;
}

}  // namespace

class TestPseudo : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void checkerFindsUnwrappedTexts_data();
    void checkerFindsUnwrappedTexts();
    void moduleIsOfferedAndLoaded();
    void nameInAnotherCase();
    void languageDialogStoresTheChoice_data();
    void languageDialogStoresTheChoice();
    void menusStatusBarAndTree();
    void dialogs();
    void processDialog();
    void messageBoxes();
    void printout();

private:
    std::unique_ptr<PseudoFolder> m_folder;
    std::unique_ptr<Started> m_run;
};

void TestPseudo::init()
{
    m_folder = std::make_unique<PseudoFolder>();
    QVERIFY(QFile::exists(m_folder->dir.filePath(QStringLiteral("Pseudo517.rcc"))));
    g_userData = {QStringLiteral("KQ-517"), QStringLiteral("130 - 160MHz"), m_folder->dir.path(), kNoDevice};
    m_run = std::make_unique<Started>(m_folder->dir.path());
    QCOMPARE(m_run->status, int(CKQ_517App::kRunMessageLoop));
}

void TestPseudo::cleanup()
{
    m_run.reset();
    m_folder.reset();
}

// The checker itself: a text outside the brackets is found, the user's data
// and a wrapped text with its arguments are not.
void TestPseudo::checkerFindsUnwrappedTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("found");
    QTest::newRow("wrapped") << QStringLiteral("\u27e6Caution\u27e7") << false;
    QTest::newRow("wrapped with data") << QStringLiteral("\u27e6Printer not found: KQ-517\u27e7") << false;
    QTest::newRow("two lines") << QStringLiteral("\u27e6Line one\u27e7\n\u27e6Line two\u27e7") << false;
    QTest::newRow("numbers") << QStringLiteral("145.00000") << false;
    QTest::newRow("plain") << QStringLiteral("Caution") << true;
    QTest::newRow("half") << QStringLiteral("\u27e6Could not print to\u27e7 file") << true;
    QTest::newRow("not closed") << QStringLiteral("\u27e6Caution") << true;
    QTest::newRow("nested") << QStringLiteral("\u27e6\u27e6Name\u27e7 [ Type: \u27e7") << false;
    QTest::newRow("after nested") << QStringLiteral("\u27e6\u27e6Name\u27e7\u27e7 Type") << true;
    QTest::newRow("user data") << QStringLiteral("KQ-517 130 - 160MHz") << false;
}

void TestPseudo::checkerFindsUnwrappedTexts()
{
    QFETCH(QString, text);
    QFETCH(bool, found);
    QCOMPARE(!unwrappedPart(text).isEmpty(), found);
}

void TestPseudo::moduleIsOfferedAndLoaded()
{
    QVERIFY(LanguageModule::loadedPath().endsWith(QStringLiteral("Pseudo517.rcc")));
    QVERIFY(!g_bChinese);
    QCOMPARE(CLanguageDlg::furtherLanguages(m_folder->dir.path()), QStringList{QStringLiteral("Pseudo")});
}

// "pseudo" finds Pseudo517.rcc: its resources are used (the menus), while
// the program's own texts follow the name as written, which has no table of
// its own: English, as "chinese" gives the Chinese menus and English texts.
void TestPseudo::nameInAnotherCase()
{
    m_run.reset();
    QByteArray settings = m_folder->dir.readFile();
    settings.replace("Language=Pseudo", "Language=pseudo");
    QVERIFY(m_folder->dir.writeSettings(settings));
    m_run = std::make_unique<Started>(m_folder->dir.path());
    QCOMPARE(m_run->status, int(CKQ_517App::kRunMessageLoop));
    QVERIFY(LanguageModule::loadedPath().endsWith(QStringLiteral("Pseudo517.rcc")));
    QAction* read = m_run->frame()->menuAction(CKQ_517View::ID_PROGRAM_READ);
    QVERIFY(read);
    QVERIFY2(read->text().startsWith(kOpen), qPrintable(read->text()));
    QTreeWidget* tree = m_run->frame()->tree();
    QCOMPARE(tree->topLevelItem(0)->child(0)->text(0), QStringLiteral("Product Information"));
}

// The dialog shows the current language checked, the pseudo one among the
// others; a choice is stored and the program restarts, as between English
// and Chinese.
void TestPseudo::languageDialogStoresTheChoice_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QString>("choice");  // the button's text
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("pseudo to English") << QByteArray("Pseudo") << QString() << QByteArray("English");
    QTest::newRow("English to pseudo") << QByteArray("English") << QStringLiteral("Pseudo") << QByteArray("Pseudo");
}

void TestPseudo::languageDialogStoresTheChoice()
{
    QFETCH(QByteArray, from);
    QFETCH(QString, choice);
    QFETCH(QByteArray, written);
    if (from != "Pseudo") {
        m_run.reset();
        QByteArray settings = m_folder->dir.readFile();
        settings.replace("Language=Pseudo", "Language=" + from);
        QVERIFY(m_folder->dir.writeSettings(settings));
        m_run = std::make_unique<Started>(m_folder->dir.path());
        QCOMPARE(m_run->status, int(CKQ_517App::kRunMessageLoop));
    }
    QStringList launched;
    CLanguageDlg::setRelaunchHook([&launched](const QString& program) { launched << program; });
    const auto restore = qScopeGuard([] { CLanguageDlg::setRelaunchHook({}); });
    QString checked;
    ModalAnswerer answer(ModalAnswerer::OtherDialogs);
    answer.onDialog([&](QDialog* dialog) {
        QAbstractButton* chosen = dialog->findChild<QAbstractButton*>(LanguageModule::controlName(1006));
        for (QRadioButton* radio : dialog->findChildren<QRadioButton*>()) {
            if (radio->isChecked())
                checked = radio->text();
            if (radio->text() == choice)
                chosen = radio;
        }
        chosen->click();
        qobject_cast<CLanguageDlg*>(dialog)->OnOK();
    });
    m_run->frame()->onCommand(CKQ_517View::ID_LANGUAGE);
    QCOMPARE(answer.count(), 1);
    if (from == "Pseudo")
        QCOMPARE(checked, QStringLiteral("Pseudo"));
    QCOMPARE(launched.size(), 1);
    QVERIFY2(m_folder->dir.readFile().contains("Language=" + written), m_folder->dir.readFile().constData());
}

void TestPseudo::menusStatusBarAndTree()
{
    CMainFrame* frame = m_run->frame();
    Findings found;
    found.check(QStringLiteral("main window title"), frame->windowTitle());
    for (QMenu* menu : frame->menuBar()->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
        found.checkMenu(QStringLiteral("document menu"), menu);
    for (QToolBar* bar : frame->findChildren<QToolBar*>()) {
        for (QAction* action : bar->actions()) {
            if (!action->isSeparator())
                found.check(QStringLiteral("toolbar tip"), action->toolTip());
        }
    }
    found.check(QStringLiteral("status bar"), frame->statusBar()->currentMessage());
    // The prompt of a command pointed at in the menu.
    if (QAction* read = frame->menuAction(CKQ_517View::ID_PROGRAM_READ)) {
        emit frame->menuBar()->hovered(read);
        found.check(QStringLiteral("status bar prompt"), frame->statusBar()->currentMessage());
    }
    auto* tree = frame->findChild<QTreeWidget*>();
    QVERIFY(tree);
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        found.check(QStringLiteral("navigation tree"), (*it)->text(0));

    // With no document window the main window's own menu.
    for (QMdiSubWindow* window : frame->childFrames())
        frame->destroyChildFrame(window);
    QCOMPARE(frame->currentMenuId(), int(CMainFrame::IDR_MAINFRAME));
    for (QMenu* menu : frame->menuBar()->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
        found.checkMenu(QStringLiteral("main menu"), menu);

    QVERIFY2(found.checked > 50, qPrintable(QString::number(found.checked)));
    QVERIFY2(found.unwrapped.isEmpty(), qPrintable(found.report()));
}

void TestPseudo::dialogs()
{
    struct Command {
        const char* name;
        int id;
    };
    const Command commands[] = {
        {"About", CMainFrame::ID_APP_ABOUT},
        {"Optional Features", CMainFrame::ID_OPTIONAL_FEATURES},
        {"Product Information", CMainFrame::ID_PRODUCT_INFO},
        {"Language", CKQ_517View::ID_LANGUAGE},
        {"COM Setup", CKQ_517View::ID_SETUP_COM},
        {"Options", CKQ_517View::ID_SETUP_OPTIONS},
        {"Write to Several Radios", CKQ_517View::ID_PROGRAM_WRITE_SEVERAL},
    };
    Findings found;
    for (const Command& command : commands) {
        bool seen = false;
        QStringList radios;
        ModalAnswerer answer(ModalAnswerer::OtherDialogs);
        answer.onDialog([&](QDialog* dialog) {
            seen = true;
            found.checkWindow(QString::fromLatin1(command.name), dialog);
            for (QRadioButton* radio : dialog->findChildren<QRadioButton*>())
                radios << radio->text();
            dialog->reject();
        });
        m_run->frame()->onCommand(command.id);
        QVERIFY2(seen, command.name);
        // The Language dialog offers the pseudo language by its folder's name.
        if (command.id == CKQ_517View::ID_LANGUAGE)
            QVERIFY2(radios.contains(QStringLiteral("Pseudo")), qPrintable(radios.join(QLatin1Char(','))));
    }
    QVERIFY2(found.checked > 40, qPrintable(QString::number(found.checked)));
    QVERIFY2(found.unwrapped.isEmpty(), qPrintable(found.report()));
}

void TestPseudo::processDialog()
{
    CKQ_517View* view = m_run->frame()->activeView();
    QVERIFY(view);
    view->OnProgramRead();
    QVERIFY(view->m_pProcessDlg && view->m_pProcessDlg->hasWindow());
    QDialog* window = view->m_pProcessDlg->window();
    Findings found;
    found.checkWindow(QStringLiteral("Process"), window);
    window->findChild<QAbstractButton*>(LanguageModule::controlName(2))->click();
    QVERIFY2(found.checked >= 3, qPrintable(QString::number(found.checked)));
    QVERIFY2(found.unwrapped.isEmpty(), qPrintable(found.report()));
}

void TestPseudo::messageBoxes()
{
    Findings found;
    CKQ_517Doc* doc = m_run->frame()->activeDocument();
    QVERIFY(doc);

    // File New's warning.
    const BoxSeen cleared = catchBox([this] { m_run->frame()->onCommand(CMainFrame::ID_FILE_NEW); });
    QVERIFY(!cleared.text.isEmpty());
    found.check(QStringLiteral("File New warning"), cleared.text);

    // The save question, with its own middle answer.
    doc->SetModifiedFlag(true);
    const BoxSeen question = catchBox([this] { m_run->frame()->SaveAllModified(); });
    found.check(QStringLiteral("save question"), question.text);
    QVERIFY(!question.text.isEmpty());
    for (const QString& button : question.buttons)
        found.check(QStringLiteral("save question button"), button);
    QVERIFY2(question.buttons.size() == 3, qPrintable(question.buttons.join(QLatin1Char(','))));

    // A refused option of Setup > Options.
    FieldPreferences prefs;
    CFieldOptionsDlg options(prefs);
    options.findChild<QAbstractButton*>(QStringLiteral("id%1").arg(CFieldOptionsDlg::IDC_BACKUP))->click();
    const BoxSeen refusal = catchBox([&options] { options.accept(); });
    QVERIFY(!refusal.text.isEmpty());
    found.check(QStringLiteral("options refusal"), refusal.text);
    found.check(QStringLiteral("options refusal caption"), options.windowTitle());

    // A long message's "more" line.
    QStringList lines;
    for (int i = 0; i < 20; ++i)
        lines << kOpen + QStringLiteral("line") + kClose;
    found.check(QStringLiteral("long message"), shortenedMessage(lines.join(QLatin1Char('\n'))));

    // The print switches' messages, as a run without a window says them.
    CKQ_517View* view = m_run->frame()->activeView();
    QString error;
    QVERIFY(!runPrintRequest(view, PrintRequest{true, QString(), QString()}, &error));
    found.check(QStringLiteral("print switch"), error);
    QVERIFY(!runPrintRequest(view, PrintRequest{true, QStringLiteral("x.dat"), QStringLiteral("no such printer")},
                             &error));
    found.check(QStringLiteral("print switch"), error);

    QVERIFY2(found.unwrapped.isEmpty(), qPrintable(found.report()));
}

void TestPseudo::printout()
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        QSKIP("pdftotext is not installed");
    // A document with channels: the report's channel pages show their labels.
    m_run.reset();
    m_run = std::make_unique<Started>(m_folder->dir.path(),
                                      QStringList{QStringLiteral(KQ517_TEST_DATA "/channels.dat")});
    QCOMPARE(m_run->status, int(CKQ_517App::kRunMessageLoop));
    CKQ_517View* view = m_run->frame()->activeView();
    QVERIFY(view);
    const QString pdf = m_folder->dir.filePath(QStringLiteral("report.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    const int pages = view->OnPreparePrinting();
    QVERIFY(pages >= 2);
    QVERIFY(view->printDocument(printer, pages));

    QProcess process;
    process.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'));
    Findings found;
    for (const QString& line : lines)
        found.check(QStringLiteral("printout"), line);
    QVERIFY2(found.checked > 10, qPrintable(QString::number(found.checked)));
    QVERIFY2(found.unwrapped.isEmpty(), qPrintable(found.report()));
}

QTEST_MAIN(TestPseudo)
#include "tst_pseudo.moc"
