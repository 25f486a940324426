#include "view/KQ_517View.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFontMetricsF>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPixmap>
#include <QStyle>
#include <QUndoStack>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

#include "codeplug/Codecs.h"
#include "codeplug/ModelBand.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/UserStore.h"
#include "shell/HelpLauncher.h"
#include "shell/KQ_517Doc.h"
#include "shell/LanguageDlg.h"
#include "shell/LanguageModule.h"
#include "shell/MainFrame.h"
#include "view/MSFlexGrid.h"

namespace {

constexpr int kFormId = 101;
constexpr int kGridId = 1000;
constexpr int kTitleId = 1014;
constexpr int kEditRxId = 2127;
constexpr int kEditTxId = 2128;
constexpr int kComboBusyId = 1130;
constexpr int kComboDecodeId = 2132;
constexpr int kComboEncodeId = 2133;
constexpr int kCaptionId = 61458;
constexpr int kTwipsPerInch = 1440;
// Blue 0xF0, green 0x32, red 0 as 0x00BBGGRR.
constexpr quint32 kFixedCellTextColour = 0x00F03200;

// Form 101 when the language module has none: 356 x 222 dialog units
// (x1.5 horizontally, x1.625 vertically), grid at (15, 40) 325 x 167,
// title at (93, 14) 169 x 20.
const QRect kFallbackForm(0, 0, 534, 361);
const QRect kFallbackGrid(23, 65, 488, 271);
const QRect kFallbackTitle(140, 23, 254, 33);

QFont formFont() { return QFont(QStringLiteral("Times New Roman"), 9); }

// The first update sizes each column as a share of column 0's form-time width.
constexpr double kColumnShare[] = {0.5, 1.5, 1.5, 1.5, 1.5, 1.3};
static_assert(std::size(kColumnShare) == ChannelTable::kCols);

// Column col's width in twips after the first update, for column 0's
// form-time width w in twips.
long setUpColWidth(long w, int col) { return long(double(w) * kColumnShare[col]); }

// Column col's width in pixels after the first update, for a form-time width
// of px pixels (the same twips round trip the first update makes).
int setUpPixels(const CMSFlexGrid* grid, int px, int col)
{
    return grid->twipsToPixelsX(setUpColWidth(grid->pixelsToTwipsX(px), col));
}

// Pixels a cell needs besides its text: the text keeps the focus frame's
// margin and one pixel at either side, and the grid line takes one.
int cellTextRoom(const QWidget* grid)
{
    return 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1) + 1;
}

// The least form-time width of column 0 (never below the grid's own) at which,
// after the first update, every header of the current language and every
// channel number fits its column in the grid's font.
int formTimeColumnWidth(const CMSFlexGrid* grid)
{
    const QFontMetricsF metrics(grid->font());
    const int room = cellTextRoom(grid);
    int needed[ChannelTable::kCols] = {};
    auto need = [&](int col, const QString& text) {
        needed[col] = std::max(needed[col], int(std::ceil(metrics.horizontalAdvance(text))) + room);
    };
    for (int c = 0; c < ChannelTable::kCols; ++c)
        need(c, ChannelTable::header(c, g_bChinese));
    for (int r = 1; r < ChannelTable::kRows; ++r)
        need(ChannelTable::ColLabel, ChannelTable::rowLabel(r));

    constexpr int kWidest = 2000;
    int px = grid->columnWidth(0);
    for (; px < kWidest; ++px) {
        bool fits = true;
        for (int c = 0; c < ChannelTable::kCols && fits; ++c)
            fits = setUpPixels(grid, px, c) >= needed[c];
        if (fits)
            break;
    }
    return px;
}

