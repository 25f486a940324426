#pragma once
// CKQ_517View: the channel view of a document window (form 101): the title
// caption and the channel grid with its in-place editors and validation, and
// the commands that work on the document's radio (Read, Write, COM Setup),
// the Language command and printing.
//
// The class is defined across files: KQ_517View.cpp (form, table, editors,
// validation, command dispatch), KQ_517ViewLink.cpp (radio transfer and COM
// Setup), KQ_517ViewPrint.cpp (printing), ChannelPlanCommands.cpp (channel
// plans in and out, compare, the clipboard and whole-row commands).

#include <QPointer>
#include <QScrollArea>
#include <QString>

#include <cstdint>

#include "codeplug/CellValidator.h"
#include "codeplug/ChannelPlan.h"
#include "codeplug/ChannelTable.h"
#include "codeplug/ModelBand.h"
#include "codeplug/ToneTable.h"
#include "view/ChannelViewUndo.h"

class CKQ_517Doc;
class CMSFlexGrid;
class CProcessDlg;
class CComSetupDlg;
class CLanguageDlg;
class QComboBox;
class QLabel;
class QKeyEvent;
class QLineEdit;
class QPainter;
class QPrinter;
class QUndoStack;

class CKQ_517View : public QScrollArea, public ChannelBandLimits {
    Q_OBJECT
public:
    // Command ids the view handles.
    enum : int {
        ID_PROGRAM_READ = 32773,
        ID_PROGRAM_WRITE = 32774,
        ID_SETUP_COM = 32777,
        ID_LANGUAGE = 32799,
        ID_PROGRAM_WRITE_SEVERAL = 32822,
        ID_SETUP_OPTIONS = 32823,
        ID_EDIT_UNDO = 57643,
        ID_EDIT_REDO = 57644,
        ID_FILE_PRINT = 57607,
        ID_FILE_PRINT_DIRECT = 57608,
        ID_FILE_PRINT_PREVIEW = 57609,
    };

    explicit CKQ_517View(CKQ_517Doc* document, QWidget* parent = nullptr);
    ~CKQ_517View() override;

    CKQ_517Doc* GetDocument() const { return m_pDocument; }
    CMSFlexGrid* grid() const { return m_grid; }
    QLabel* staticTitle() const { return m_staticTitle; }

    // First update: builds the grid set-up and editors once, sets the frame
    // icon, then shows the document's channels.
    void OnInitialUpdate();
    // After the image was filled (first update, a complete read): the model
    // and band exchange with the per-user store, main title and band limits.
    void decodeTable();
    // The main title and band limits from the image's model and band bytes
    // (the store's last valid ones when the image's are not listed).
    void updateModelBand();
    // The document's channels as the table shows them, in the interface's
    // language (what printing and the clipboard read).
    ChannelTable channelTable() const;

    // Validates and stores the open editor's text into the document, then
    // hides the editor. A refused value changes nothing: its message is
    // shown and the editor stays open on its cell with the text as typed.
    // True when nothing was open or the value was taken; every command that
    // uses the channels calls this first and stops on false.
    bool CommitEditor();
    // Opens the current cell's editor; engaged: the user asked for it (a
    // click, F2, typing), so a list takes Up and Down.
    void OpenEditor(bool engaged = false);
    // The keyboard focus to the open editor, else to the grid.
    void focusGrid();
    // The editor of the current column (Rx for any column other than 2 to 5);
    // nullptr before the first update has built the editors.
    QWidget* EditorForColumn() const;
    // Lays editor over the current cell, focuses and shows it.
    void PlaceEditor(QWidget* editor);

    // Undo history of the document: its clean state is the document's
    // unmodified state.
    QUndoStack* undoStack() const { return m_undoStack; }
    ChannelViewState captureState() const;
    // Records the change made to the document since before (nothing when
    // there was none) as one undo step, marking the document modified.
    void recordChange(const QString& text, const ChannelViewState& before);
    // The open editor is stored first, so the step undone is the one the
    // user sees.
    bool OnEditUndo();
    bool OnEditRedo();
    // Hides the open editor without storing its text.
    void CancelEditor();

    // Routes a command id; false when the view does not handle it.
    bool OnCommand(int id);
    bool isTransferRunning() const { return m_bTransferRunning; }
    // True while any view runs a radio transfer (commands that would start a
    // second one or close a view, document or the program are refused).
    static bool anyTransferRunning();
    // The program's main window: the owner of the transfer's dialogs and
    // message boxes. The main window names itself when it is made.
    static void setMainWindow(QWidget* window);

    // Band limits (m_nBandLow, m_nBandHigh of ChannelBandLimits), set by
    // every decode and by Product Information.
    bool m_bFirstUpdate = true;

    // Radio side (KQ_517ViewLink.cpp).
    bool m_bWrite = false;
    QString m_strPort = QStringLiteral("COM1");
    CProcessDlg* m_pProcessDlg = nullptr;   // created with the view, a child of it
    CComSetupDlg* m_dlgComSetup = nullptr;  // created with the view, a child of it
    void OnProgramRead();
    void OnProgramWrite();
    void OnSetupCom();
    void OnSetupOptions();
    void OnProgramWriteSeveral();
    void createLinkDialogs();  // called by the constructor

    // Printing (KQ_517ViewPrint.cpp): page bounds and channel count of the
    // last pagination.
    int m_nPageBound[5] = {0, 0, 0, 16, 16};
    std::int32_t m_nChannelCount = 0;
    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();
    // Says that a print job could not be started or finished.
    void showPrintFailure();
    // Paginates the table into m_nPageBound and m_nChannelCount; the page count.
    int OnPreparePrinting();
    // Prints pages fromPage..toPage (0: all) of pageCount on printer, without a dialog.
    bool printDocument(QPrinter& printer, int pageCount, int fromPage = 0, int toPage = 0);

