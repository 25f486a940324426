// CKQ_517View's channel-plan commands: import and export of channel plans,
// comparing the document with a file, the clipboard (rows as tab-separated
// text, the grid's column order) and inserting, deleting and moving rows.

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>

#include <cstring>

#include "codeplug/ImageDiff.h"
#include "codeplug/KQ_517Doc.h"
#include "codeplug/ImageLayout.h"
#include "codeplug/AtomicFile.h"
#include "settings/Globals.h"
#include "settings/ui/AppMessage.h"
#include "settings/ui/LanguageModule.h"
#include "texts/ImageFileTexts.h"
#include "texts/CellTexts.h"
#include "texts/DiffLines.h"
#include "view/CompareDlg.h"
#include "view/KQ_517View.h"
#include "view/MSFlexGrid.h"
#include "view/PlanFileDialog.h"
#include "view/PlanTexts.h"

namespace {

constexpr int kCaptionId = 61458;
constexpr int kLastChannel = layout::kChannelCount;

// The rows as they are: from[r] = r.
QList<int> identity()
{
    QList<int> from;
    for (int r = 0; r <= kLastChannel; ++r)
        from << r;
    return from;
}

}  // namespace

bool CKQ_517View::isPlanCommand(int id) { return id >= ID_FILE_IMPORT_CHANNELS && id <= ID_EDIT_MOVE_DOWN; }

bool CKQ_517View::canRunPlanCommand(int id) const
{
    const QList<int> rows = m_grid->selectedRows();
    switch (id) {
    case ID_EDIT_MOVE_UP:
        return !rows.isEmpty() && rows.first() > 1;
    case ID_EDIT_MOVE_DOWN:
        return !rows.isEmpty() && rows.last() < kLastChannel;
    case ID_EDIT_PASTE_ROWS:
        return !QApplication::clipboard()->text().isEmpty();
    default:
        return isPlanCommand(id);
    }
}

bool CKQ_517View::OnPlanCommand(int id)
{
    if (!isPlanCommand(id))
        return false;
    // A read fills the image while it runs: nothing may change it meanwhile.
    if (m_bTransferRunning || !m_pDocument)
        return true;
    // Every one of them uses the channels as the user sees them: a value
    // still in an editor goes in first, and a refused one stops the command.
    if (!CommitEditor())
        return true;
    switch (id) {
    case ID_FILE_IMPORT_CHANNELS: {
        const planfiledialog::Choice choice =
            planfiledialog::ask(this, planfiledialog::Purpose::ImportPlan, plantext::importTitle(),
                                {plantext::csvFilter(), plantext::chirpFilter()});
        if (!choice.path.isEmpty())
            importChannels(choice.path);
        break;
    }
    case ID_FILE_EXPORT_CHANNELS: {
        const planfiledialog::Choice choice =
            planfiledialog::ask(this, planfiledialog::Purpose::ExportPlan, plantext::exportTitle(),
                                {plantext::csvFilter(), plantext::chirpFilter()});
        if (!choice.path.isEmpty())
            exportChannels(choice.path, choice.filter == 1);
        break;
    }
    case ID_FILE_COMPARE_WITH: {
        const planfiledialog::Choice choice = planfiledialog::ask(
            this, planfiledialog::Purpose::CompareImage, plantext::compareTitle(), {plantext::datFilter()});
        if (!choice.path.isEmpty())
            compareWith(choice.path);
        break;
    }
    case ID_EDIT_CUT_ROWS: OnEditCut(); break;
    case ID_EDIT_COPY_ROWS: OnEditCopy(); break;
    case ID_EDIT_PASTE_ROWS: OnEditPaste(); break;
    case ID_EDIT_DELETE_ROWS: OnEditDelete(); break;
    case ID_EDIT_INSERT_ROW: OnInsertRow(); break;
    case ID_EDIT_DELETE_ROW: OnDeleteRow(); break;
    case ID_EDIT_MOVE_UP: OnMoveUp(); break;
    case ID_EDIT_MOVE_DOWN: OnMoveDown(); break;
    default: break;
    }
    return true;
}

modelband::BandLimits CKQ_517View::bandLimits() const { return {m_nBandLow, m_nBandHigh}; }

void CKQ_517View::showPlanMessage(const QString& text, bool refusal)
{
    longMessageBox(this, LanguageModule::string(kCaptionId), text, refusal ? QMessageBox::Warning : QMessageBox::Information);
}

void CKQ_517View::applyPlanRows(const QList<channelplan::PlanRow>& rows, const QString& step)
{
    // The same path as the command line's import: what the rows make of
    // each channel is decided once, in the core.
    const ChannelViewState before = captureState();
    MemoryImage image = before.image;
    channelplan::applyToImage(rows, image, bandLimits(), texts::cellWords());
    m_pDocument->setImage(image);
    recordChange(step, before);
}

