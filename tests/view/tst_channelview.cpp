// The channel grid and the channel view: grid notifications, first update,
// decode, in-place editors driven by real key and mouse events, validation
// messages, Enter navigation and F1 help contexts.

#include <QtTest>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QImage>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QStyle>
#include <QUndoStack>

#include <memory>

#include "codeplug/ImageLayout.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/UserStore.h"
#include "settings/ui/HelpLauncher.h"
#include "codeplug/KQ_517Doc.h"
#include "settings/ui/LanguageModule.h"
#include "tests/support/GridViewFixture.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/TestSupport.h"
#include "codeplug/Channel.h"
#include "view/KQ_517View.h"
#include "view/MSFlexGrid.h"

class ViewTestAccess {
public:
    static QLineEdit* editRx(CKQ_517View* v) { return v->m_editRx; }
    static QLineEdit* editTx(CKQ_517View* v) { return v->m_editTx; }
    static QComboBox* comboDecode(CKQ_517View* v) { return v->m_comboDecode; }
    static QComboBox* comboEncode(CKQ_517View* v) { return v->m_comboEncode; }
    static QComboBox* comboBusy(CKQ_517View* v) { return v->m_comboBusy; }
    static QList<QWidget*> editors(CKQ_517View* v)
    {
        return {v->m_editRx, v->m_editTx, v->m_comboDecode, v->m_comboEncode, v->m_comboBusy};
    }
};

namespace {

QString joinRow(CMSFlexGrid* grid, int row)
{
    QStringList cells;
    for (int c = 1; c <= 5; ++c)
        cells << grid->GetTextMatrix(row, c);
    return cells.join(QLatin1Char('|'));
}

// The channel whose cells read as joined, put into the document.
void setRow(CKQ_517Doc* doc, int row, const QString& joined)
{
    putChannel(*doc, row, joined.split(QLatin1Char('|')));
}

QVariant cellData(const CMSFlexGrid* grid, int row, int col, int role)
{
    return grid->model()->index(row, col).data(role);
}

Qt::ItemFlags cellFlags(const CMSFlexGrid* grid, int row, int col)
{
    return grid->model()->flags(grid->model()->index(row, col));
}

QPoint cellCentre(CMSFlexGrid* grid, int row, int col)
{
    return grid->visualRect(grid->model()->index(row, col)).center();
}

// Form 101's places (356 x 222 dialog units, grid at (15, 40) 325 x 167, title
// 169 x 20 at y 14). The grid keeps its place and is as large as its cells,
// with no empty strip beside them; the form keeps its margins around the grid,
// is at least as wide as the title with its margins and keeps the title centred.
// Column widths are final only after the first update (updated).
void checkFormPlaces(CKQ_517View* view, bool updated = false)
{
    const QWidget* form = view->widget();
    const CMSFlexGrid* flexGrid = view->grid();
    const QRect grid = flexGrid->geometry();
    QCOMPARE(grid.topLeft(), QPoint(23, 65));
    const int border = 2 * flexGrid->frameWidth();
    if (updated)
        QCOMPARE(grid.width(), flexGrid->horizontalHeader()->length() + border);
    QCOMPARE(grid.height(), flexGrid->verticalHeader()->length() + border);
    QCOMPARE(form->size(), QSize(grid.right() + 1 + 23, grid.bottom() + 1 + 25).expandedTo(QSize(254 + 2 * 23, 0)));
    QCOMPARE(view->staticTitle()->geometry(), QRect((form->width() - 254) / 2, 23, 254, 33));
}

// The built-in settings with Chinese as the interface language.
QByteArray chineseSettings()
{
    QFile file(QStringLiteral(KQ517_SOURCE_DIR "/resources/KQ-517.ini"));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll().replace("Language=English", "Language=Chinese");
}

void clickCell(CMSFlexGrid* grid, int row, int col)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, row, col));
}

QPoint current(CMSFlexGrid* grid) { return QPoint(int(grid->GetCol()), int(grid->GetRow())); }

// Types text key by key into whatever has the focus at each key, as a person does.
void typeIntoFocus(const QString& text)
{
    for (const QChar ch : text)
        QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
}

}  // namespace

class TestChannelView : public QObject, public GridViewFixture {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    // Grid
    void gridNotificationsFollowEveryMove();
    void gridCellsAndUnits();

    // View set-up
    void formComesFromTheLanguageModule();
    void formFallbackWithoutModule();
    void firstUpdateBuildsOnce();
    void frameShrinksButNeverGrows();
    void frameIcon();
    void everyCellShowsInBothLanguages_data();
    void everyCellShowsInBothLanguages();

    // Decode
    void decodeFillsGridTitleAndLimits();
    void decodeExchangesModelAndBand();

    // Editing
    void typingNewChannel();
    void typingReplacesCellText();
    void validation_data();
    void validation();
    void enterWalksTheWholeTable();
    void editorPlacedOverCurrentCell_data();
    void editorPlacedOverCurrentCell();
    void listsOpenOnMatchingEntry_data();
    void listsOpenOnMatchingEntry();
    void listLeftUnchosenKeepsTheCell_data();
    void listLeftUnchosenKeepsTheCell();
    void editLeftUnchangedKeepsTheChannel_data();
    void editLeftUnchangedKeepsTheChannel();
    void tonesOnlyOnChannelsInUse();
    void commitEditorStoresOpenValue();
    void helpContextOfFocusedControl_data();
    void helpContextOfFocusedControl();
    void chineseEditing();

    // Nothing moves or clears a row behind the user's back
    void typedTextNeverMovesTheCurrentCell();
    void correctionAfterRejectedValueStaysOnItsRow();
    void arrowKeysMoveTheCell_data();
    void arrowKeysMoveTheCell();
    void walkingWithArrowsChangesNothing();
    void escapeRestoresTheCell();

    // Undo and the modified state
    void tenEditsUndoneOneByOne();
    void rowClearIsOneStep();
    void modifiedFollowsTheHistory();

private:
    void makeView(const QByteArray& settings = QByteArray(), bool newDocument = true);
    QLineEdit* openLineEdit(int row, int col);
};

void TestChannelView::initTestCase() { HelpLauncher::setLaunchEnabled(false); }

void TestChannelView::init()
{
    QVERIFY(makeFolders());
    HelpLauncher::clearRequests();
}

void TestChannelView::cleanup() { tearDownGrid(); }

void TestChannelView::makeView(const QByteArray& settings, bool newDocument)
{
    QVERIFY(showView(settings, newDocument));
}

QLineEdit* TestChannelView::openLineEdit(int row, int col)
{
    clickCell(m_grid, row, col);
    auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (edit)
        edit->selectAll();  // what is typed replaces the cell's text
    return edit;
}

// ---------------------------------------------------------------------------
// Grid