    void OnLanguage();

    // Channel plans, the clipboard and whole rows (ChannelPlanCommands.cpp).
    enum : int {
        ID_FILE_IMPORT_CHANNELS = 32810,
        ID_FILE_EXPORT_CHANNELS = 32811,
        ID_FILE_COMPARE_WITH = 32812,
        ID_EDIT_CUT_ROWS = 32813,
        ID_EDIT_COPY_ROWS = 32814,
        ID_EDIT_PASTE_ROWS = 32815,
        ID_EDIT_DELETE_ROWS = 32816,
        ID_EDIT_INSERT_ROW = 32817,
        ID_EDIT_DELETE_ROW = 32818,
        ID_EDIT_MOVE_UP = 32819,
        ID_EDIT_MOVE_DOWN = 32820,
    };
    static bool isPlanCommand(int id);
    bool OnPlanCommand(int id);
    // False when the command cannot act now (Move Up on the first channel,
    // Move Down on the last, Paste with no text on the clipboard).
    bool canRunPlanCommand(int id) const;
    // Each change is one undo step; a refused one changes nothing and says why.
    bool importChannels(const QString& path);
    bool exportChannels(const QString& path, bool chirp);
    void compareWith(const QString& path);
    void OnEditCopy();
    void OnEditCut();
    bool OnEditPaste();
    void OnEditDelete();
    bool OnInsertRow();
    void OnDeleteRow();
    void OnMoveUp();
    void OnMoveDown();

signals:
    // A decode or a restored product choice made a new main window title
    // (g_strMainTitle); the main window shows it.
    void mainTitleChanged(const QString& title);
    // The selected rows changed: the commands that work on them may change state.
    void selectionChanged();

public slots:
    // The transfer request the Process dialog posts (queued) when OK is pressed.
    void OnRadioTransfer();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CKQ_517Doc* m_pDocument;
    QWidget* m_form = nullptr;
    QLabel* m_staticTitle = nullptr;
    CMSFlexGrid* m_grid = nullptr;
    // Editing helpers (KQ_517View.cpp).
    void createEditors();
    // Validates and stores the editor's text into the current row's channel
    // and hides the editor; a refused value shows its message and keeps the
    // editor open. Returns the message id (0 when the value was accepted).
    int storeEditor(QWidget* editor);
    // The document changed under an open editor (undo, a read): drop it.
    void onChannelsChanged();
    // Enter: store the open editor, then move on (not after a rejected value).
    void onEnterKey();
    void showCaution(int messageId);
    // F1: help on the control id of the focused window.
    void showHelpForFocus(QWidget* focus);
    // The document window the view lives in (the MDI child, or the top-level
    // window when the view is not in a workspace).
    QWidget* frameWindow() const;
    void shrinkFrameToForm();

    // Keys that open, cancel or stay inside an in-place editor; true when
    // the key was used.
    bool handleEditingKey(QWidget* focus, QKeyEvent* key);
    // The keys of an open editor: Escape, F2, and the navigation keys, which
    // move the current cell unless the user is typing (caret keys) or has
    // opened the list (Up and Down).
    bool handleKeyInEditor(QWidget* editor, QKeyEvent* key);
    // Tab, Shift+Tab and the clipboard keys of the grid; true when used.
    bool handlePlanKey(QWidget* focus, QKeyEvent* key);
    // The band the document's model and band allow, in the plan's units.
    modelband::BandLimits bandLimits() const;
    void showPlanMessage(const QString& text, bool refusal = true);
    // Puts the rows into the document as one undo step named step.
    void applyPlanRows(const QList<channelplan::PlanRow>& rows, const QString& step);
    // Rearranges channels as one undo step: row r takes the channel record
    // of row from[r] (0: a new document's blank record).
    void rearrangeChannels(const QList<int>& from, const QString& step);
    // Empties the selected rows' channels as one step.
    void clearSelectedRows(const QString& step);
    // Moves the current cell without opening its editor.
    void moveCurrentQuietly(int row, int col);

    QUndoStack* m_undoStack = nullptr;
    ToneTable m_toneTable;
    CLanguageDlg* m_dlgLanguage = nullptr;  // made at the first Language command
    QLineEdit* m_editRx = nullptr;       // 2127
    QLineEdit* m_editTx = nullptr;       // 2128
    QComboBox* m_comboBusy = nullptr;    // 1130
    QComboBox* m_comboDecode = nullptr;  // 2132
    QComboBox* m_comboEncode = nullptr;  // 2133
    // The open editor was asked for by the user (a click, F2, typing), not
    // only opened by arriving in its cell: only then is its text stored, and
    // only then does a list take Up and Down.
    bool m_bEditorEngaged = false;
    // The entry an open list showed when it opened, and whether the user
    // has chosen an entry since (the list, the keys, the wheel). A list left
    // on the entry it opened on, unchosen, keeps the cell's value: for a
    // tone the list does not hold it shows entry 0, which is not the cell's.
    int m_nListOpenIndex = -1;
    bool m_bListChosen = false;
    // The text an open edit box was given from its cell: left with that text
    // (a click in and out) it stores nothing, so an empty receive frequency
    // beside a transmit one does not empty the channel.
    QString m_strEditOpenText;
    bool m_bTransferRunning = false;
    // F1's help was given at the shortcut check of the key now down.
    bool m_bHelpGiven = false;

    friend class ViewTestAccess;  // tests
};
