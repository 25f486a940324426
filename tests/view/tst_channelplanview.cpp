// The channel view's plan commands: paste and copy of tab-separated rows,
// import and export of channel plans through the file dialogs, inserting,
// deleting and moving rows, the keyboard and comparing with a file.

#include <QtTest>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QLineEdit>
#include <QUndoStack>

#include <functional>
#include <memory>

#include "codeplug/ChannelPlan.h"
#include "codeplug/ImageLayout.h"
#include "settings/Globals.h"
#include "settings/ui/HelpLauncher.h"
#include "shell/KQ_517App.h"
#include "codeplug/KQ_517Doc.h"
#include "shell/MainFrame.h"
#include "settings/ui/LanguageModule.h"
#include "tests/support/GridViewFixture.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/TestSupport.h"
#include "view/CompareDlg.h"
#include "view/KQ_517View.h"
#include "view/MSFlexGrid.h"
#include "view/PlanFileDialog.h"

namespace {

// Cells 1 to 5 of a row, joined by "|".
QString rowText(CMSFlexGrid* grid, int row)
{
    QStringList cells;
    for (int c = 1; c <= 5; ++c)
        cells << grid->GetTextMatrix(row, c);
    return cells.join(QLatin1Char('|'));
}

QStringList allRows(CMSFlexGrid* grid)
{
    QStringList rows;
    for (int r = 1; r <= 16; ++r)
        rows << rowText(grid, r);
    return rows;
}

const QString kEmpty = QStringLiteral("||||");

QPoint cellCentre(CMSFlexGrid* grid, int row, int col)
{
    return grid->visualRect(grid->model()->index(row, col)).center();
}

const char kThreeRows[] = "1\t145.00000\t145.60000\t67.0\tD023N\tNo\n"
                          "2\t146.52000\t\tNone\t100.0\t\n"
                          "3\t150.00000\t150.00000\tD754I\tNone\tYes\n";

}  // namespace

class TestChannelPlanView : public QObject, public GridViewFixture {
    Q_OBJECT
private slots:
    void initTestCase() { HelpLauncher::setLaunchEnabled(false); }
    void init();
    void cleanup();

    // Clipboard
    void pasteTabSeparatedRowsIsOneStep();
    void refusedPasteChangesNothing_data();
    void refusedPasteChangesNothing();
    void copyAndCutSelectedRows();
    void deleteKeyEmptiesSelectedRows();

    // Files
    void importChirpThroughTheMenu();
    void refusedImportNamesEveryBadLine_data();
    void refusedImportNamesEveryBadLine();
    void exportRoundTripsWithoutTouchingTheDocument_data();
    void exportRoundTripsWithoutTouchingTheDocument();
    void chirpSkippedRowsAndLeftOutChannelsAreSaid_data();
    void chirpSkippedRowsAndLeftOutChannelsAreSaid();

    // Rows
    void insertDeleteMoveWithUndo();
    void insertRefusedWhenLastChannelInUse();
    void insertedChannelIsBlank();
    void pasteOntoChannelNotInUseTurnsBusyLockOn();
    void movedRowTakesItsWholeRecord();
    void rowSelectionByChannelNumber();

    // Keyboard
    void tabWalksTheCells();
    void tabStoresTheOpenEditor();

    // Compare
    void compareShowsTheDifferences();
    void compareSaysWhenTheyAgree();

    // Menus
    void documentMenuOffersEveryCommand_data();
    void documentMenuOffersEveryCommand();
    void menuCommandsReachTheActiveView();

private:
    void makeView(bool chinese = false);
    void pasteText(const QString& text, int atRow);
    int steps() const { return m_view->undoStack()->count(); }
};

void TestChannelPlanView::init() { QVERIFY(makeFolders()); }

void TestChannelPlanView::cleanup()
{
    planfiledialog::setHook({});
    tearDownGrid();
}

// The built-in settings (band 130 to 160 MHz), a new document and a shown
// view after its first update.
void TestChannelPlanView::makeView(bool chinese)
{
    QByteArray settings;
    if (chinese) {
        settings = readFile(QStringLiteral(KQ517_SOURCE_DIR "/resources/KQ-517.ini"));
        QVERIFY(settings.contains("Language=English"));
        settings.replace("Language=English", "Language=Chinese");
    }
    QVERIFY(showView(settings));
    m_view->OnInitialUpdate();
    for (int r = 1; r <= 16; ++r)
        QCOMPARE(rowText(m_grid, r), kEmpty);
    m_view->undoStack()->clear();
}