void TestChannelView::gridNotificationsFollowEveryMove()
{
    QWidget window;
    auto* grid = new CMSFlexGrid(&window);
    grid->setGeometry(0, 0, 480, 300);
    window.resize(480, 300);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    grid->setFocus();

    QStringList log;
    auto where = [grid] { return QStringLiteral("%1,%2").arg(grid->GetRow()).arg(grid->GetCol()); };
    connect(grid, &CMSFlexGrid::LeaveCell, this, [&] { log << "leave " + where(); });
    connect(grid, &CMSFlexGrid::EnterCell, this, [&] { log << "enter " + where(); });
    connect(grid, &CMSFlexGrid::MouseDown, this, [&](short button, short, long, long) {
        log << QStringLiteral("down %1 ").arg(button) + where();
    });

    QCOMPARE(current(grid), QPoint(1, 1));
    grid->SetRow(4);
    grid->SetCol(3);
    grid->SetRow(4);  // no move, no notification
    QCOMPARE(log, QStringList({"leave 1,1", "enter 4,1", "leave 4,1", "enter 4,3"}));

    log.clear();
    clickCell(grid, 6, 2);
    QCOMPARE(log, QStringList({"leave 4,3", "enter 6,2", "down 1 6,2"}));

    log.clear();
    clickCell(grid, 0, 3);  // a fixed cell never becomes current
    // A channel number selects its row: no cell move, no mouse-down (no editor).
    clickCell(grid, 9, 0);
    QCOMPARE(log, QStringList({"down 1 6,2"}));
    QCOMPARE(grid->selectedRows(), QList<int>{9});

    log.clear();
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Left);
    QTest::keyClick(grid, Qt::Key_Left);  // column 0 is fixed: no further
    QCOMPARE(log, QStringList({"leave 6,2", "enter 7,2", "leave 7,2", "enter 7,1"}));

    // The grid never edits a cell itself.
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, 7, 1));
    QTest::keyClick(grid, Qt::Key_F2);
    QTest::keyClicks(grid, "12");
    QVERIFY(grid->viewport()->findChildren<QWidget*>().isEmpty());  // no item editor
    QCOMPARE(grid->GetTextMatrix(7, 1), QString());
}

void TestChannelView::gridCellsAndUnits()
{
    CMSFlexGrid grid;
    QCOMPARE(grid.GetRows(), 17L);
    QCOMPARE(grid.GetCols(), 6L);
    QCOMPARE(grid.font().family(), QStringLiteral("Times New Roman"));
    QCOMPARE(grid.font().pointSize(), 9);

    // Headers and labels are the grid's; channel cells only ever show a document.
    grid.SetTextMatrix(0, 5, QStringLiteral(" No "));
    QCOMPARE(grid.GetTextMatrix(0, 5), QStringLiteral(" No "));
    grid.SetTextMatrix(16, 5, QStringLiteral("Yes"));
    grid.SetRowCol(16, 5);
    QCOMPARE(grid.GetText(), QString());
    grid.SetText(QStringLiteral("Yes"));
    QCOMPARE(grid.GetTextMatrix(16, 5), QString());
    QCOMPARE(grid.GetTextMatrix(17, 0), QString());  // outside: empty, no crash
    grid.SetTextMatrix(-1, 2, QStringLiteral("x"));

    if (grid.logicalDpiX() != 96 || grid.logicalDpiY() != 96)
        QSKIP("twips checks assume 96 logical dpi");
    grid.SetColWidth(2, 1500);  // 100 pixels
    QCOMPARE(grid.columnWidth(2), 100);
    QCOMPARE(grid.GetColWidth(2), 1500L);

    const QRect cell = grid.visualRect(grid.model()->index(16, 5));
    QCOMPARE(grid.GetCellLeft(), long(cell.left()) * 15);
    QCOMPARE(grid.GetCellTop(), long(cell.top()) * 15);
    QCOMPARE(grid.GetCellWidth(), long(cell.width()) * 15);
    QCOMPARE(grid.GetCellHeight(), long(cell.height()) * 15);

    grid.SetFixedCellTextColour(0x00F03200);
    QCOMPARE(cellData(&grid, 0, 3, Qt::ForegroundRole).value<QBrush>().color(), QColor(0x00, 0x32, 0xF0));
    QCOMPARE(cellData(&grid, 5, 0, Qt::ForegroundRole).value<QBrush>().color(), QColor(0x00, 0x32, 0xF0));
    QVERIFY(cellData(&grid, 5, 1, Qt::ForegroundRole).value<QBrush>().color() != QColor(0x00, 0x32, 0xF0));
    QVERIFY(!(cellFlags(&grid, 0, 3) & Qt::ItemIsEnabled));
    QVERIFY(!(cellFlags(&grid, 5, 1) & Qt::ItemIsEditable));

    grid.SetColumnAlignment(3, 4);
    QCOMPARE(Qt::Alignment(cellData(&grid, 9, 3, Qt::TextAlignmentRole).toInt()), Qt::Alignment(Qt::AlignCenter));
    grid.SetColumnAlignment(3, 7);
    QCOMPARE(Qt::Alignment(cellData(&grid, 0, 3, Qt::TextAlignmentRole).toInt()), Qt::AlignRight | Qt::AlignVCenter);
}

// ---------------------------------------------------------------------------
// View set-up

void TestChannelView::formComesFromTheLanguageModule()
{
    makeView();
    QCOMPARE(m_grid->parentWidget()->objectName(), QStringLiteral("id101"));
    QCOMPARE(m_grid->objectName(), QStringLiteral("id1000"));
    QCOMPARE(m_view->staticTitle()->objectName(), QStringLiteral("id1014"));
    checkFormPlaces(m_view);
    // Only one grid: the form's placeholder was replaced.
    QCOMPARE(m_view->widget()->findChildren<QWidget*>(QStringLiteral("id1000")).size(), 1);
}

void TestChannelView::formFallbackWithoutModule()
{
    CKQ_517Doc doc;
    doc.image().resetToNew();
    CKQ_517View view(&doc);
    QVERIFY(!LanguageModule::isLoaded());
    QVERIFY(view.staticTitle());
    checkFormPlaces(&view);
}