// Gives the grid its form-time column width and sizes it (and the form
// around it) to the cells of the first update: no scroll bars and no empty
// strip beside the last column or below the last row. The grid keeps its
// place; the form keeps its margins around the grid, stays wide enough for
// the title and centres the title again when its width changes.
void fitFormToGrid(CMSFlexGrid* grid, QWidget* form, QLabel* title)
{
    const int px = formTimeColumnWidth(grid);
    const int border = 2 * grid->frameWidth();
    QSize content(border, border);
    for (int c = 0; c < grid->columnCount(); ++c) {
        grid->setColumnWidth(c, px);
        content.rwidth() += setUpPixels(grid, px, c);
    }
    for (int r = 0; r < grid->rowCount(); ++r)
        content.rheight() += grid->rowHeight(r);

    const QRect area = grid->geometry();
    const int rightMargin = std::max(0, form->width() - (area.x() + area.width()));
    const int bottomMargin = std::max(0, form->height() - (area.y() + area.height()));
    grid->resize(content);

    QSize formSize(area.x() + content.width() + rightMargin, area.y() + content.height() + bottomMargin);
    if (title)
        formSize.setWidth(std::max(formSize.width(), title->width() + 2 * area.x()));
    if (formSize.width() != form->width() && title)
        title->move((formSize.width() - title->width()) / 2, title->y());
    form->resize(formSize);
}

}  // namespace

CKQ_517View::CKQ_517View(CKQ_517Doc* document, QWidget* parent)
    : QScrollArea(parent), m_pDocument(document)
{
    m_form = LanguageModule::loadDialog(kFormId, nullptr);
    QWidget* gridArea = nullptr;
    if (m_form) {
        m_staticTitle = m_form->findChild<QLabel*>(LanguageModule::controlName(kTitleId));
        gridArea = m_form->findChild<QWidget*>(LanguageModule::controlName(kGridId));
    } else {
        m_form = new QWidget;
        m_form->setGeometry(kFallbackForm);
        m_form->setFont(formFont());
    }
    m_form->setObjectName(LanguageModule::controlName(kFormId));
    if (!m_staticTitle) {
        m_staticTitle = new QLabel(m_form);
        m_staticTitle->setObjectName(LanguageModule::controlName(kTitleId));
        m_staticTitle->setGeometry(kFallbackTitle);
    }
    m_staticTitle->setAlignment(Qt::AlignCenter);
    // The caption is drawn red in a 12-point 宋体 font.
    QFont titleFont(QStringLiteral("宋体"));
    titleFont.setPointSize(12);
    m_staticTitle->setFont(titleFont);
    QPalette titlePalette = m_staticTitle->palette();
    titlePalette.setColor(QPalette::WindowText, QColor(250, 10, 10));
    m_staticTitle->setPalette(titlePalette);

    m_grid = new CMSFlexGrid(m_form);
    m_grid->setGeometry(gridArea ? gridArea->geometry() : kFallbackGrid);
    delete gridArea;  // the form's placeholder for the grid
    fitFormToGrid(m_grid, m_form, m_staticTitle);

    setWidget(m_form);
    setWidgetResizable(false);  // a window smaller than the form scrolls it

    connect(m_grid, &CMSFlexGrid::LeaveCell, this, &CKQ_517View::CommitEditor);
    connect(m_grid, &CMSFlexGrid::EnterCell, this, &CKQ_517View::OpenEditor);
    connect(m_grid, &CMSFlexGrid::MouseDown, this, [this] { OpenEditor(); });

    installEventFilter(this);
    m_form->installEventFilter(this);
    m_grid->installEventFilter(this);
    m_grid->viewport()->installEventFilter(this);

    // The document is unmodified exactly while its history stands where it
    // was made, opened or last saved.
    m_undoStack = new QUndoStack(this);
    connect(m_undoStack, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (m_pDocument)
            m_pDocument->SetModifiedFlag(!clean);
    });

    createLinkDialogs();
}

CKQ_517View::~CKQ_517View()
{
    // The undo stack outlives this destructor (it is a child, deleted by the
    // base class) and may still say its clean state changed: by then there
    // is no view left to hear it.
    if (m_undoStack)
        m_undoStack->disconnect(this);
}

QWidget* CKQ_517View::frameWindow() const
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w))
            return sub;
    }
    return window();
}