void TestChannelPlanView::pasteText(const QString& text, int atRow)
{
    QApplication::clipboard()->setText(text);
    m_grid->selectRows(atRow, atRow);
    QVERIFY(m_view->OnEditPaste());
}

// ---------------------------------------------------------------------------
// Clipboard

void TestChannelPlanView::pasteTabSeparatedRowsIsOneStep()
{
    makeView();
    QApplication::clipboard()->setText(QString::fromLatin1(kThreeRows));
    m_grid->selectRows(4, 4);
    m_grid->setFocus();
    // Ctrl+V with the grid focused pastes at the first selected row.
    QTest::keyClick(m_grid, Qt::Key_V, Qt::ControlModifier);

    QCOMPARE(rowText(m_grid, 3), kEmpty);
    QCOMPARE(rowText(m_grid, 4), QStringLiteral("145.00000|145.60000|67.0|D023N|No"));
    // A blank transmit frequency is the receive one; a new channel gets busy lock.
    QCOMPARE(rowText(m_grid, 5), QStringLiteral("146.52000|146.52000|None|100.0|Yes"));
    QCOMPARE(rowText(m_grid, 6), QStringLiteral("150.00000|150.00000|D754I|None|Yes"));
    QCOMPARE(rowText(m_grid, 7), kEmpty);
    QCOMPARE(steps(), 1);
    QVERIFY(m_doc->IsModified());

    m_view->OnCommand(CKQ_517View::ID_EDIT_UNDO);
    for (int r = 1; r <= 16; ++r)
        QCOMPARE(rowText(m_grid, r), kEmpty);
    QVERIFY(!m_doc->IsModified());
}

void TestChannelPlanView::refusedPasteChangesNothing_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<int>("atRow");
    QTest::addColumn<QStringList>("inMessage");

    QTest::newRow("out of band") << QStringLiteral("1\t145.00000\t\t\t\t\n2\t520.00000\t\t\t\t\n") << 1
                                 << QStringList{QStringLiteral("line 2"), QStringLiteral("520")};
    QTest::newRow("off step, bad tone") << QStringLiteral("1\t145.00300\t\t\t\t\n2\t145.00000\t\t66.6\t\t\n") << 1
                                        << QStringList{QStringLiteral("line 1"), QStringLiteral("line 2"),
                                                       QStringLiteral("66.6")};
    QTest::newRow("past channel 16") << QString::fromLatin1(kThreeRows) << 15
                                     << QStringList{QStringLiteral("channel 16")};
    QTest::newRow("not rows") << QStringLiteral("hello world") << 1 << QStringList{QStringLiteral("line 1")};
    QTest::newRow("empty clipboard") << QString() << 1 << QStringList{QStringLiteral("clipboard")};
}

void TestChannelPlanView::refusedPasteChangesNothing()
{
    QFETCH(QString, clipboard);
    QFETCH(int, atRow);
    QFETCH(QStringList, inMessage);
    makeView();
    pasteText(QStringLiteral("1\t140.00000\t\t\t\t\n"), 10);
    const QStringList before = allRows(m_grid);
    const MemoryImage image = m_doc->image();

    QApplication::clipboard()->setText(clipboard);
    m_grid->selectRows(atRow, atRow);
    ModalAnswerer answer;
    QVERIFY(!m_view->OnEditPaste());
    QCOMPARE(answer.count(), 1);
    for (const QString& part : inMessage)
        QVERIFY2(answer.last().text.contains(part), qPrintable(answer.last().text));
    QCOMPARE(allRows(m_grid), before);
    QCOMPARE(m_doc->image(), image);
    QCOMPARE(steps(), 1);
}