// ---------------------------------------------------------------- files

bool CKQ_517View::importChannels(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showPlanMessage(plantext::readFailed(path, file.errorString()));
        return false;
    }
    const QByteArray bytes = file.read(channelplan::kLargestPlanBytes + 1);
    if (bytes.size() > channelplan::kLargestPlanBytes) {
        showPlanMessage(plantext::tooLarge(path));
        return false;
    }
    const modelband::BandLimits limits = bandLimits();
    if (limits.low == 0 && limits.high == 0) {
        // Without a band no frequency could pass: say why instead of refusing every row.
        showPlanMessage(plantext::noBand());
        return false;
    }
    const channelplan::ParseResult plan = channelplan::parseFile(bytes, limits, texts::cellWords());
    if (!plan.ok()) {
        showPlanMessage(plantext::importRefused(path, plantext::errorList(plan.errors, limits)));
        return false;
    }
    applyPlanRows(plan.rows, plantext::importStep());
    if (!plan.warnings.isEmpty())
        showPlanMessage(plantext::importSkipped(path, plantext::errorList(plan.warnings, limits)), false);
    return true;
}

bool CKQ_517View::exportChannels(const QString& path, bool chirp)
{
    const MemoryImage& image = m_pDocument->image();
    QList<channelplan::LeftOut> leftOut;
    const QByteArray bytes = chirp ? channelplan::writeChirpCsv(image, &leftOut) : channelplan::writeCsv(image);
    QString reason;
    if (!writeFileAtomically(path, bytes, &reason)) {
        showPlanMessage(plantext::exportFailed(path, reason));
        return false;
    }
    if (!leftOut.isEmpty()) {
        showPlanMessage(plantext::exportIncomplete(path, plantext::leftOutList(leftOut)));
        return false;
    }
    return true;
}

void CKQ_517View::compareWith(const QString& path)
{
    MemoryImage other;
    ImageFileProblem problem;
    if (!other.loadFile(path, &problem)) {
        showPlanMessage(plantext::readFailed(path, texts::imageFileProblem(problem)));
        return;
    }
    const QList<imagediff::DiffLine> lines = imagediff::diff(m_pDocument->image(), other);
    if (lines.isEmpty()) {
        showPlanMessage(plantext::compareAgree(path), false);
        return;
    }
    const QStringList shown = texts::diffLines(lines, m_pDocument->image(), other);
    CCompareDlg dialog(plantext::compareTitle(), plantext::compareHeading(path, int(lines.size())), shown,
                       this);
    dialog.exec();
}

// ---------------------------------------------------------------- clipboard

void CKQ_517View::OnEditCopy()
{
    QApplication::clipboard()->setText(channelplan::writeTabSeparated(channelTable(), m_grid->selectedRows()));
}

void CKQ_517View::OnEditCut()
{
    OnEditCopy();
    clearSelectedRows(plantext::cutStep());
}

bool CKQ_517View::OnEditPaste()
{
    const modelband::BandLimits limits = bandLimits();
    const QString text = QApplication::clipboard()->text();
    if (text.trimmed().isEmpty()) {
        showPlanMessage(plantext::clipboardEmpty());
        return false;
    }
    channelplan::ParseResult plan = channelplan::parseTabSeparated(text, limits, texts::cellWords());
    if (!plan.ok()) {
        showPlanMessage(plantext::pasteRefused(plantext::errorList(plan.errors, limits)));
        return false;
    }
    const int first = m_grid->selectedRows().value(0, 1);
    if (!channelplan::placeFrom(plan.rows, first)) {
        showPlanMessage(plantext::pastePastEnd(int(plan.rows.size()), first));
        return false;
    }
    applyPlanRows(plan.rows, plantext::pasteStep());
    return true;
}

void CKQ_517View::OnEditDelete() { clearSelectedRows(plantext::deleteStep()); }

void CKQ_517View::clearSelectedRows(const QString& step)
{
    // An empty receive frequency empties the channel, as clearing the cell does.
    QList<channelplan::PlanRow> rows;
    for (const int r : m_grid->selectedRows())
        rows << channelplan::PlanRow{r, {}, {}, {}, {}, {}, 0};
    applyPlanRows(rows, step);
}

// ---------------------------------------------------------------- rows