void CKQ_517View::shrinkFrameToForm()
{
    QWidget* frame = frameWindow();
    if (frame->layout())
        frame->layout()->activate();
    const int border = 2 * frameWidth();
    QSize target = m_form->size() + QSize(border, border);
    if (frame != this) {
        const QSize decoration = frame->size() - size();
        target += QSize(std::max(0, decoration.width()), std::max(0, decoration.height()));
    }
    const QSize current = frame->size();
    const QSize shrunk(std::min(current.width(), target.width()),
                       std::min(current.height(), target.height()));
    if (shrunk != current)
        frame->resize(shrunk);
}

void CKQ_517View::createEditors()
{
    QWidget* host = m_grid->viewport();
    // The editors lie over the grid's cells and write in the view's own font
    // (the form's).
    const QFont font = m_form->font();

    auto prepare = [&](QWidget* editor, int id) {
        editor->setObjectName(LanguageModule::controlName(id));
        editor->setFont(font);
        editor->setGeometry(QRect());
        editor->hide();
        editor->installEventFilter(this);
    };
    auto makeList = [&](int id, const QStringList& entries, bool scrollBar) {
        auto* combo = new QComboBox(host);
        combo->setEditable(false);
        combo->addItems(entries);
        combo->view()->setVerticalScrollBarPolicy(scrollBar ? Qt::ScrollBarAsNeeded
                                                            : Qt::ScrollBarAlwaysOff);
        prepare(combo, id);
        return combo;
    };

    m_editRx = new QLineEdit(host);
    prepare(m_editRx, kEditRxId);
    m_editTx = new QLineEdit(host);
    prepare(m_editTx, kEditTxId);
    m_comboBusy = makeList(kComboBusyId,
                           {codec::busyLockText(true, g_bChinese), codec::busyLockText(false, g_bChinese)},
                           false);
    m_comboDecode = makeList(kComboDecodeId, m_toneTable.texts(), true);
    m_comboEncode = makeList(kComboEncodeId, m_toneTable.texts(), true);
}

void CKQ_517View::OnInitialUpdate()
{
    shrinkFrameToForm();

    if (m_bFirstUpdate) {
        m_toneTable.build(g_bChinese);
        m_grid->SetFixedCellTextColour(kFixedCellTextColour);
        createEditors();
        for (int c = 0; c < ChannelTable::kCols; ++c)
            m_grid->SetTextMatrix(0, c, ChannelTable::header(c, g_bChinese));
        m_staticTitle->setText(
            g_settings.GetText(g_bChinese ? QByteArray("Chinese") : QByteArray("English"), "Title"));
        for (int r = 1; r < ChannelTable::kRows; ++r)
            m_grid->SetTextMatrix(r, 0, ChannelTable::rowLabel(r));
        for (long c = 0; c < m_grid->GetCols(); ++c)
            m_grid->SetColumnAlignment(c, 4);
        const long w = m_grid->GetColWidth(0);
        for (int c = 0; c < ChannelTable::kCols; ++c)
            m_grid->SetColWidth(c, setUpColWidth(w, c));
        m_bFirstUpdate = false;
    }

    // "title.ico" next to the program is the document window's icon; without
    // it the window shows none (a transparent one, so the toolkit does not
    // put its own in the empty place).
    QPixmap icon;
    if (!icon.load(g_strProgramDir + QStringLiteral("title.ico"))) {
        icon = QPixmap(16, 16);
        icon.fill(Qt::transparent);
    }
    frameWindow()->setWindowIcon(QIcon(icon));
    decodeTable();
}

void CKQ_517View::decodeTable()
{
    if (!m_pDocument)
        return;
    MemoryImage& image = m_pDocument->image();

    ChannelTable table(g_bChinese);
    table.decode(image, g_bChinese);
    for (int r = 1; r < ChannelTable::kRows; ++r) {
        for (int c = ChannelTable::ColRx; c <= ChannelTable::ColBusy; ++c)
            m_grid->SetTextMatrix(r, c, table.cell(r, c));
    }

    UserStore store = UserStore::fromSettings();
    modelband::exchange(image, g_bNewDocument, store);
    updateModelBand();
}