void TestChannelPlanView::copyAndCutSelectedRows()
{
    makeView();
    pasteText(QString::fromLatin1(kThreeRows), 1);
    const QStringList pasted = allRows(m_grid);

    // Rows 1 to 2 by a click on channel 1 and a Shift+click on channel 2.
    QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, cellCentre(m_grid, 1, 0));
    QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, cellCentre(m_grid, 2, 0));
    QCOMPARE(m_grid->selectedRows(), (QList<int>{1, 2}));
    QCOMPARE(QApplication::focusWidget(), m_grid);
    QTest::keyClick(m_grid, Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(1).split(QLatin1Char('\t')),
             (QStringList{QStringLiteral("2"), QStringLiteral("146.52000"), QStringLiteral("146.52000"),
                          QStringLiteral("None"), QStringLiteral("100.0"), QStringLiteral("Yes")}));
    QCOMPARE(steps(), 1);  // copying changes nothing

    // Pasted at channel 9, they are the same channels there.
    m_grid->selectRows(9, 9);
    QVERIFY(m_view->OnEditPaste());
    QCOMPARE(rowText(m_grid, 9), pasted.at(0));
    QCOMPARE(rowText(m_grid, 10), pasted.at(1));

    // Cut: the rows go to the clipboard and are emptied, in one step.
    m_grid->selectRows(2, 3);
    QApplication::clipboard()->clear();
    m_view->OnCommand(CKQ_517View::ID_EDIT_CUT_ROWS);
    QCOMPARE(QApplication::clipboard()->text().count(QLatin1Char('\n')), 2);
    // Emptied as clearing the receive frequency does: the busy-lock bit is
    // kept, an empty channel shows none.
    QCOMPARE(rowText(m_grid, 2), kEmpty);
    QCOMPARE(rowText(m_grid, 3), kEmpty);
    QCOMPARE(int(m_doc->image().channel(2)[layout::channel::kFlags] & 1), 0);
    QCOMPARE(rowText(m_grid, 1), pasted.at(0));
    QCOMPARE(steps(), 3);
    m_view->OnEditUndo();
    QCOMPARE(rowText(m_grid, 2), pasted.at(1));
    QCOMPARE(rowText(m_grid, 3), pasted.at(2));
}

void TestChannelPlanView::deleteKeyEmptiesSelectedRows()
{
    makeView();
    pasteText(QString::fromLatin1(kThreeRows), 1);
    m_grid->selectRows(1, 2);
    m_grid->setFocus();
    QTest::keyClick(m_grid, Qt::Key_Delete);
    QCOMPARE(rowText(m_grid, 1), kEmpty);
    QCOMPARE(rowText(m_grid, 2), kEmpty);
    QCOMPARE(int(m_doc->image().channel(1)[layout::channel::kFlags] & 1), 1);  // busy lock No kept
    QCOMPARE(rowText(m_grid, 3), QStringLiteral("150.00000|150.00000|D754I|None|Yes"));
    QCOMPARE(steps(), 2);
    m_view->OnEditUndo();
    QCOMPARE(rowText(m_grid, 1), QStringLiteral("145.00000|145.60000|67.0|D023N|No"));
}

// ---------------------------------------------------------------------------
// Files

void TestChannelPlanView::importChirpThroughTheMenu()
{
    makeView();
    const QString path = m_dir->filePath(QStringLiteral("plan.csv"));
    QVERIFY(writeFile(path,
                      "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                      "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n"
                      "1,A,146.520000,,0.000000,TSQL,100.0,100.0,023,NN,023,Tone->Tone,FM,5.00,,50W,,,,,\n"
                      "3,B,145.500000,-,0.600000,Cross,88.5,88.5,023,NR,754,Tone->DTCS,FM,5.00,,50W,,,,,\n"
                      "4,C,144.000000,split,148.000000,DTCS,88.5,88.5,025,RN,023,Tone->Tone,FM,5.00,,50W,,,,,\n"));
    QList<planfiledialog::Purpose> asked;
    QStringList offered;
    planfiledialog::setHook([&](planfiledialog::Purpose purpose, const QStringList& filters) {
        asked << purpose;
        offered = filters;
        return planfiledialog::Choice{path, 1};
    });
    ModalAnswerer answer;
    m_view->OnCommand(CKQ_517View::ID_FILE_IMPORT_CHANNELS);
    QCOMPARE(answer.count(), 0);
    QCOMPARE(asked, QList<planfiledialog::Purpose>{planfiledialog::Purpose::ImportPlan});
    QCOMPARE(offered.size(), 2);
    QVERIFY(offered.at(1).contains(QStringLiteral("CHIRP")));

    QCOMPARE(rowText(m_grid, 1), QStringLiteral("146.52000|146.52000|100.0|100.0|Yes"));
    QCOMPARE(rowText(m_grid, 2), kEmpty);
    // Cross Tone->DTCS: transmit rToneFreq, receive RxDtcsCode with the second polarity letter.
    QCOMPARE(rowText(m_grid, 3), QStringLiteral("145.50000|144.90000|D754I|88.5|Yes"));
    // DTCS both ways, transmit reversed; split: Offset is the transmit frequency.
    QCOMPARE(rowText(m_grid, 4), QStringLiteral("144.00000|148.00000|D025N|D025I|Yes"));
    QCOMPARE(steps(), 1);
    m_view->OnEditUndo();
    for (int r = 1; r <= 16; ++r)
        QCOMPARE(rowText(m_grid, r), kEmpty);
}