void TestChannelView::firstUpdateBuildsOnce()
{
    makeView();
    const long w = m_grid->GetColWidth(0);
    QVERIFY(ViewTestAccess::editRx(m_view) == nullptr);
    m_view->OnInitialUpdate();
    QVERIFY(!m_view->m_bFirstUpdate);

    QCOMPARE(m_view->staticTitle()->text(), QStringLiteral("Channel Information"));
    QCOMPARE(m_view->staticTitle()->palette().color(QPalette::WindowText), QColor(250, 10, 10));
    QCOMPARE(m_view->staticTitle()->font().family(), QStringLiteral("宋体"));
    QCOMPARE(m_view->staticTitle()->font().pointSize(), 12);

    const QStringList headers = {"CH", "Rx Frequency", "Tx Frequency", "QT/DQT Dec", "QT/DQT Enc", "Busy Lock"};
    for (int c = 0; c < 6; ++c)
        QCOMPARE(m_grid->GetTextMatrix(0, c), headers.at(c));
    QCOMPARE(m_grid->GetTextMatrix(1, 0), QStringLiteral(" 1"));
    QCOMPARE(m_grid->GetTextMatrix(16, 0), QStringLiteral("16"));
    QCOMPARE(cellData(m_grid, 0, 2, Qt::ForegroundRole).value<QBrush>().color(), QColor(0x00, 0x32, 0xF0));
    for (int r = 0; r < 17; ++r)
        for (int c = 0; c < 6; ++c)
            QCOMPARE(Qt::Alignment(cellData(m_grid, r, c, Qt::TextAlignmentRole).toInt()), Qt::Alignment(Qt::AlignCenter));

    if (m_grid->logicalDpiX() == 96 && w % 60 == 0) {  // exact in pixels
        QCOMPARE(m_grid->GetColWidth(0), long(w * 0.5));
        for (int c = 1; c <= 4; ++c)
            QCOMPARE(m_grid->GetColWidth(c), long(w * 1.5));
        QCOMPARE(m_grid->GetColWidth(5), long(w * 1.3));
    }

    // The editors: hidden children of the grid's viewport, the view's font,
    // the tone table and the busy-lock pair.
    const QList<QWidget*> editors = ViewTestAccess::editors(m_view);
    const QStringList names = {"id2127", "id2128", "id2132", "id2133", "id1130"};
    for (int i = 0; i < editors.size(); ++i) {
        QVERIFY(editors.at(i));
        QCOMPARE(editors.at(i)->objectName(), names.at(i));
        QCOMPARE(editors.at(i)->parentWidget(), m_grid->viewport());
        QVERIFY(editors.at(i)->isHidden());
        QCOMPARE(editors.at(i)->font().family(), QStringLiteral("Times New Roman"));
    }
    // Both tone editors: no tone, 50 CTCSS tones, 105 DCS codes normal, then
    // inverted; each group's first and last entry.
    QComboBox* decode = ViewTestAccess::comboDecode(m_view);
    for (QComboBox* tones : {decode, ViewTestAccess::comboEncode(m_view)}) {
        QCOMPARE(tones->count(), 261);
        QCOMPARE(tones->itemText(0), QStringLiteral("None"));
        QCOMPARE(tones->itemText(1), QStringLiteral("67.0"));
        QCOMPARE(tones->itemText(50), QStringLiteral("254.1"));
        QCOMPARE(tones->itemText(51), QStringLiteral("D023N"));
        QCOMPARE(tones->itemText(155), QStringLiteral("D754N"));
        QCOMPARE(tones->itemText(156), QStringLiteral("D023I"));
        QCOMPARE(tones->itemText(260), QStringLiteral("D754I"));
    }
    QComboBox* busy = ViewTestAccess::comboBusy(m_view);
    QCOMPARE(busy->count(), 2);
    QCOMPARE(busy->itemText(0), QStringLiteral("Yes"));
    QCOMPARE(busy->itemText(1), QStringLiteral("No"));
    QVERIFY(!busy->isEditable());

    // A second update decodes again but builds nothing twice.
    m_grid->SetTextMatrix(0, 1, QStringLiteral("changed"));
    const long widthAfterFirst = m_grid->GetColWidth(1);
    m_doc->image().channel(4)[3] = 0x14;  // rx 140.00000
    m_doc->image().channel(4)[2] = 0x00;
    m_doc->image().channel(4)[1] = 0x00;
    m_doc->image().channel(4)[0] = 0x00;
    m_view->OnInitialUpdate();
    QCOMPARE(ViewTestAccess::editors(m_view), editors);
    QCOMPARE(decode->count(), 261);
    QCOMPARE(m_grid->GetTextMatrix(0, 1), QStringLiteral("changed"));
    QCOMPARE(m_grid->GetColWidth(1), widthAfterFirst);
    QCOMPARE(m_grid->GetTextMatrix(4, 1), QStringLiteral("140.00000"));
}

void TestChannelView::frameShrinksButNeverGrows()
{
    makeView();
    m_view->OnInitialUpdate();
    const int border = 2 * m_view->frameWidth();
    const QSize form = m_view->widget()->size();
    QCOMPARE(m_host->size(), form + QSize(border, border));

    m_host->resize(300, form.height() + 200);
    m_view->OnInitialUpdate();
    QCOMPARE(m_host->size(), QSize(300, form.height() + border));
}

void TestChannelView::frameIcon()
{
    // Without "title.ico" the frame shows no icon: an empty (transparent)
    // one, never the toolkit's default nor the module's.
    const auto showsDocumentIcon = [this] {
        const QIcon icon = m_host->windowIcon();
        if (icon.isNull())
            return false;
        const QImage image = icon.pixmap(16, 16).toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y).alpha() != 0)
                    return false;
        return true;
    };
    makeView();
    m_view->OnInitialUpdate();
    QVERIFY(showsDocumentIcon());

    if (!QImageWriter::supportedImageFormats().contains("ico"))
        QSKIP("no icon image writer");
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(m_dir->filePath(QStringLiteral("title.ico")), "ico"));
    m_view->OnInitialUpdate();
    QVERIFY(!m_host->windowIcon().isNull());
    QCOMPARE(m_host->windowIcon().pixmap(32, 32).toImage().pixelColor(5, 5), QColor(Qt::red));

    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("title.ico"))));
    m_view->OnInitialUpdate();
    QVERIFY(showsDocumentIcon());
}

void TestChannelView::everyCellShowsInBothLanguages_data() { addBoolRows("chinese", "English", "Chinese"); }

void TestChannelView::everyCellShowsInBothLanguages()
{
    QFETCH(bool, chinese);
    makeView(chinese ? chineseSettings() : QByteArray());
    QCOMPARE(g_bChinese, chinese);
    m_view->OnInitialUpdate();
    QApplication::processEvents();  // the grid lays out its resized columns

    // Every header and channel number fits its cell: the cell's text keeps
    // the focus frame's margin and a pixel at either side, or it is cut.
    const QFontMetricsF metrics(m_grid->font());
    const int margin = 2 * (m_grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_grid) + 1);
    auto checkFits = [&](int row, int col) {
        const QString text = m_grid->GetTextMatrix(row, col);
        const qreal room = m_grid->visualRect(m_grid->model()->index(row, col)).width() - margin;
        QVERIFY2(metrics.horizontalAdvance(text) <= room,
                 qPrintable(QStringLiteral("\"%1\" in %2 pixels").arg(text).arg(room)));
    };
    for (int c = 0; c < 6; ++c)
        checkFits(0, c);
    for (int r = 1; r < 17; ++r)
        checkFits(r, 0);
    QCOMPARE(m_grid->GetTextMatrix(0, 0), chinese ? QStringLiteral("信道") : QStringLiteral("CH"));

    // All 17 rows and 6 columns show at once, without scroll bars, and the
    // frame shows the whole grid.
    QVERIFY(m_grid->horizontalHeader()->length() <= m_grid->viewport()->width());
    QVERIFY(m_grid->verticalHeader()->length() <= m_grid->viewport()->height());
    QVERIFY(!m_grid->horizontalScrollBar()->isVisible());
    QVERIFY(!m_grid->verticalScrollBar()->isVisible());
    QVERIFY(m_view->widget()->rect().contains(m_grid->geometry()));
    QVERIFY(!m_view->horizontalScrollBar()->isVisible());
    QVERIFY(!m_view->verticalScrollBar()->isVisible());
    checkFormPlaces(m_view, true);

    // The in-place editors write in the view's own font: the form's.
    const QFont formFont = m_view->widget()->font();
    QCOMPARE(formFont.family(), chinese ? QStringLiteral("宋体") : QStringLiteral("Times New Roman"));
    QCOMPARE(formFont.pointSize(), 9);
    for (QWidget* editor : ViewTestAccess::editors(m_view)) {
        QCOMPARE(editor->font().family(), formFont.family());
        QCOMPARE(editor->font().pointSize(), formFont.pointSize());
    }
}

// ---------------------------------------------------------------------------
// Decode

void TestChannelView::decodeFillsGridTitleAndLimits()
{
    makeView(QByteArray(), false);
    std::uint8_t* ch2 = m_doc->image().channel(2);
    const std::uint8_t bytes[13] = {0x00, 0x25, 0x51, 0x14, 0x50, 0x12, 0x50, 0x14,
                                    0x70, 0x06, 0x23, 0x80, 0x01};
    std::copy(std::begin(bytes), std::end(bytes), ch2);
    m_view->OnInitialUpdate();

    QCOMPARE(joinRow(m_grid, 2), QStringLiteral("145.12500|145.01250|67.0|D023N|No"));
    QCOMPARE(joinRow(m_grid, 1), QStringLiteral("||||"));
    QCOMPARE(m_grid->GetTextMatrix(2, 0), QStringLiteral(" 2"));
    QCOMPARE(g_strMainTitle, QStringLiteral("KQ-517 Programmer  [ Type:KQ-517  Fre:130 - 160MHz ]"));
    QCOMPARE(m_view->m_nBandLow, 13000000);
    QCOMPARE(m_view->m_nBandHigh, 16000000);

    // The grid shows what the document holds, at once.
    Channel channel = m_doc->channel(2);
    channel.setBusyLock(true);
    m_doc->setChannel(2, channel);
    QCOMPARE(m_grid->GetTextMatrix(2, 5), QStringLiteral("Yes"));
    QCOMPARE(m_view->channelTable().cell(2, 1), QStringLiteral("145.12500"));
}