void CKQ_517View::updateModelBand()
{
    if (!m_pDocument)
        return;
    const MemoryImage& image = m_pDocument->image();
    const int modelIndex = image.at(layout::kModelIndex);
    const int bandIndex = image.at(layout::kBandIndex);
    const QString model = modelband::modelName(g_settings, modelIndex);
    const QString band = modelband::bandText(modelband::bandList(g_settings, modelIndex), bandIndex);
    g_strMainTitle = modelband::mainTitle(g_settings.GetText(g_strLanguage.toUtf8(), "AppName"), model,
                                          band, g_bChinese);
    if (CMainFrame* frame = CMainFrame::instance())
        frame->setMainTitle(g_strMainTitle);

    const modelband::BandLimits limits = modelband::bandLimits(band);
    m_nBandLow = limits.low;
    m_nBandHigh = limits.high;
}

ChannelTable CKQ_517View::tableFromGrid() const
{
    ChannelTable table(g_bChinese);
    for (int r = 0; r < ChannelTable::kRows; ++r) {
        for (int c = 0; c < ChannelTable::kCols; ++c)
            table.setCell(r, c, m_grid->GetTextMatrix(r, c));
    }
    return table;
}

void CKQ_517View::encodeTable()
{
    if (m_pDocument)
        tableFromGrid().encode(m_pDocument->image());
}

ChannelViewState CKQ_517View::captureState() const
{
    return {m_pDocument ? m_pDocument->image() : MemoryImage(), tableFromGrid()};
}

void CKQ_517View::restoreState(const ChannelViewState& state)
{
    if (!m_pDocument)
        return;
    CancelEditor();
    MemoryImage& image = m_pDocument->image();
    const bool productChanged = image.at(layout::kModelIndex) != state.image.at(layout::kModelIndex) ||
                                image.at(layout::kBandIndex) != state.image.at(layout::kBandIndex);
    image = state.image;
    for (int r = 1; r < ChannelTable::kRows; ++r) {
        for (int c = ChannelTable::ColRx; c <= ChannelTable::ColBusy; ++c)
            m_grid->SetTextMatrix(r, c, state.table.cell(r, c));
    }
    // The title and the band limits follow the model and band the step restores.
    if (productChanged)
        updateModelBand();
}

void CKQ_517View::recordChange(const QString& text, const ChannelViewState& before)
{
    ChannelViewState after = captureState();
    if (after == before)
        return;
    m_undoStack->push(new ChannelViewCommand(this, text, before, std::move(after)));
}

void CKQ_517View::OnEditUndo()
{
    CommitEditor();
    m_undoStack->undo();
}

void CKQ_517View::OnEditRedo()
{
    CommitEditor();
    m_undoStack->redo();
}

void CKQ_517View::CancelEditor()
{
    QWidget* editor = EditorForColumn();
    if (!editor || editor->isHidden())
        return;
    const bool hadFocus = editor->hasFocus();
    editor->hide();
    if (hadFocus)
        m_grid->setFocus();
}

QWidget* CKQ_517View::EditorForColumn() const
{
    switch (m_grid->GetCol()) {
    case ChannelTable::ColTx: return m_editTx;
    case ChannelTable::ColDecode: return m_comboDecode;
    case ChannelTable::ColEncode: return m_comboEncode;
    case ChannelTable::ColBusy: return m_comboBusy;
    default: return m_editRx;
    }
}

void CKQ_517View::OpenEditor()
{
    QWidget* editor = EditorForColumn();
    if (!editor)
        return;  // before the first update
    const QString text = m_grid->GetText();
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        // The first entry that begins with the cell's text; entry 0 when none does.
        int index = 0;
        for (int i = 0; i < combo->count(); ++i) {
            if (combo->itemText(i).startsWith(text, Qt::CaseInsensitive)) {
                index = i;
                break;
            }
        }
        combo->setCurrentIndex(index);
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(text);
    }
    PlaceEditor(editor);
}