void TestChannelPlanView::refusedImportNamesEveryBadLine_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QStringList>("inMessage");
    QTest::newRow("English") << false
                             << QStringList{QStringLiteral("line 3, Rx Frequency"), QStringLiteral("line 5"),
                                            QStringLiteral("outside the band")};
    QTest::newRow("Chinese") << true << QStringList{QStringLiteral("第 3 行"), QStringLiteral("第 5 行"),
                                                    QStringLiteral("超出频段")};
}

void TestChannelPlanView::refusedImportNamesEveryBadLine()
{
    QFETCH(bool, chinese);
    QFETCH(QStringList, inMessage);
    makeView(chinese);
    QCOMPARE(g_bChinese, chinese);
    const QString path = m_dir->filePath(QStringLiteral("bad.csv"));
    QVERIFY(writeFile(path, "CH,Rx Frequency,Tx Frequency,QT/DQT Dec,QT/DQT Enc,Busy Lock\n"
                            "1,145.00000,,None,None,Yes\n"
                            "2,520.00000,,None,None,Yes\n"
                            "3,146.00000,,None,None,Yes\n"
                            "4,147.00000,,12.3,None,Yes\n"));
    ModalAnswerer answer;
    QVERIFY(!m_view->importChannels(path));
    QCOMPARE(answer.count(), 1);
    for (const QString& part : inMessage)
        QVERIFY2(answer.last().text.contains(part), qPrintable(answer.last().text));
    for (int r = 1; r <= 16; ++r)
        QCOMPARE(rowText(m_grid, r), kEmpty);
    QCOMPARE(steps(), 0);
}

void TestChannelPlanView::exportRoundTripsWithoutTouchingTheDocument_data()
{
    QTest::addColumn<int>("filter");
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<bool>("busyLockKept");
    QTest::newRow("channel CSV") << 0 << QByteArray("CH,Rx Frequency") << true;
    // CHIRP's columns have no busy lock: an imported channel gets it on.
    QTest::newRow("CHIRP CSV") << 1 << QByteArray("Location,Name,Frequency") << false;
}

void TestChannelPlanView::exportRoundTripsWithoutTouchingTheDocument()
{
    QFETCH(int, filter);
    QFETCH(QByteArray, header);
    QFETCH(bool, busyLockKept);
    makeView();
    pasteText(QString::fromLatin1(kThreeRows), 2);
    pasteText(QStringLiteral("1\t159.99375\t130.00000\tD023I\t254.1\tNo\n"), 16);
    QStringList plan = allRows(m_grid);
    if (!busyLockKept)
        plan.replaceInStrings(QRegularExpression(QStringLiteral("\\|No$")), QStringLiteral("|Yes"));
    const MemoryImage image = m_doc->image();
    const int stepsBefore = steps();

    const QString path = m_dir->filePath(QStringLiteral("out"));
    planfiledialog::setHook([&](planfiledialog::Purpose purpose, const QStringList&) {
        return planfiledialog::Choice{purpose == planfiledialog::Purpose::ExportPlan ? path : QString(), filter};
    });
    m_view->OnCommand(CKQ_517View::ID_FILE_EXPORT_CHANNELS);
    const QByteArray written = readFile(path + QStringLiteral(".csv"));
    QVERIFY(written.startsWith(header));
    QCOMPARE(m_doc->image(), image);  // the grid went into a copy
    QCOMPARE(steps(), stepsBefore);

    // Back to the empty document and imported again, the grid is the plan it was.
    while (m_view->undoStack()->canUndo())
        m_view->OnEditUndo();
    QCOMPARE(rowText(m_grid, 2), kEmpty);
    QVERIFY(m_view->importChannels(path + QStringLiteral(".csv")));
    QCOMPARE(allRows(m_grid), plan);
}