void TestChannelView::decodeExchangesModelAndBand()
{
    const QByteArray settings =
        "[Setup]\nLanguage=English\nAppName=KQ Test\nType1=Alpha\nField1=130 - 160MHz\n"
        "Type2=Beta\nField2=400 - 470MHz|136 - 174MHz|1 - 2MHz\n"
        "[English]\nAppName=Prog\nTitle=Channels\n";
    QVERIFY(m_dir->writeSettings(settings));
    QVERIFY(m_dir->openSettings(false));
    UserStore store = UserStore::fromSettings();
    store.write(QStringLiteral("Type"), 0x101);  // only the low byte counts
    store.write(QStringLiteral("Field"), 1);

    makeView(settings, true);
    m_view->OnInitialUpdate();
    QCOMPARE(int(m_doc->image().at(layout::kModelIndex)), 1);
    QCOMPARE(int(m_doc->image().at(layout::kBandIndex)), 1);
    QCOMPARE(g_strMainTitle, QStringLiteral("Prog  [ Type:Beta  Fre:136 - 174MHz ]"));
    QCOMPARE(m_view->m_nBandLow, 13600000);
    QCOMPARE(m_view->m_nBandHigh, 17400000);
    QCOMPARE(m_view->staticTitle()->text(), QStringLiteral("Channels"));

    // The limits are the editor's: 170 fits the band 136 - 174 MHz.
    QLineEdit* edit = openLineEdit(1, 1);
    QVERIFY(edit);
    QTest::keyClicks(edit, "170");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(m_grid->GetTextMatrix(1, 1), QStringLiteral("170.00000"));

    // An opened document makes its model and band the last used ones.
    g_bNewDocument = false;
    m_doc->image().set(layout::kModelIndex, 1);
    m_doc->image().set(layout::kBandIndex, 2);
    m_view->decodeTable();
    QCOMPARE(store.read(QStringLiteral("Type"), 99u), 1u);
    QCOMPARE(store.read(QStringLiteral("Field"), 99u), 2u);
    QCOMPARE(g_strMainTitle, QStringLiteral("Prog  [ Type:Beta  Fre:1 - 2MHz ]"));
    QCOMPARE(m_view->m_nBandLow, 100000);
    QCOMPARE(m_view->m_nBandHigh, 200000);

    // A band index beyond the list is not remembered: the title and the band
    // limits stay those of the last valid model and band.
    m_doc->image().set(layout::kBandIndex, 7);
    m_view->decodeTable();
    QCOMPARE(store.read(QStringLiteral("Field"), 99u), 2u);
    QCOMPARE(g_strMainTitle, QStringLiteral("Prog  [ Type:Beta  Fre:1 - 2MHz ]"));
    QCOMPARE(m_view->m_nBandHigh, 200000);

    m_doc->image().set(layout::kModelIndex, 0);
    m_doc->image().set(layout::kBandIndex, 0);
    m_view->decodeTable();
    QCOMPARE(store.read(QStringLiteral("Type"), 99u), 0u);
    QCOMPARE(g_strMainTitle, QStringLiteral("Prog  [ Type:Alpha  Fre:130 - 160MHz ]"));
}

// ---------------------------------------------------------------------------
// Editing

void TestChannelView::typingNewChannel()
{
    makeView();
    m_view->OnInitialUpdate();
    ModalAnswerer boxes(ModalAnswerer::MessageBoxes);
    QLineEdit* edit = openLineEdit(1, 1);
    QCOMPARE(edit, ViewTestAccess::editRx(m_view));
    QTest::keyClicks(edit, "145");
    clickCell(m_grid, 2, 3);
    QCOMPARE(joinRow(m_grid, 1), QStringLiteral("145.00000|145.00000|None|None|Yes"));
    QVERIFY(boxes.seen().isEmpty());
    QVERIFY(edit->isHidden());
    QVERIFY(!ViewTestAccess::comboDecode(m_view)->isHidden());
    QCOMPARE(current(m_grid), QPoint(3, 2));

    // The document holds the channel at once.
    QCOMPARE(int(m_doc->image().channel(1)[3]), 0x14);
}

void TestChannelView::typingReplacesCellText()
{
    makeView();
    m_view->OnInitialUpdate();
    ModalAnswerer boxes(ModalAnswerer::MessageBoxes);
    QLineEdit* edit = openLineEdit(1, 1);
    QTest::keyClicks(edit, "146.5");
    QTest::keyClick(edit, Qt::Key_Return);
    // The transmit editor opens on the copied receive frequency; what is
    // typed replaces it.
    edit = ViewTestAccess::editTx(m_view);
    QCOMPARE(edit->text(), QStringLiteral("146.50000"));
    QTest::keyClicks(edit, "147.00625");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(joinRow(m_grid, 1), QStringLiteral("146.50000|147.00625|None|None|Yes"));
    QVERIFY(boxes.seen().isEmpty());
}

void TestChannelView::validation_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enter");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("message");
    QTest::addColumn<QPoint>("currentAfter");  // (col, row)

    const QString empty = "||||";
    const QString inUse = "145.00000|146.00000|67.0|D023N|No";
    const QPoint clicked(1, 5);  // leaving by clicking row 5, column 1

    for (bool enter : {false, true}) {
        const char* how = enter ? "enter" : "leave";
        auto row = [&](const char* name) -> QTestData& { return QTest::addRow("%s: %s", name, how); };
        row("new rx") << empty << 1 << "145" << enter << "145.00000|145.00000|None|None|Yes" << 0
                      << (enter ? QPoint(2, 3) : clicked);
        row("6.25 kHz step") << empty << 1 << "145.00625" << enter
                             << "145.00625|145.00625|None|None|Yes" << 0 << (enter ? QPoint(2, 3) : clicked);
        row("upper limit") << empty << 1 << "160" << enter << "160.00000|160.00000|None|None|Yes" << 0
                           << (enter ? QPoint(2, 3) : clicked);
        // A refused value changes nothing: the editor stays on its cell with
        // the text as typed, whether the user pressed Enter or clicked away.
        const QPoint stays3(1, 3);
        row("rx off step") << inUse << 1 << "145.003" << enter << inUse << 61456 << stays3;
        row("rx out of range") << inUse << 1 << "160.005" << enter << inUse << 61448 << stays3;
        row("rx not a number") << empty << 1 << "abc" << enter << empty << 61457 << stays3;
        row("rx comma keeps the row") << inUse << 1 << "145,5" << enter << inUse << 61457 << stays3;
        row("tx trailing letters keep the row") << inUse << 2 << "146.52abc" << enter << inUse << 61457
                                                << QPoint(2, 3);
        row("rx emptied") << inUse << 1 << "" << enter << "||||" << 0 << (enter ? QPoint(2, 3) : clicked);
        row("rx changed") << inUse << 1 << "150" << enter << "150.00000|146.00000|67.0|D023N|No" << 0
                          << (enter ? QPoint(2, 3) : clicked);
        row("tx emptied copies rx") << inUse << 2 << "" << enter << "145.00000|145.00000|67.0|D023N|No" << 0
                                    << (enter ? QPoint(3, 3) : clicked);
        row("tx out of range keeps the old tx") << inUse << 2 << "129" << enter << inUse << 61448 << QPoint(2, 3);
        row("tx without rx") << empty << 2 << "150" << enter << empty << 0 << (enter ? QPoint(3, 3) : clicked);
        row("tx off step keeps the old tx") << inUse << 2 << "145.001" << enter << inUse << 61456 << QPoint(2, 3);
    }
}