void CKQ_517View::PlaceEditor(QWidget* editor)
{
    const long dx = m_grid->logicalDpiX();
    const long dy = m_grid->logicalDpiY();
    const long cellHeight = m_grid->GetCellHeight() * dy / kTwipsPerInch;
    long h = cellHeight;
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(m_grid->GetText());
        // What the user types replaces the cell's text; appended to it, the
        // typed value would be lost in the number before it.
        edit->selectAll();
    }
    // A drop-down list asks for the cell height plus 100 pixels of room for
    // its open list; here the list opens in a popup of its own, so the box
    // itself keeps the cell height.
    const long x = m_grid->GetCellLeft() * dx / kTwipsPerInch - 3;
    const long y = m_grid->GetCellTop() * dy / kTwipsPerInch - 3;
    const long width = m_grid->GetCellWidth() * dx / kTwipsPerInch;
    editor->setGeometry(int(x), int(y), int(width), int(h));
    editor->show();
    editor->raise();
    editor->setFocus();
    m_grid->viewport()->update();
}

void CKQ_517View::showCaution(int messageId)
{
    QMessageBox box(QMessageBox::Warning, LanguageModule::string(kCaptionId),
                    LanguageModule::string(messageId), QMessageBox::Ok, this);
    box.exec();
}

int CKQ_517View::storeEditor(QWidget* editor, CellValidator::Trigger trigger)
{
    const int row = int(m_grid->GetRow());
    const int col = int(m_grid->GetCol());
    QString text;
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        text = combo->currentText();
    else if (auto* edit = qobject_cast<QLineEdit*>(editor))
        text = edit->text();

    // Taken before any message box moves the focus away: the grid gets it
    // back, so that the correction the user types next opens this cell again.
    const bool hadFocus = editor->hasFocus();
    const ChannelViewState before = captureState();
    ChannelTable table = before.table;
    const CellValidator validator(m_nBandLow, m_nBandHigh, g_bChinese);
    const int message = validator.store(table, row, col, text, trigger);
    if (message != CellValidator::NoMessage)
        showCaution(message);  // the cells still show the old values meanwhile
    if (row >= 1 && row < ChannelTable::kRows) {
        for (int c = ChannelTable::ColRx; c <= ChannelTable::ColBusy; ++c)
            m_grid->SetTextMatrix(row, c, table.cell(row, c));
    }

    recordChange(undotext::cellEdit(g_bChinese), before);

    editor->hide();
    if (hadFocus)
        m_grid->setFocus();
    return message;
}

void CKQ_517View::CommitEditor()
{
    QWidget* editor = EditorForColumn();
    // isHidden(), not isVisible(): an editor opened in a window that is
    // hidden right now still holds the user's text.
    if (!editor || editor->isHidden())
        return;
    storeEditor(editor, CellValidator::Trigger::CellLeave);
}

void CKQ_517View::onEnterKey()
{
    QWidget* editor = EditorForColumn();
    if (editor && !editor->isHidden()) {
        if (storeEditor(editor, CellValidator::Trigger::Enter) != CellValidator::NoMessage)
            return;  // a rejected value: the current cell stays
    }
    // Move on: next column; after the last one, column 1 of the next row;
    // after the last row, row 1 column 1. One move, so the cell left is
    // committed once and the cell reached is the one whose editor opens.
    long row = m_grid->GetRow();
    long col = m_grid->GetCol();
    if (col < m_grid->GetCols() - 1) {
        ++col;
    } else if (row < m_grid->GetRows() - 1) {
        col = 1;
        ++row;
    } else {
        row = 1;
        col = 1;
    }
    m_grid->SetRowCol(row, col);
}