void TestChannelPlanView::chirpSkippedRowsAndLeftOutChannelsAreSaid_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QString>("exportPart");
    QTest::addColumn<QString>("importPart");
    QTest::newRow("English") << false << QStringLiteral("channel 5, QT/DQT Dec: \"D1023N\"") << QStringLiteral("line 3");
    QTest::newRow("Chinese") << true << QStringLiteral("信道 5，") << QStringLiteral("第 3 行");
}

// The same core rules as the command line: a channel CHIRP cannot hold is
// named when exported, and a row CHIRP skips is named when imported.
void TestChannelPlanView::chirpSkippedRowsAndLeftOutChannelsAreSaid()
{
    QFETCH(bool, chinese);
    QFETCH(QString, exportPart);
    QFETCH(QString, importPart);
    makeView(chinese);
    ChannelTable table;
    for (const int row : {4, 5})
        setCells(table, row, {"150.00000", "150.00000", "None", "None", "Yes"});
    table.encode(m_doc->image());
    m_doc->image().channel(5)[layout::channel::kDecodeToneHigh] = 0x8A;  // D1023N
    m_doc->image().channel(5)[layout::channel::kDecodeToneLow] = 0x23;
    m_view->OnInitialUpdate();

    ModalAnswerer answer;
    const QString out = m_dir->filePath(QStringLiteral("chirp.csv"));
    QVERIFY(!m_view->exportChannels(out, true));
    QCOMPARE(answer.count(), 1);
    QVERIFY2(answer.last().text.contains(exportPart), qPrintable(answer.last().text));
    const QByteArray written = readFile(out);
    QVERIFY(written.contains("\n4,"));
    QVERIFY(!written.contains("\n5,"));

    const QString in = m_dir->filePath(QStringLiteral("skips.csv"));
    QVERIFY(writeFile(in, "Location,Frequency,Tone,rToneFreq\n7,146.52,TSQL,100.0\n2,,,\n"));
    QVERIFY(m_view->importChannels(in));
    QCOMPARE(answer.count(), 2);
    QVERIFY2(answer.last().text.contains(importPart), qPrintable(answer.last().text));
    QCOMPARE(rowText(m_grid, 7), QStringLiteral("146.52000|146.52000|100.0|100.0|") +
                                     (chinese ? QStringLiteral("开") : QStringLiteral("Yes")));
}

// ---------------------------------------------------------------------------
// Rows

void TestChannelPlanView::insertDeleteMoveWithUndo()
{
    makeView();
    pasteText(QString::fromLatin1(kThreeRows), 1);
    const QStringList start = allRows(m_grid);
    const QString a = start.at(0), b = start.at(1), c = start.at(2);

    struct Step {
        int command;
        int row;
        QStringList firstFour;
    };
    const QList<Step> script = {
        {CKQ_517View::ID_EDIT_INSERT_ROW, 2, {a, kEmpty, b, c}},
        {CKQ_517View::ID_EDIT_DELETE_ROW, 1, {kEmpty, b, c, kEmpty}},
        {CKQ_517View::ID_EDIT_MOVE_DOWN, 1, {b, kEmpty, c, kEmpty}},
        {CKQ_517View::ID_EDIT_MOVE_UP, 3, {b, c, kEmpty, kEmpty}},
    };
    QList<QStringList> history{start};
    for (const Step& step : script) {
        m_view->CancelEditor();
        m_grid->selectRows(step.row, step.row);
        const int before = steps();
        m_view->OnCommand(step.command);
        QCOMPARE(steps(), before + 1);
        QCOMPARE(allRows(m_grid).mid(0, 4), step.firstFour);
        QCOMPARE(allRows(m_grid).mid(4), QStringList(12, kEmpty));
        history << allRows(m_grid);
    }
    // Each step undoes on its own, back to the start.
    for (qsizetype i = history.size() - 2; i >= 0; --i) {
        m_view->OnEditUndo();
        QCOMPARE(allRows(m_grid), history.at(i));
    }
    m_view->OnEditRedo();
    QCOMPARE(allRows(m_grid), history.at(1));
}