void TestChannelView::validation()
{
    QFETCH(QString, before);
    QFETCH(int, col);
    QFETCH(QString, typed);
    QFETCH(bool, enter);
    QFETCH(QString, after);
    QFETCH(int, message);
    QFETCH(QPoint, currentAfter);

    makeView();
    m_view->OnInitialUpdate();
    setRow(m_doc.get(), 3, before);
    setRow(m_doc.get(), 5, QStringLiteral("150.00000|150.00000|None|None|Yes"));

    ModalAnswerer boxes(ModalAnswerer::MessageBoxes);
    QLineEdit* edit = openLineEdit(3, col);
    QVERIFY(edit);
    QCOMPARE(edit->text(), before.split('|').at(col - 1));
    if (typed.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        QTest::keyClicks(edit, typed);
    if (enter)
        QTest::keyClick(edit, Qt::Key_Return);
    else
        clickCell(m_grid, 5, 1);

    QCOMPARE(joinRow(m_grid, 3), after);
    QCOMPARE(joinRow(m_grid, 5), QStringLiteral("150.00000|150.00000|None|None|Yes"));
    QCOMPARE(current(m_grid), currentAfter);
    if (message) {
        QCOMPARE(boxes.seen().size(), 1);
        QCOMPARE(boxes.seen().first().text, LanguageModule::string(message));
        QCOMPARE(boxes.seen().first().caption, QStringLiteral("Caution"));
        QCOMPARE(boxes.seen().first().icon, QMessageBox::Warning);
        QVERIFY(!boxes.seen().first().text.isEmpty());
    } else {
        QCOMPARE(boxes.texts(), QStringList());
    }
    if (message) {
        // Refused: the editor is still open on its cell, the text as typed.
        QVERIFY(!edit->isHidden());
        QCOMPARE(edit->text(), typed);
        QApplication::setActiveWindow(m_host.get());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(edit));
        // Escape gives the cell its old value back, which it never lost.
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(edit->isHidden());
        QCOMPARE(joinRow(m_grid, 3), before);
        QVERIFY(!m_view->undoStack()->canUndo());
    } else {
        // Stored: the editor left the edited cell (leaving by a click opens
        // the same Rx editor again on the cell clicked).
        QVERIFY(edit->isHidden() || current(m_grid) != QPoint(col, 3));
    }
}

void TestChannelView::enterWalksTheWholeTable()
{
    makeView();
    m_view->OnInitialUpdate();
    ModalAnswerer boxes(ModalAnswerer::MessageBoxes);
    clickCell(m_grid, 1, 1);
    const QList<QWidget*> editors = ViewTestAccess::editors(m_view);
    // Editors by column 1..5.
    const QList<QWidget*> byColumn = {editors[0], editors[1], editors[2], editors[3], editors[4]};

    QList<QPoint> visited;
    for (int i = 0; i < 80; ++i) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        QTest::keyClick(focus, Qt::Key_Return);
        visited << current(m_grid);
        const int col = int(m_grid->GetCol());
        for (int c = 1; c <= 5; ++c)
            QCOMPARE(byColumn.at(c - 1)->isHidden(), c != col);
    }
    for (int i = 0; i < 79; ++i) {
        const int n = i + 1;  // cells walked from (1,1)
        QCOMPARE(visited.at(i), QPoint(n % 5 + 1, n / 5 + 1));
    }
    QCOMPARE(visited.last(), QPoint(1, 1));
    QVERIFY(boxes.seen().isEmpty());
    for (int r = 1; r <= 16; ++r)
        QCOMPARE(joinRow(m_grid, r), QStringLiteral("||||"));

    // Enter also moves on from the grid itself, with no editor open.
    ViewTestAccess::editRx(m_view)->hide();
    m_grid->setFocus();
    m_grid->SetRowCol(16, 5);
    ViewTestAccess::comboBusy(m_view)->hide();
    m_grid->setFocus();
    QTest::keyClick(m_grid, Qt::Key_Return);
    QCOMPARE(current(m_grid), QPoint(1, 1));
}

void TestChannelView::editorPlacedOverCurrentCell_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("name");
    QTest::newRow("rx") << 4 << 1 << "id2127";
    QTest::newRow("tx") << 9 << 2 << "id2128";
    QTest::newRow("decode") << 16 << 3 << "id2132";
    QTest::newRow("encode") << 1 << 4 << "id2133";
    QTest::newRow("busy") << 12 << 5 << "id1130";
}

void TestChannelView::editorPlacedOverCurrentCell()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QString, name);
    makeView();
    m_view->OnInitialUpdate();
    if (m_grid->logicalDpiX() != 96 || m_grid->logicalDpiY() != 96)
        QSKIP("placement checks assume 96 logical dpi");
    clickCell(m_grid, row, col);
    QWidget* editor = QApplication::focusWidget();
    QVERIFY(editor);
    QCOMPARE(editor->objectName(), name);
    QCOMPARE(editor->parentWidget(), m_grid->viewport());
    QVERIFY(editor->isVisible());
    const QRect cell = m_grid->visualRect(m_grid->model()->index(row, col));
    QCOMPARE(editor->geometry(), QRect(cell.x() - 3, cell.y() - 3, cell.width(), cell.height()));
    int visible = 0;
    for (QWidget* e : ViewTestAccess::editors(m_view))
        visible += e->isVisible() ? 1 : 0;
    QCOMPARE(visible, 1);
}

void TestChannelView::listsOpenOnMatchingEntry_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("selected");
    QTest::newRow("tone") << 3 << "D023N" << "D023N";
    QTest::newRow("tone not in the list") << 3 << "D05N" << "None";
    QTest::newRow("ctcss") << 4 << "254.1" << "254.1";
    QTest::newRow("empty cell") << 3 << "" << "None";
    QTest::newRow("busy no") << 5 << "No" << "No";
}

void TestChannelView::listsOpenOnMatchingEntry()
{
    QFETCH(int, col);
    QFETCH(QString, cell);
    QFETCH(QString, selected);
    makeView();
    m_view->OnInitialUpdate();
    QStringList cells = QStringLiteral("145.00000|145.00000|None|None|Yes").split(QLatin1Char('|'));
    cells[col - 1] = cell;
    putChannel(*m_doc, 6, cells);
    clickCell(m_grid, 6, col);
    auto* combo = qobject_cast<QComboBox*>(QApplication::focusWidget());
    QVERIFY(combo);
    QCOMPARE(combo->currentText(), selected);
}