bool CKQ_517View::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyRelease && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1)
        m_bHelpGiven = false;
    if (type == QEvent::KeyPress || type == QEvent::ShortcutOverride) {
        // A key the focused widget ignores travels on to its parents, which
        // this filter also watches: act on its first delivery only.
        QWidget* focus = QApplication::focusWidget();
        if (!focus) {
            // The window is not the active one (the key was sent to it directly):
            // the widget that holds its focus.
            if (auto* w = qobject_cast<QWidget*>(watched))
                focus = w->window()->focusWidget();
        }
        if (watched != focus)
            return QScrollArea::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        if (type == QEvent::KeyPress && handleEditingKey(focus, key))
            return true;
        switch (key->key()) {
        case Qt::Key_F1:
            // A window's F1 shortcut (the main window's help) takes the key
            // before it is pressed into the focused control, so the control's
            // topic is opened at the shortcut check; the press that follows
            // when no shortcut took the key adds nothing. Either way the key
            // goes on to its usual handling.
            if (type == QEvent::ShortcutOverride || !std::exchange(m_bHelpGiven, false)) {
                showHelpForFocus(focus);
                m_bHelpGiven = type == QEvent::ShortcutOverride;
            }
            return false;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (type == QEvent::KeyPress) {
                onEnterKey();
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QScrollArea::eventFilter(watched, event);
}

bool CKQ_517View::handleEditingKey(QWidget* focus, QKeyEvent* key)
{
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    QWidget* editor = EditorForColumn();
    if (!editor)
        return false;
    if (focus == editor) {
        switch (key->key()) {
        case Qt::Key_Escape:
            // The cell keeps the value it had.
            CancelEditor();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            // An edit box has no use for them; passed on, the grid would move
            // to another row and store the half-typed value.
            return qobject_cast<QLineEdit*>(editor) != nullptr;
        case Qt::Key_Left:
        case Qt::Key_Right:
            // Likewise for a list, which changes its entry with Up and Down.
            return qobject_cast<QComboBox*>(editor) != nullptr;
        default:
            return false;
        }
    }
    if (focus != m_grid || m_grid->GetRow() < 1 || m_grid->GetCol() < 1)
        return false;
    // The grid: F2 opens the current cell's editor; typed text opens it too
    // and goes into it, replacing the cell's value, as in a spreadsheet.
    if (key->key() == Qt::Key_F2) {
        OpenEditor();
        return true;
    }
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    OpenEditor();
    QKeyEvent forwarded(QEvent::KeyPress, key->key(), key->modifiers(), text);
    QCoreApplication::sendEvent(editor, &forwarded);
    return true;
}

void CKQ_517View::showHelpForFocus(QWidget* focus)
{
    // The context number is the control id of the focused window (1000 for
    // the grid, the editor's own id for an editor).
    int context = 0;
    for (QWidget* w = focus; w && !context; w = w->parentWidget()) {
        context = LanguageModule::controlId(w);
        if (w == this)
            break;
    }
    if (context)
        HelpLauncher::showContext(context);
}

bool CKQ_517View::OnCommand(int id)
{
    switch (id) {
    case ID_PROGRAM_READ: OnProgramRead(); return true;
    case ID_PROGRAM_WRITE: OnProgramWrite(); return true;
    case ID_SETUP_COM: OnSetupCom(); return true;
    case ID_SETUP_OPTIONS: OnSetupOptions(); return true;
    case ID_PROGRAM_WRITE_SEVERAL: OnProgramWriteSeveral(); return true;
    case ID_LANGUAGE: OnLanguage(); return true;
    case ID_EDIT_UNDO: OnEditUndo(); return true;
    case ID_EDIT_REDO: OnEditRedo(); return true;
    case ID_FILE_PRINT: OnFilePrint(); return true;
    case ID_FILE_PRINT_DIRECT: OnFilePrintDirect(); return true;
    case ID_FILE_PRINT_PREVIEW: OnFilePrintPreview(); return true;
    default: return false;
    }
}

void CKQ_517View::OnLanguage()
{
    if (!m_dlgLanguage)
        m_dlgLanguage = new CLanguageDlg(this);
    m_dlgLanguage->DoModal();
}