void TestChannelPlanView::insertRefusedWhenLastChannelInUse()
{
    makeView();
    pasteText(QStringLiteral("1\t145.00000\t\t\t\t\n"), 16);
    const QStringList before = allRows(m_grid);
    m_grid->selectRows(3, 3);
    ModalAnswerer answer;
    QVERIFY(!m_view->OnInsertRow());
    QCOMPARE(answer.count(), 1);
    QVERIFY(answer.last().text.contains(QStringLiteral("channel 16")));
    QCOMPARE(allRows(m_grid), before);
    QCOMPARE(steps(), 1);

    // With channel 16 empty it goes in, and the last row falls off empty.
    m_view->OnEditUndo();
    pasteText(QStringLiteral("1\t145.00000\t\t\t\t\n"), 15);
    m_grid->selectRows(3, 3);
    QVERIFY(m_view->OnInsertRow());
    QCOMPARE(rowText(m_grid, 16), QStringLiteral("145.00000|145.00000|None|None|Yes"));
}

// The new channel Insert Row makes is a new document's blank record: none
// of the hidden bytes 13 to 15 (or flag bits) of the channel it pushed down.
void TestChannelPlanView::insertedChannelIsBlank()
{
    makeView();
    pasteText(QStringLiteral("1\t145.00000\t\t\t\t\n"), 5);
    std::uint8_t* record = m_doc->image().channel(5);
    record[layout::channel::kFlags] = 0x5E;
    record[13] = 0x11;
    record[14] = 0x22;
    record[15] = 0x33;
    const QByteArray pushed(reinterpret_cast<const char*>(record), layout::kRowSize);
    m_grid->selectRows(5, 5);
    QVERIFY(m_view->OnInsertRow());
    const MemoryImage blank = MemoryImage::newImage();
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(m_doc->image().channel(5)), layout::kRowSize).toHex(' '),
             QByteArray(reinterpret_cast<const char*>(blank.channel(5)), layout::kRowSize).toHex(' '));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(m_doc->image().channel(6)), layout::kRowSize), pushed);
}

// A row without a busy lock pasted onto a channel that is not in use (a
// receive frequency, no transmit frequency) makes a new channel, busy lock
// on, as the command line's import does.
void TestChannelPlanView::pasteOntoChannelNotInUseTurnsBusyLockOn()
{
    makeView();
    const QByteArray record = QByteArray::fromHex("00006514ffffffffffffffffffffffff");
    std::copy(record.begin(), record.end(), m_doc->image().channel(3));
    pasteText(QStringLiteral("1\t146.00000\t146.00000\tNone\tNone\t\n"), 3);
    QCOMPARE(rowText(m_grid, 3), QStringLiteral("146.00000|146.00000|None|None|Yes"));
}

void TestChannelPlanView::movedRowTakesItsWholeRecord()
{
    makeView();
    pasteText(QStringLiteral("1\t145.00000\t\t\t\t\n2\t146.00000\t\t\t\t\n"), 1);
    // A byte the grid does not show travels with its channel.
    m_doc->image().channel(2)[layout::channel::kReserved] = 0x5A;
    m_doc->image().channel(1)[layout::channel::kReserved] = 0x11;
    m_grid->selectRows(2, 2);
    m_view->OnMoveUp();
    QCOMPARE(rowText(m_grid, 1).left(9), QStringLiteral("146.00000"));
    QCOMPARE(m_doc->image().channel(1)[layout::channel::kReserved], std::uint8_t(0x5A));
    QCOMPARE(m_doc->image().channel(2)[layout::channel::kReserved], std::uint8_t(0x11));
    QCOMPARE(m_grid->GetRow(), 1L);
    m_view->OnEditUndo();
    QCOMPARE(m_doc->image().channel(2)[layout::channel::kReserved], std::uint8_t(0x5A));
}

void TestChannelPlanView::rowSelectionByChannelNumber()
{
    makeView();
    m_grid->SetRowCol(5, 2);
    m_view->CancelEditor();
    QCOMPARE(m_grid->selectedRows(), QList<int>{5});  // the current row alone
    QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, cellCentre(m_grid, 8, 0));
    QCOMPARE(m_grid->selectedRows(), QList<int>{8});
    QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, cellCentre(m_grid, 6, 3));
    QCOMPARE(m_grid->selectedRows(), (QList<int>{6, 7, 8}));
    QCOMPARE(QPoint(int(m_grid->GetCol()), int(m_grid->GetRow())), QPoint(2, 5));  // the current cell stays
    QVERIFY(m_view->EditorForColumn()->isHidden());
    QTest::keyClick(m_grid, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(m_grid->selectedRows(), (QList<int>{7, 8}));
    // Moving the current cell ends the row selection.
    m_grid->SetRowCol(2, 2);
    QCOMPARE(m_grid->selectedRows(), QList<int>{2});
}