// A tone the list does not hold opens the list on entry 0 ("None"): a click
// and a move away, Enter, or the wheel over a list only arrived at, keep the
// tone. Down then Up is a choice: "None" is then stored.
void TestChannelView::listLeftUnchosenKeepsTheCell_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("expected");
    const QString odd = QStringLiteral("145.00000|145.00000|D05N|D1023N|Yes");
    for (int col : {3, 4}) {
        const QByteArray name = col == 3 ? "decode " : "encode ";
        QTest::newRow(name + "click, click away") << col << "click" << odd;
        QTest::newRow(name + "click, Enter") << col << "enter" << odd;
        QTest::newRow(name + "wheel, leave") << col << "wheel" << odd;
        QStringList chosen = odd.split(QLatin1Char('|'));
        chosen[col - 1] = QStringLiteral("None");
        QTest::newRow(name + "Down, Up: a choice") << col << "choose" << chosen.join(QLatin1Char('|'));
    }
}

void TestChannelView::listLeftUnchosenKeepsTheCell()
{
    QFETCH(int, col);
    QFETCH(QString, how);
    QFETCH(QString, expected);
    makeView();
    m_view->OnInitialUpdate();
    setRow(m_doc.get(), 6, QStringLiteral("145.00000|145.00000|D05N|D1023N|Yes"));
    QCOMPARE(joinRow(m_grid, 6), QStringLiteral("145.00000|145.00000|D05N|D1023N|Yes"));
    ModalAnswerer boxes(ModalAnswerer::MessageBoxes);
    if (how == QLatin1String("wheel")) {
        m_grid->setFocus();
        m_grid->SetRowCol(6, col);
    } else {
        clickCell(m_grid, 6, col);
    }
    auto* combo = qobject_cast<QComboBox*>(QApplication::focusWidget());
    QVERIFY(combo);
    QCOMPARE(combo->currentText(), QStringLiteral("None"));
    if (how == QLatin1String("enter")) {
        QTest::keyClick(combo, Qt::Key_Return);
    } else if (how == QLatin1String("wheel")) {
        const QPointF at = combo->rect().center();
        QWheelEvent wheel(at, combo->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(combo, &wheel);
        QCOMPARE(combo->currentText(), QStringLiteral("None"));
    } else if (how == QLatin1String("choose")) {
        QTest::keyClick(combo, Qt::Key_Down);
        QTest::keyClick(combo, Qt::Key_Up);
    }
    clickCell(m_grid, 8, 1);
    QCOMPARE(joinRow(m_grid, 6), expected);
    QCOMPARE(m_view->undoStack()->canUndo(), how == QLatin1String("choose"));
    QVERIFY(boxes.seen().isEmpty());
}

// Channels read from a file or a radio may hold what the editors would refuse
// or treat as a change: an empty receive frequency beside a transmit one, a
// frequency outside the band. A click into such a cell and out again (or
// Enter) stores nothing and says nothing.
void TestChannelView::editLeftUnchangedKeepsTheChannel_data()
{
    QTest::addColumn<QString>("channel");
    QTest::addColumn<int>("col");
    QTest::addColumn<bool>("enter");
    const QString txOnly = QStringLiteral("|145.00000|67.0||");
    const QString outOfBand = QStringLiteral("170.00000|171.00000|None|None|Yes");
    QTest::newRow("empty rx beside a tx: click away") << txOnly << 1 << false;
    QTest::newRow("empty rx beside a tx: Enter") << txOnly << 1 << true;
    QTest::newRow("rx outside the band: click away") << outOfBand << 1 << false;
    QTest::newRow("tx outside the band: Enter") << outOfBand << 2 << true;
}

void TestChannelView::editLeftUnchangedKeepsTheChannel()
{
    QFETCH(QString, channel);
    QFETCH(int, col);
    QFETCH(bool, enter);
    makeView();
    m_view->OnInitialUpdate();
    setRow(m_doc.get(), 6, channel);
    QCOMPARE(joinRow(m_grid, 6), channel);
    const QByteArray image = m_doc->image().toByteArray();
    ModalAnswerer boxes(ModalAnswerer::MessageBoxes);
    QLineEdit* edit = openLineEdit(6, col);
    QVERIFY(edit);
    if (enter)
        QTest::keyClick(edit, Qt::Key_Return);
    else
        clickCell(m_grid, 8, 1);
    QCOMPARE(current(m_grid), enter ? QPoint(col + 1, 6) : QPoint(1, 8));
    QCOMPARE(m_doc->image().toByteArray(), image);
    QVERIFY(!m_view->undoStack()->canUndo());
    QVERIFY(boxes.seen().isEmpty());
}

void TestChannelView::tonesOnlyOnChannelsInUse()
{
    makeView();
    m_view->OnInitialUpdate();
    setRow(m_doc.get(), 2, QStringLiteral("145.00000|145.00000|None|None|Yes"));

    // Row 1 is empty: a chosen tone is discarded.
    clickCell(m_grid, 1, 3);
    QWidget* combo = QApplication::focusWidget();
    QVERIFY(qobject_cast<QComboBox*>(combo));
    QTest::keyClick(combo, Qt::Key_Down);
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(qobject_cast<QComboBox*>(combo)->currentText(), QStringLiteral("69.3"));
    QTest::keyClick(combo, Qt::Key_Return);
    QCOMPARE(m_grid->GetTextMatrix(1, 3), QString());
    QCOMPARE(current(m_grid), QPoint(4, 1));

    // Row 2 is a channel: the tone is kept, and Enter moves on.
    clickCell(m_grid, 2, 4);
    combo = QApplication::focusWidget();
    QTest::keyClick(combo, Qt::Key_Down);
    QTest::keyClick(combo, Qt::Key_Return);
    QCOMPARE(m_grid->GetTextMatrix(2, 4), QStringLiteral("67.0"));
    QCOMPARE(current(m_grid), QPoint(5, 2));
    combo = QApplication::focusWidget();
    QCOMPARE(combo, ViewTestAccess::comboBusy(m_view));
    // Arrived at by Enter, the list takes Down once the user opened it (F2).
    QTest::keyClick(combo, Qt::Key_F2);
    QTest::keyClick(combo, Qt::Key_Down);
    clickCell(m_grid, 8, 1);
    QCOMPARE(joinRow(m_grid, 2), QStringLiteral("145.00000|145.00000|None|67.0|No"));
}

void TestChannelView::commitEditorStoresOpenValue()
{
    makeView();
    m_view->OnInitialUpdate();
    m_view->CommitEditor();  // nothing open: nothing happens
    QCOMPARE(joinRow(m_grid, 1), QStringLiteral("||||"));

    QLineEdit* edit = openLineEdit(7, 1);
    QVERIFY(edit);
    QTest::keyClicks(edit, "150.0125");
    m_view->CommitEditor();  // as a transfer does before it starts
    QVERIFY(edit->isHidden());
    QCOMPARE(joinRow(m_grid, 7), QStringLiteral("150.01250|150.01250|None|None|Yes"));
    QCOMPARE(current(m_grid), QPoint(1, 7));
    m_view->CommitEditor();  // hidden now: not stored twice
    QCOMPARE(joinRow(m_grid, 7), QStringLiteral("150.01250|150.01250|None|None|Yes"));
}

void TestChannelView::helpContextOfFocusedControl_data()
{
    QTest::addColumn<int>("col");  // 0: the grid itself
    QTest::addColumn<int>("context");
    QTest::newRow("grid") << 0 << 1000;
    QTest::newRow("rx") << 1 << 2127;
    QTest::newRow("tx") << 2 << 2128;
    QTest::newRow("decode") << 3 << 2132;
    QTest::newRow("encode") << 4 << 2133;
    QTest::newRow("busy") << 5 << 1130;
}

void TestChannelView::helpContextOfFocusedControl()
{
    QFETCH(int, col);
    QFETCH(int, context);
    makeView();
    m_view->OnInitialUpdate();
    if (col == 0)
        m_grid->setFocus();
    else
        clickCell(m_grid, 3, col);
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    // The window around the view has its own F1 help, as the main window does:
    // the control's topic comes first, the window's help still follows.
    int windowHelp = 0;
    auto* help = new QAction(m_host.get());
    help->setShortcut(QKeySequence(Qt::Key_F1));
    connect(help, &QAction::triggered, this, [&] {
        QCOMPARE(HelpLauncher::requests().size(), 1);
        ++windowHelp;
    });
    m_host->addAction(help);
    HelpLauncher::clearRequests();
    QTest::keyClick(focus, Qt::Key_F1);
    QCOMPARE(HelpLauncher::requests().size(), 1);
    QCOMPARE(HelpLauncher::requests().first().context, context);
    QCOMPARE(HelpLauncher::requests().first().command, 15);
    QCOMPARE(HelpLauncher::requests().first().file, g_strHelpFile);
    QCOMPARE(windowHelp, 1);

    // Without a window shortcut the key itself brings the help, once.
    m_host->removeAction(help);
    HelpLauncher::clearRequests();
    QTest::keyClick(focus, Qt::Key_F1);
    QCOMPARE(HelpLauncher::requests().size(), 1);
    QCOMPARE(HelpLauncher::requests().first().context, context);
}

void TestChannelView::chineseEditing()
{
    const QByteArray settings = chineseSettings();
    QVERIFY(!settings.isEmpty());
    makeView(settings);
    QVERIFY(g_bChinese);
    m_view->OnInitialUpdate();
    QCOMPARE(m_grid->GetTextMatrix(0, 1), QStringLiteral("接收频率"));
    QCOMPARE(m_view->staticTitle()->text(), QStringLiteral("信道信息"));
    QCOMPARE(ViewTestAccess::comboBusy(m_view)->itemText(0), QStringLiteral("开"));
    QCOMPARE(ViewTestAccess::comboDecode(m_view)->itemText(0), QStringLiteral("无"));

    ModalAnswerer boxes(ModalAnswerer::MessageBoxes);
    QLineEdit* edit = openLineEdit(2, 1);
    QVERIFY(edit);
    QTest::keyClicks(edit, "150");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(joinRow(m_grid, 2), QStringLiteral("150.00000|150.00000|无|无|开"));

    edit = ViewTestAccess::editTx(m_view);
    QCOMPARE(QApplication::focusWidget(), edit);
    edit->selectAll();
    QTest::keyClicks(edit, "999");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(boxes.texts(), QStringList({LanguageModule::string(61448)}));
    QCOMPARE(boxes.seen().first().caption, LanguageModule::string(61458));
    QCOMPARE(joinRow(m_grid, 2), QStringLiteral("150.00000|150.00000|无|无|开"));
}

QTEST_MAIN(TestChannelView)
#include "tst_channelview.moc"

// Letters typed while the grid has the focus used to search the grid's texts
// and jump to the row they matched.
void TestChannelView::typedTextNeverMovesTheCurrentCell()
{
    makeView();
    m_view->OnInitialUpdate();
    setRow(m_doc.get(), 1, QStringLiteral("145.00000|145.00000|None|None|Yes"));
    setRow(m_doc.get(), 5, QStringLiteral("146.00000|146.00000|None|None|Yes"));
    ModalAnswerer boxes(ModalAnswerer::MessageBoxes);
    clickCell(m_grid, 3, 1);
    QLineEdit* edit = ViewTestAccess::editRx(m_view);
    QTest::keyClick(edit, Qt::Key_Escape);
    QTRY_VERIFY(m_grid->hasFocus());
    QVERIFY(edit->isHidden());

    // "14" matches rows 1 and 5; typed into the grid it opens row 3's editor.
    m_grid->setFocus();
    typeIntoFocus(QStringLiteral("14"));
    QCOMPARE(current(m_grid), QPoint(1, 3));
    QVERIFY(!edit->isHidden());
    QCOMPARE(edit->text(), QStringLiteral("14"));
    QTest::keyClicks(edit, "7.5");
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(joinRow(m_grid, 3), QStringLiteral("147.50000|147.50000|None|None|Yes"));
    QCOMPARE(joinRow(m_grid, 1), QStringLiteral("145.00000|145.00000|None|None|Yes"));
    QCOMPARE(joinRow(m_grid, 5), QStringLiteral("146.00000|146.00000|None|None|Yes"));
    QVERIFY(boxes.seen().isEmpty());
}

// A rejected value leaves the grid with the focus; the correction typed next
// must land in the same row and touch no other.
void TestChannelView::correctionAfterRejectedValueStaysOnItsRow()
{
    makeView();
    m_view->OnInitialUpdate();
    setRow(m_doc.get(), 2, QStringLiteral("145.00000|145.00000|None|None|Yes"));
    setRow(m_doc.get(), 7, QStringLiteral("150.00000|150.00000|None|None|No"));
    ModalAnswerer boxes(ModalAnswerer::MessageBoxes);
    QLineEdit* edit = openLineEdit(2, 1);
    QTest::keyClicks(edit, "145.001");  // off the 5 kHz and 6.25 kHz steps
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(current(m_grid), QPoint(1, 2));

    // The editor kept the focus and the text as typed: the correction
    // replaces it in the same cell.
    QApplication::setActiveWindow(m_host.get());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(edit));
    QCOMPARE(edit->text(), QStringLiteral("145.001"));
    edit->selectAll();
    typeIntoFocus(QStringLiteral("150"));
    QCOMPARE(current(m_grid), QPoint(1, 2));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(current(m_grid), QPoint(2, 2));
    QCOMPARE(m_grid->GetTextMatrix(2, 1), QStringLiteral("150.00000"));
    QCOMPARE(joinRow(m_grid, 7), QStringLiteral("150.00000|150.00000|None|None|No"));
    QCOMPARE(boxes.count(), 1);
}