void CKQ_517View::rearrangeChannels(const QList<int>& from, const QString& step)
{
    const ChannelViewState before = captureState();
    MemoryImage image = before.image;
    // A new channel is a new document's blank record for its row: no byte of
    // a neighbouring channel comes along with it.
    const MemoryImage blank = MemoryImage::newImage();
    for (int r = 1; r <= kLastChannel; ++r) {
        const int source = from.at(r);
        if (source == r)
            continue;
        // The whole record travels with its row, so bytes the grid does not
        // show stay with their channel.
        const std::uint8_t* record = source > 0 ? before.image.channel(source) : blank.channel(r);
        std::memcpy(image.channel(r), record, layout::kRowSize);
    }
    m_pDocument->setImage(image);
    recordChange(step, before);
}

void CKQ_517View::moveCurrentQuietly(int row, int col)
{
    const bool blocked = m_grid->blockSignals(true);
    m_grid->SetRowCol(row, col);
    m_grid->blockSignals(blocked);
}

bool CKQ_517View::OnInsertRow()
{
    const int at = m_grid->selectedRows().value(0, 1);
    if (m_pDocument->channel(kLastChannel).hasRx()) {
        showPlanMessage(plantext::insertRefused());
        return false;
    }
    QList<int> from = identity();
    from[at] = 0;
    for (int r = at + 1; r <= kLastChannel; ++r)
        from[r] = r - 1;
    rearrangeChannels(from, plantext::insertRowStep());
    return true;
}

void CKQ_517View::OnDeleteRow()
{
    const QList<int> rows = m_grid->selectedRows();
    if (rows.isEmpty())
        return;
    const int first = rows.first();
    const int count = int(rows.size());
    QList<int> from = identity();
    for (int r = first; r <= kLastChannel; ++r)
        from[r] = r + count <= kLastChannel ? r + count : 0;
    rearrangeChannels(from, plantext::deleteRowStep());
    moveCurrentQuietly(first, int(m_grid->GetCol()));
}

void CKQ_517View::OnMoveUp()
{
    const QList<int> rows = m_grid->selectedRows();
    if (rows.isEmpty() || rows.first() <= 1)
        return;
    const int first = rows.first();
    const int last = rows.last();
    // The row above the block goes below it.
    QList<int> from = identity();
    for (int r = first - 1; r < last; ++r)
        from[r] = r + 1;
    from[last] = first - 1;
    const bool selected = m_grid->hasRowSelection();
    rearrangeChannels(from, plantext::moveUpStep());
    // The current cell and the selection go with the rows moved.
    moveCurrentQuietly(first - 1, int(m_grid->GetCol()));
    if (selected)
        m_grid->selectRows(first - 1, last - 1);
}

void CKQ_517View::OnMoveDown()
{
    const QList<int> rows = m_grid->selectedRows();
    if (rows.isEmpty() || rows.last() >= kLastChannel)
        return;
    const int first = rows.first();
    const int last = rows.last();
    // The row below the block goes above it.
    QList<int> from = identity();
    for (int r = first + 1; r <= last + 1; ++r)
        from[r] = r - 1;
    from[first] = last + 1;
    const bool selected = m_grid->hasRowSelection();
    rearrangeChannels(from, plantext::moveDownStep());
    moveCurrentQuietly(first + 1, int(m_grid->GetCol()));
    if (selected)
        m_grid->selectRows(first + 1, last + 1);
}

// ---------------------------------------------------------------- keys

bool CKQ_517View::handlePlanKey(QWidget* focus, QKeyEvent* key)
{
    QWidget* editor = EditorForColumn();
    const bool inEditor = editor && focus == editor && !editor->isHidden();
    const int k = key->key();
    if ((k == Qt::Key_Tab || k == Qt::Key_Backtab) && (focus == m_grid || inEditor) &&
        !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        // Store the open editor first; a rejected value keeps the cell.
        if (inEditor && !CommitEditor())
            return true;
        const bool back = k == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
        int row = int(m_grid->GetRow());
        int col = int(m_grid->GetCol()) + (back ? -1 : 1);
        if (col > ChannelTable::ColBusy) {
            col = ChannelTable::ColRx;
            row = row >= kLastChannel ? 1 : row + 1;
        } else if (col < ChannelTable::ColRx) {
            col = ChannelTable::ColBusy;
            row = row <= 1 ? kLastChannel : row - 1;
        }
        m_grid->SetRowCol(row, col);
        key->accept();
        return true;
    }
    if (focus != m_grid)
        return false;
    if (key->matches(QKeySequence::Copy))
        OnPlanCommand(ID_EDIT_COPY_ROWS);
    else if (key->matches(QKeySequence::Cut))
        OnPlanCommand(ID_EDIT_CUT_ROWS);
    else if (key->matches(QKeySequence::Paste))
        OnPlanCommand(ID_EDIT_PASTE_ROWS);
    else if (key->matches(QKeySequence::Delete))
        OnPlanCommand(ID_EDIT_DELETE_ROWS);
    else
        return false;
    key->accept();
    return true;
}