// ---------------------------------------------------------------------------
// Keyboard

void TestChannelPlanView::tabWalksTheCells()
{
    makeView();
    m_grid->SetRowCol(1, 4);
    m_view->CancelEditor();
    QCOMPARE(QApplication::focusWidget(), m_grid);
    QTest::keyClick(m_grid, Qt::Key_Tab);
    QCOMPARE(QPoint(int(m_grid->GetCol()), int(m_grid->GetRow())), QPoint(5, 1));
    m_view->CancelEditor();
    QTest::keyClick(m_grid, Qt::Key_Tab);
    QCOMPARE(QPoint(int(m_grid->GetCol()), int(m_grid->GetRow())), QPoint(1, 2));
    m_view->CancelEditor();
    QTest::keyClick(m_grid, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QPoint(int(m_grid->GetCol()), int(m_grid->GetRow())), QPoint(5, 1));
    QCOMPARE(steps(), 0);
}

void TestChannelPlanView::tabStoresTheOpenEditor()
{
    makeView();
    QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, cellCentre(m_grid, 3, 1));
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("145.5"));
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(rowText(m_grid, 3), QStringLiteral("145.50000|145.50000|None|None|Yes"));
    QCOMPARE(QPoint(int(m_grid->GetCol()), int(m_grid->GetRow())), QPoint(2, 3));

    // A rejected value keeps the cell where it is.
    m_view->CancelEditor();
    m_grid->SetRowCol(4, 1);
    edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("999"));
    ModalAnswerer answer;
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(answer.count(), 1);
    QCOMPARE(QPoint(int(m_grid->GetCol()), int(m_grid->GetRow())), QPoint(1, 4));
    QCOMPARE(rowText(m_grid, 4), kEmpty);
}

// ---------------------------------------------------------------------------
// Compare

void TestChannelPlanView::compareShowsTheDifferences()
{
    makeView();
    const QString path = m_dir->filePath(QStringLiteral("other.dat"));
    QVERIFY(m_doc->image().saveFile(path));
    pasteText(QStringLiteral("1\t145.00000\t\t\t\t\n"), 2);
    const MemoryImage image = m_doc->image();

    planfiledialog::setHook([&](planfiledialog::Purpose purpose, const QStringList& filters) {
        return planfiledialog::Choice{
            purpose == planfiledialog::Purpose::CompareImage && filters.value(0).contains(QStringLiteral(".dat"))
                ? path
                : QString(),
            0};
    });
    QStringList shown;
    QString heading;
    ModalAnswerer answer(ModalAnswerer::OtherDialogs);
    answer.onDialog([&](QDialog* dialog) {
        if (auto* compare = qobject_cast<CCompareDlg*>(dialog)) {
            shown = compare->lines();
            heading = compare->heading();
        }
        dialog->reject();
    });
    m_view->OnCommand(CKQ_517View::ID_FILE_COMPARE_WITH);
    QCOMPARE(answer.count(), 1);
    QVERIFY(shown.contains(QStringLiteral("Channel 2, Rx Frequency: 145.00000 | (empty)")));
    QVERIFY(shown.contains(QStringLiteral("Channel 2, Tx Frequency: 145.00000 | (empty)")));
    for (const QString& line : shown)
        QVERIFY2(line.startsWith(QStringLiteral("Channel 2, ")), qPrintable(line));
    QVERIFY(heading.contains(QString::number(shown.size())));
    QCOMPARE(m_doc->image(), image);
}

void TestChannelPlanView::compareSaysWhenTheyAgree()
{
    makeView();
    pasteText(QString::fromLatin1(kThreeRows), 5);
    const QString path = m_dir->filePath(QStringLiteral("same.dat"));
    const MemoryImage saved = m_doc->image();
    QVERIFY(saved.saveFile(path));
    planfiledialog::setHook([&](planfiledialog::Purpose, const QStringList&) {
        return planfiledialog::Choice{path, 0};
    });
    ModalAnswerer answer;
    m_view->OnCommand(CKQ_517View::ID_FILE_COMPARE_WITH);
    QCOMPARE(answer.count(), 1);
    QCOMPARE(answer.last().className, QStringLiteral("QMessageBox"));
    QVERIFY(answer.last().text.contains(QStringLiteral("agree")));
}