void TestChannelView::arrowKeysMoveTheCell_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("key");
    QTest::addColumn<QPoint>("reached");  // (col, row) from row 5
    QTest::newRow("Rx edit, Up") << 1 << int(Qt::Key_Up) << QPoint(1, 4);
    QTest::newRow("Rx edit, Down") << 1 << int(Qt::Key_Down) << QPoint(1, 6);
    QTest::newRow("Tx edit, Left") << 2 << int(Qt::Key_Left) << QPoint(1, 5);
    QTest::newRow("Decode list, Down") << 3 << int(Qt::Key_Down) << QPoint(3, 6);
    QTest::newRow("Decode list, Up") << 3 << int(Qt::Key_Up) << QPoint(3, 4);
    QTest::newRow("Encode list, Right") << 4 << int(Qt::Key_Right) << QPoint(5, 5);
    QTest::newRow("Busy list, Down") << 5 << int(Qt::Key_Down) << QPoint(5, 6);
    QTest::newRow("Busy list, Home") << 5 << int(Qt::Key_Home) << QPoint(1, 5);
    QTest::newRow("Rx edit, End") << 1 << int(Qt::Key_End) << QPoint(5, 5);
}

// An editor opened by arriving in its cell (Enter, Tab, an arrow) is no edit:
// arrow keys, Home and End move the current cell on and change no value; a
// list only takes Up and Down once the user opened it.
void TestChannelView::arrowKeysMoveTheCell()
{
    QFETCH(int, col);
    QFETCH(int, key);
    QFETCH(QPoint, reached);
    makeView();
    m_view->OnInitialUpdate();
    for (int r = 4; r <= 6; ++r)
        setRow(m_doc.get(), r, QStringLiteral("145.00000|145.00000|67.0|None|Yes"));
    const QByteArray image = m_doc->image().toByteArray();
    ModalAnswerer boxes(ModalAnswerer::MessageBoxes);
    m_grid->setFocus();
    m_grid->SetRowCol(5, col);
    QWidget* editor = QApplication::focusWidget();
    QVERIFY(editor && editor != m_grid);
    QTest::keyClick(editor, Qt::Key(key));
    QCOMPARE(current(m_grid), reached);
    // The editor left its cell (in the same column it opens again on the new one).
    QVERIFY(editor->isHidden() || reached.x() == col);
    QCOMPARE(m_doc->image().toByteArray(), image);
    QVERIFY(!m_view->undoStack()->canUndo());
    QVERIFY(boxes.seen().isEmpty());
}

