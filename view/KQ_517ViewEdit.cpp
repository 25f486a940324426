// CKQ_517View, editing side: the five in-place editors over the grid's
// cells, storing and validating what is typed, the keys of the grid and the
// editors (Enter's walk, Escape, F2, typing into a cell), and F1's help on
// the focused control.

#include "view/KQ_517View.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>

#include <utility>

#include "codeplug/Channel.h"
#include "codeplug/Codecs.h"
#include "codeplug/KQ_517Doc.h"
#include "settings/Globals.h"
#include "settings/ui/HelpLauncher.h"
#include "settings/ui/LanguageModule.h"
#include "texts/CellTexts.h"
#include "view/MSFlexGrid.h"

namespace {

constexpr int kEditRxId = 2127;
constexpr int kEditTxId = 2128;
constexpr int kComboBusyId = 1130;
constexpr int kComboDecodeId = 2132;
constexpr int kComboEncodeId = 2133;
constexpr int kCaptionId = 61458;
constexpr int kTwipsPerInch = 1440;

}  // namespace

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
    // Typing into an edit box is what makes its text a value to store.
    for (QLineEdit* edit : {m_editRx, m_editTx})
        connect(edit, &QLineEdit::textEdited, this, [this] { m_bEditorEngaged = true; });
    const WordSet words = texts::shownWords();
    m_comboBusy = makeList(kComboBusyId, {words.on, words.off}, false);
    m_comboDecode = makeList(kComboDecodeId, m_toneTable.texts(), true);
    m_comboEncode = makeList(kComboEncodeId, m_toneTable.texts(), true);
    for (QComboBox* combo : {m_comboBusy, m_comboDecode, m_comboEncode})
        connect(combo, &QComboBox::activated, this, [this] { m_bListChosen = true; });
}

void CKQ_517View::CancelEditor()
{
    QWidget* editor = EditorForColumn();
    m_bEditorEngaged = false;
    if (!editor || editor->isHidden())
        return;
    const bool hadFocus = editor->hasFocus();
    editor->hide();
    if (hadFocus)
        m_grid->setFocus();
}

void CKQ_517View::focusGrid()
{
    QWidget* editor = EditorForColumn();
    if (editor && !editor->isHidden())
        editor->setFocus();
    else
        m_grid->setFocus();
}

