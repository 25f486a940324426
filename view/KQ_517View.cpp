#include "view/KQ_517View.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFontMetricsF>
#include <QIcon>
#include <QItemSelectionModel>
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
#include "settings/ui/HelpLauncher.h"
#include "codeplug/KQ_517Doc.h"
#include "settings/ui/LanguageDlg.h"
#include "settings/ui/LanguageModule.h"
#include "texts/CellTexts.h"
#include "view/ChannelGridModel.h"
#include "view/MSFlexGrid.h"
#include "settings/ModelBandSettings.h"

namespace {

constexpr int kFormId = 101;
constexpr int kGridId = 1000;
constexpr int kTitleId = 1014;
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
        need(c, texts::shownWords().header(c));
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
    for (int c = 0; c < int(grid->GetCols()); ++c) {
        grid->setColumnWidth(c, px);
        content.rwidth() += setUpPixels(grid, px, c);
    }
    for (int r = 0; r < int(grid->GetRows()); ++r)
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
    m_grid->setDocument(m_pDocument);
    // A move away from the current cell stores its open editor first; a
    // refused value keeps the cell.
    m_grid->setLeaveCheck([this] { return CommitEditor(); });
    m_grid->setGeometry(gridArea ? gridArea->geometry() : kFallbackGrid);
    delete gridArea;  // the form's placeholder for the grid
    fitFormToGrid(m_grid, m_form, m_staticTitle);

    setWidget(m_form);
    setWidgetResizable(false);  // a window smaller than the form scrolls it
    // The document window hands its keyboard focus to the grid, so that
    // typing goes into the table as soon as the window is active.
    setFocusProxy(m_grid);

    connect(m_grid, &CMSFlexGrid::LeaveCell, this, &CKQ_517View::CommitEditor);
    connect(m_grid, &CMSFlexGrid::EnterCell, this, [this] { OpenEditor(false); });
    // A click opens the cell for the user: its list then takes Up and Down.
    connect(m_grid, &CMSFlexGrid::MouseDown, this, [this] { OpenEditor(true); });
    if (m_pDocument) {
        connect(m_pDocument, &CKQ_517Doc::channelsChanged, this, &CKQ_517View::onChannelsChanged);
        connect(m_pDocument, &CKQ_517Doc::modelBandChanged, this, &CKQ_517View::updateModelBand);
    }
    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CKQ_517View::selectionChanged);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CKQ_517View::selectionChanged);
    connect(m_grid, &CMSFlexGrid::RowsSelected, this, [this] { CommitEditor(); });

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
    // The history goes first and silently: as a child it would go after this
    // view is gone, and its last signals would reach the view's handler and
    // the frame's command states for a view that no longer exists.
    m_undoStack->blockSignals(true);
    delete m_undoStack;
    m_undoStack = nullptr;
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

void CKQ_517View::OnInitialUpdate()
{
    shrinkFrameToForm();

    if (m_bFirstUpdate) {
        m_toneTable.build(texts::shownWords().none);
        m_grid->gridModel()->setWords(texts::shownWords());
        m_grid->SetFixedCellTextColour(kFixedCellTextColour);
        createEditors();
        for (int c = 0; c < ChannelTable::kCols; ++c)
            m_grid->SetTextMatrix(0, c, texts::shownWords().header(c));
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
    UserStore store = UserStore::fromSettings();
    modelband::exchange(m_pDocument->image(), g_bNewDocument, store, &g_settings);
    updateModelBand();
}

void CKQ_517View::updateModelBand()
{
    if (!m_pDocument)
        return;
    const MemoryImage& image = m_pDocument->image();
    int modelIndex = image.at(layout::kModelIndex);
    int bandIndex = image.at(layout::kBandIndex);
    if (!modelband::isListed(g_settings, modelIndex, bandIndex)) {
        // A model or band the settings do not list has no title and no band:
        // the last valid ones stay in force (the check before a write names
        // the byte).
        const UserStore store = UserStore::fromSettings();
        modelIndex = int(store.read(QStringLiteral("Type"), 0u) & 0xFF);
        bandIndex = int(store.read(QStringLiteral("Field"), 0u) & 0xFF);
    }
    const QString model = modelband::modelName(g_settings, modelIndex);
    const QString band = modelband::bandText(modelband::bandList(g_settings, modelIndex), bandIndex);
    g_strMainTitle = texts::mainTitle(g_settings.GetText(g_strLanguage.toUtf8(), "AppName"), model, band);
    emit mainTitleChanged(g_strMainTitle);

    const modelband::BandLimits limits = modelband::bandLimits(band);
    m_nBandLow = limits.low;
    m_nBandHigh = limits.high;
}

ChannelTable CKQ_517View::channelTable() const
{
    ChannelTable table(texts::cellWords());
    if (m_pDocument)
        table.decode(m_pDocument->image());
    return table;
}

ChannelViewState CKQ_517View::captureState() const
{
    return {m_pDocument ? m_pDocument->image() : MemoryImage()};
}

void CKQ_517View::recordChange(const QString& text, const ChannelViewState& before)
{
    ChannelViewState after = captureState();
    if (after == before || !m_pDocument)
        return;
    m_undoStack->push(new DocumentChangeCommand(m_pDocument, text, before, std::move(after)));
}

bool CKQ_517View::OnEditUndo()
{
    if (!CommitEditor())
        return false;
    m_undoStack->undo();
    return true;
}

bool CKQ_517View::OnEditRedo()
{
    if (!CommitEditor())
        return false;
    m_undoStack->redo();
    return true;
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
    // Printing shows the channels as the user sees them: a value still in an
    // editor goes in first, and a refused one prints nothing.
    case ID_FILE_PRINT: if (CommitEditor()) OnFilePrint(); return true;
    case ID_FILE_PRINT_DIRECT: if (CommitEditor()) OnFilePrintDirect(); return true;
    case ID_FILE_PRINT_PREVIEW: if (CommitEditor()) OnFilePrintPreview(); return true;
    default: return OnPlanCommand(id);
    }
}

void CKQ_517View::OnLanguage()
{
    if (!m_dlgLanguage)
        m_dlgLanguage = new CLanguageDlg(this);
    m_dlgLanguage->DoModal();
}