// From channel 1's QT/DQT Dec, Down, Down and Tab walk to channel 3's QT/DQT
// Enc without changing a tone; every press moves, none is swallowed.
void TestChannelView::walkingWithArrowsChangesNothing()
{
    makeView();
    m_view->OnInitialUpdate();
    for (int r = 1; r <= 16; ++r)
        setRow(m_doc.get(), r, QStringLiteral("145.00000|145.00000|None|None|Yes"));
    const QByteArray image = m_doc->image().toByteArray();
    ModalAnswerer boxes(ModalAnswerer::MessageBoxes);
    m_grid->setFocus();
    m_grid->SetRowCol(1, 3);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(current(m_grid), QPoint(4, 3));
    // The frequency column: four presses, four rows.
    m_grid->SetRowCol(1, 1);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(current(m_grid), QPoint(1, 5));
    QCOMPARE(m_doc->image().toByteArray(), image);
    QVERIFY(boxes.seen().isEmpty());

    // A list the user opened (F2) takes Down; the value is stored on leaving.
    m_grid->SetRowCol(2, 3);
    QWidget* combo = QApplication::focusWidget();
    QTest::keyClick(combo, Qt::Key_F2);
    QTest::keyClick(combo, Qt::Key_Down);
    QTest::keyClick(combo, Qt::Key_Tab);
    QCOMPARE(m_grid->GetTextMatrix(2, 3), QStringLiteral("67.0"));
    QCOMPARE(current(m_grid), QPoint(4, 2));
}

void TestChannelView::escapeRestoresTheCell()
{
    makeView();
    m_view->OnInitialUpdate();
    setRow(m_doc.get(), 3, QStringLiteral("145.00000|145.00000|None|None|Yes"));
    QLineEdit* edit = openLineEdit(3, 2);
    QTest::keyClicks(edit, "146");
    QTest::keyClick(edit, Qt::Key_Escape);
    QVERIFY(edit->isHidden());
    // Leaving the cell afterwards stores nothing either.
    clickCell(m_grid, 4, 1);
    QCOMPARE(joinRow(m_grid, 3), QStringLiteral("145.00000|145.00000|None|None|Yes"));
    QVERIFY(!m_view->undoStack()->canUndo());
}

void TestChannelView::tenEditsUndoneOneByOne()
{
    makeView();
    m_view->OnInitialUpdate();
    ModalAnswerer boxes(ModalAnswerer::MessageBoxes);
    auto table = [this] {
        QStringList rows;
        for (int r = 1; r <= 16; ++r)
            rows << joinRow(m_grid, r);
        return rows;
    };
    QList<QStringList> snapshots{table()};
    const QByteArray imageAtStart = m_doc->image().toByteArray();
    // Ten edits: new channels, a changed transmit frequency, a tone, busy lock.
    const char* const rx[] = {"145", "146.5", "147.125", "155", "150.0125"};
    for (int i = 0; i < 5; ++i) {
        QLineEdit* edit = openLineEdit(i + 1, 1);
        QVERIFY(edit);
        QTest::keyClicks(edit, rx[i]);
        QTest::keyClick(edit, Qt::Key_Return);
        snapshots << table();
    }
    QLineEdit* tx = openLineEdit(2, 2);
    QVERIFY(tx);
    QTest::keyClicks(tx, "147");
    QTest::keyClick(tx, Qt::Key_Return);
    snapshots << table();
    for (int i = 0; i < 4; ++i) {
        clickCell(m_grid, 3, i < 2 ? 3 : 5);
        auto* combo = qobject_cast<QComboBox*>(QApplication::focusWidget());
        QVERIFY(combo);
        combo->setCurrentIndex((combo->currentIndex() + 1) % combo->count());
        QTest::keyClick(combo, Qt::Key_Return);
        snapshots << table();
    }
    QCOMPARE(snapshots.size(), 11);
    QCOMPARE(m_view->undoStack()->count(), 10);
    for (int i = 1; i < snapshots.size(); ++i)
        QVERIFY2(snapshots.at(i) != snapshots.at(i - 1), qPrintable(QString::number(i)));

    for (int i = 9; i >= 0; --i) {
        m_view->OnCommand(CKQ_517View::ID_EDIT_UNDO);
        QCOMPARE(table(), snapshots.at(i));
    }
    QVERIFY(!m_view->undoStack()->canUndo());
    QCOMPARE(m_doc->image().toByteArray(), imageAtStart);
    for (int i = 1; i <= 10; ++i) {
        m_view->OnCommand(CKQ_517View::ID_EDIT_REDO);
        QCOMPARE(table(), snapshots.at(i));
    }
    QVERIFY(boxes.seen().isEmpty());
}

// Emptying the receive frequency on purpose empties the channel: one step
// brings it back with its tones and busy lock.
void TestChannelView::rowClearIsOneStep()
{
    makeView();
    m_view->OnInitialUpdate();
    const QString channel = QStringLiteral("145.00000|146.00000|67.0|D023N|No");
    setRow(m_doc.get(), 4, channel);
    ModalAnswerer boxes(ModalAnswerer::MessageBoxes);
    QLineEdit* edit = openLineEdit(4, 1);
    QTest::keyClick(edit, Qt::Key_Delete);
    clickCell(m_grid, 9, 1);
    QVERIFY(boxes.seen().isEmpty());
    QCOMPARE(joinRow(m_grid, 4), QStringLiteral("||||"));
    QCOMPARE(m_view->undoStack()->count(), 1);
    m_view->OnCommand(CKQ_517View::ID_EDIT_UNDO);
    QCOMPARE(joinRow(m_grid, 4), channel);
}

void TestChannelView::modifiedFollowsTheHistory()
{
    makeView();
    m_view->OnInitialUpdate();
    QVERIFY(!m_doc->IsModified());
    QSignalSpy changes(m_doc.get(), &CKQ_517Doc::modifiedChanged);
    ModalAnswerer boxes(ModalAnswerer::MessageBoxes);

    // Opening and leaving an editor without a change is no edit.
    openLineEdit(1, 1);
    clickCell(m_grid, 2, 1);
    QVERIFY(!m_doc->IsModified());

    QLineEdit* edit = openLineEdit(1, 1);
    QTest::keyClicks(edit, "145");
    QTest::keyClick(edit, Qt::Key_Return);
    QVERIFY(m_doc->IsModified());
    m_view->OnCommand(CKQ_517View::ID_EDIT_UNDO);
    QVERIFY(!m_doc->IsModified());  // back where it was made
    m_view->OnCommand(CKQ_517View::ID_EDIT_REDO);
    QVERIFY(m_doc->IsModified());
    m_view->undoStack()->setClean();  // what a save does
    QVERIFY(!m_doc->IsModified());
    m_view->OnCommand(CKQ_517View::ID_EDIT_UNDO);
    QVERIFY(m_doc->IsModified());
    QCOMPARE(changes.count(), 5);
}