void CKQ_517View::onChannelsChanged()
{
    // An editor only opened by arriving in its cell shows the old text: it
    // goes. One the user is typing into keeps what was typed.
    if (!m_bEditorEngaged)
        CancelEditor();
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

void CKQ_517View::OpenEditor(bool engaged)
{
    QWidget* editor = EditorForColumn();
    if (!editor)
        return;  // before the first update
    m_bEditorEngaged = engaged;
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
        m_nListOpenIndex = index;
        m_bListChosen = false;
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
        m_strEditOpenText = m_grid->GetText();
        edit->setText(m_strEditOpenText);
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

int CKQ_517View::storeEditor(QWidget* editor)
{
    const int row = int(m_grid->GetRow());
    const int col = int(m_grid->GetCol());
    QString text;
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        text = combo->currentText();
    else if (auto* edit = qobject_cast<QLineEdit*>(editor))
        text = edit->text();

    if (m_pDocument && row >= 1 && row < ChannelTable::kRows) {
        Channel channel = m_pDocument->channel(row);
        const CellValidator validator(m_nBandLow, m_nBandHigh, texts::cellWords());
        const int message = validator.store(channel, col, text);
        if (message != CellValidator::NoMessage) {
            // Nothing changes: the editor stays on its cell with the text as
            // typed, for the user to correct (or Escape to keep the old value).
            showCaution(message);
            editor->show();
            editor->setFocus();
            return message;
        }
        const bool hadFocus = editor->hasFocus();
        editor->hide();
        m_bEditorEngaged = false;
        const ChannelViewState before = captureState();
        m_pDocument->setChannel(row, channel);
        recordChange(undotext::cellEdit(), before);
        if (hadFocus)
            m_grid->setFocus();
        return CellValidator::NoMessage;
    }
    CancelEditor();
    return CellValidator::NoMessage;
}

bool CKQ_517View::CommitEditor()
{
    QWidget* editor = EditorForColumn();
    // isHidden(), not isVisible(): an editor opened in a window that is
    // hidden right now still holds the user's text.
    if (!editor || editor->isHidden())
        return true;
    // Opened by arriving and left untouched: the cell keeps its value (a
    // list would otherwise store its first entry for a text it does not hold).
    if (!m_bEditorEngaged) {
        CancelEditor();
        return true;
    }
    // A list opened by a click and left on the entry it opened on, without a
    // choice: the cell keeps its value (a tone the list does not hold, shown
    // as entry 0, is not replaced by it).
    if (auto* combo = qobject_cast<QComboBox*>(editor);
        combo && !m_bListChosen && combo->currentIndex() == m_nListOpenIndex) {
        CancelEditor();
        return true;
    }
    // An edit box left with the text it opened with: the cell keeps its value
    // (storing it again could empty a channel or refuse a value read from a
    // file or the radio).
    if (auto* edit = qobject_cast<QLineEdit*>(editor); edit && edit->text() == m_strEditOpenText) {
        CancelEditor();
        return true;
    }
    return storeEditor(editor) == CellValidator::NoMessage;
}

void CKQ_517View::onEnterKey()
{
    if (!CommitEditor())
        return;  // a rejected value: the current cell stays
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
    // A click into an open editor opens it for the user.
    if (type == QEvent::MouseButtonPress && watched == EditorForColumn())
        m_bEditorEngaged = true;
    // The wheel over a list only arrived at changes no entry (the entry it
    // showed would not be stored): the table scrolls instead.
    if (type == QEvent::Wheel && !m_bEditorEngaged && qobject_cast<QComboBox*>(watched) &&
        watched == EditorForColumn()) {
        QCoreApplication::sendEvent(m_grid->viewport(), event);
        return true;
    }
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
        if (type == QEvent::KeyPress && handlePlanKey(focus, key))
            return true;
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
    QWidget* editor = EditorForColumn();
    if (!editor)
        return false;
    const int k = key->key();
    const Qt::KeyboardModifiers mods = key->modifiers();
    if (focus == editor)
        return handleKeyInEditor(editor, key);
    if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (focus != m_grid || m_grid->GetRow() < 1 || m_grid->GetCol() < 1)
        return false;
    // The grid: F2 opens the current cell's editor; typed text opens it too
    // and goes into it, replacing the cell's value, as in a spreadsheet.
    if (k == Qt::Key_F2) {
        OpenEditor(true);
        return true;
    }
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    OpenEditor(true);
    QKeyEvent forwarded(QEvent::KeyPress, k, mods, text);
    QCoreApplication::sendEvent(editor, &forwarded);
    return true;
}

bool CKQ_517View::handleKeyInEditor(QWidget* editor, QKeyEvent* key)
{
    const bool list = qobject_cast<QComboBox*>(editor) != nullptr;
    const int k = key->key();
    const Qt::KeyboardModifiers mods = key->modifiers();
    // Alt+Down, Alt+Up and F4 open a list: from then on it takes Up and Down.
    if (list && (k == Qt::Key_F4 || ((mods & Qt::AltModifier) && (k == Qt::Key_Down || k == Qt::Key_Up)))) {
        m_bEditorEngaged = true;
        return false;
    }
    if (mods & (Qt::AltModifier | Qt::MetaModifier))
        return false;
    if ((mods & Qt::ControlModifier) && k != Qt::Key_Home && k != Qt::Key_End)
        return false;
    switch (k) {
    case Qt::Key_Escape:
        // The cell keeps the value it had.
        CancelEditor();
        return true;
    case Qt::Key_F2:
        m_bEditorEngaged = true;
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // A list the user opened changes its entry; anywhere else these move
        // the current cell (storing what was typed first).
        if (list && m_bEditorEngaged)
            return false;
        m_grid->navigate(k, mods);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
        // Inside a text being typed they move the caret; otherwise the cell.
        if (!list && m_bEditorEngaged)
            return false;
        m_grid->navigate(k, mods);
        return true;
    default:
        if (!key->text().isEmpty() && key->text().at(0).isPrint())
            m_bEditorEngaged = true;  // typed into the editor (a list's search too)
        return false;
    }
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