// ---------------------------------------------------------------------------
// Menus

void TestChannelPlanView::documentMenuOffersEveryCommand_data() { addBoolRows("chinese", "English", "Chinese"); }

// Every plan command is in the document menu of the language module, with a
// status prompt; and the view takes each of them.
void TestChannelPlanView::documentMenuOffersEveryCommand()
{
    QFETCH(bool, chinese);
    makeView(chinese);
    QList<int> ids;
    std::function<void(const QJsonArray&)> collect = [&](const QJsonArray& items) {
        for (const QJsonValue& value : items) {
            const QJsonObject item = value.toObject();
            collect(item.value(QStringLiteral("items")).toArray());
            if (item.contains(QStringLiteral("id")))
                ids << item.value(QStringLiteral("id")).toInt();
        }
    };
    collect(LanguageModule::json(QStringLiteral("menus/129.json")).object().value(QStringLiteral("menu")).toArray());
    int planCommands = 0;
    for (int id = CKQ_517View::ID_FILE_IMPORT_CHANNELS; id <= CKQ_517View::ID_EDIT_MOVE_DOWN; ++id) {
        QVERIFY(CKQ_517View::isPlanCommand(id));
        QVERIFY2(ids.contains(id), qPrintable(QString::number(id)));
        QVERIFY(!LanguageModule::string(id).section(QLatin1Char('\n'), 0, 0).isEmpty());
        ++planCommands;
    }
    QCOMPARE(planCommands, 11);
    QVERIFY(!CKQ_517View::isPlanCommand(CKQ_517View::ID_EDIT_UNDO));
    QCOMPARE(ids.count(CKQ_517View::ID_EDIT_PASTE_ROWS), 1);
}

// Through the main window's menu: Paste and Undo act on the active document.
void TestChannelPlanView::menuCommandsReachTheActiveView()
{
    QVERIFY(m_dir->copyDefaultSettings());
    for (const QString& module : {QStringLiteral("English517.rcc"), QStringLiteral("Chinese517.rcc")})
        QVERIFY(QFile::copy(QStringLiteral(KQ517_PROGRAM_DIR "/") + module, m_dir->filePath(module)));
    CKQ_517App app;
    app.setProgramDirectory(m_dir->path());
    QCOMPARE(app.InitInstance({}), CKQ_517App::kRunMessageLoop);
    CMainFrame* frame = CMainFrame::instance();
    QVERIFY(frame);
    CKQ_517View* view = frame->activeView();
    QVERIFY(view);

    QApplication::clipboard()->setText(QStringLiteral("7\t145.00000\t\tNone\tNone\tNo\n"));
    view->grid()->selectRows(7, 7);
    QAction* paste = frame->menuAction(CKQ_517View::ID_EDIT_PASTE_ROWS);
    QVERIFY(paste);
    paste->trigger();
    QCOMPARE(rowText(view->grid(), 7), QStringLiteral("145.00000|145.00000|None|None|No"));
    QVERIFY(frame->activeDocument()->IsModified());
    QAction* undo = frame->menuAction(CKQ_517View::ID_EDIT_UNDO);
    QVERIFY(undo && undo->isEnabled());
    undo->trigger();
    QCOMPARE(rowText(view->grid(), 7), kEmpty);

    // The row commands are offered only where they can act, following the
    // selection; Paste only while the clipboard holds text.
    QAction* up = frame->menuAction(CKQ_517View::ID_EDIT_MOVE_UP);
    QAction* down = frame->menuAction(CKQ_517View::ID_EDIT_MOVE_DOWN);
    view->grid()->selectRows(1, 1);
    QVERIFY(!up->isEnabled());
    QVERIFY(down->isEnabled());
    view->grid()->selectRows(16, 16);
    QVERIFY(up->isEnabled());
    QVERIFY(!down->isEnabled());
    view->grid()->selectRows(5, 6);
    QVERIFY(up->isEnabled() && down->isEnabled());
    QVERIFY(paste->isEnabled());
    QApplication::clipboard()->clear();
    QTRY_VERIFY(!paste->isEnabled());
    app.ExitInstance();
}

QTEST_MAIN(TestChannelPlanView)
#include "tst_channelplanview.moc"
