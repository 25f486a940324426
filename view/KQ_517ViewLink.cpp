// CKQ_517View, radio side: the Read and Write commands with their Process
// dialog, the transfer itself (OnRadioTransfer) and COM Setup.

#include <QApplication>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

#include "codeplug/ImageCheck.h"
#include "codeplug/ImageLayout.h"
#include "link/FieldRun.h"
#include "link/PortNames.h"
#include "link/ProtocolEngine.h"
#include "link/ui/ComSetupDlg.h"
#include "link/ui/FieldTexts.h"
#include "link/ui/ProcessDlg.h"
#include "link/ui/SeveralRadiosDlg.h"
#include "settings/FieldPreferences.h"
#include "settings/Globals.h"
#include "settings/ModelBandSettings.h"
#include "settings/UserStore.h"
#include "settings/ui/AppMessage.h"
#include "settings/ui/FieldOptionsDlg.h"
#include "settings/ui/HelpLauncher.h"
#include "codeplug/KQ_517Doc.h"
#include "settings/ui/LanguageModule.h"
#include "view/KQ_517View.h"

namespace {

// Views with a transfer under way (a transfer runs inside a pump loop, so
// another view's command can arrive meanwhile).
int g_nTransfersRunning = 0;

// Marks a view's transfer as running for the lifetime of the guard. The view
// is watched: the pump passes dispatch everything, so it must not be written
// to once gone.
class TransferRunningGuard {
public:
    TransferRunningGuard(QObject* view, bool* flag) : m_view(view), m_flag(flag)
    {
        *m_flag = true;
        ++g_nTransfersRunning;
    }
    ~TransferRunningGuard()
    {
        if (m_view)
            *m_flag = false;
        --g_nTransfersRunning;
    }
    TransferRunningGuard(const TransferRunningGuard&) = delete;
    TransferRunningGuard& operator=(const TransferRunningGuard&) = delete;

private:
    QPointer<QObject> m_view;
    bool* m_flag;
};

// The program's main window, which owns the transfer's dialogs and messages
// (none in a test that shows a view on its own).
QPointer<QWidget> g_mainWindow;
QWidget* mainWindow() { return g_mainWindow; }

// The application's standard message box for a result's string-table message:
// the exclamation icon with a plain OK, none with Retry/Cancel.
QMessageBox::StandardButton transferMessage(const QString& text, QMessageBox::StandardButtons buttons)
{
    return appMessageBox(mainWindow(), text, buttons,
                         buttons == QMessageBox::Ok ? QMessageBox::Warning : QMessageBox::NoIcon);
}

// Read and Write: the direction and caption of the next transfer, and the
// Process dialog's window when it has none yet.
void offerTransfer(CKQ_517View& view, bool write)
{
    // Refused while any transfer runs: it would change the direction of the
    // running transfer or start a second one on the same port.
    if (CKQ_517View::anyTransferRunning())
        return;
    view.m_bWrite = write;
    view.m_pProcessDlg->m_strTitle =
        texts::text(write ? texts::fieldid::kWriteDataTitle : texts::fieldid::kReadDataTitle);
    view.m_pProcessDlg->m_strPortLine =
        fieldtext::portLine(view.m_strPort.toUpper(), PortNames::device(view.m_strPort));
    if (!view.m_pProcessDlg->hasWindow())
        view.m_pProcessDlg->Create(mainWindow());
}

// Before a write: what the radio would not accept, with Write anyway / Cancel.
// True when the write may go ahead.
bool imageAccepted(QWidget* parent, const MemoryImage& image)
{
    const QList<ImageProblem> problems = checkImage(image, modelband::imageCheckLimits(image, g_settings));
    if (problems.isEmpty())
        return true;
    QMessageBox box(QMessageBox::Warning, appName(), fieldtext::imageQuestion(problems),
                    QMessageBox::Yes | QMessageBox::Cancel, parent);
    box.button(QMessageBox::Yes)->setText(texts::text(texts::fieldid::kWriteAnyway));
    box.button(QMessageBox::Cancel)->setText(texts::text(fieldtext::kCancel));
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace

bool CKQ_517View::anyTransferRunning() { return g_nTransfersRunning > 0; }

void CKQ_517View::setMainWindow(QWidget* window) { g_mainWindow = window; }

void CKQ_517View::createLinkDialogs()
{
    m_pProcessDlg = new CProcessDlg(this, this);
    m_dlgComSetup = new CComSetupDlg(&m_strPort, this);
}

void CKQ_517View::OnProgramRead()
{
    offerTransfer(*this, false);
}

void CKQ_517View::OnProgramWrite()
{
    // A refused value in an editor stops the write before it is offered.
    if (!CommitEditor())
        return;
    offerTransfer(*this, true);
}

void CKQ_517View::OnSetupCom()
{
    // The probe would find the transfer's own port busy, and a new choice
    // would not reach the running transfer anyway.
    if (anyTransferRunning())
        return;
    m_dlgComSetup->DoModal(mainWindow() ? mainWindow() : window());
}

void CKQ_517View::OnSetupOptions()
{
    UserStore store = UserStore::fromSettings();
    FieldPreferences prefs = FieldPreferences::load(store);
    CFieldOptionsDlg dialog(prefs, mainWindow() ? mainWindow() : window());
    connect(&dialog, &CFieldOptionsDlg::helpRequested, &dialog, [] { HelpLauncher::showContext(ID_SETUP_OPTIONS); });
    if (dialog.exec() == QDialog::Accepted)
        prefs.save(store);
}

void CKQ_517View::OnProgramWriteSeveral()
{
    // The document holds every edit; a value still in an editor goes in first,
    // and a refused one stops the write.
    if (anyTransferRunning() || !GetDocument() || !CommitEditor())
        return;
    const MemoryImage image = GetDocument()->image();
    QWidget* owner = mainWindow() ? mainWindow() : window();
    if (!imageAccepted(owner, image))
        return;
    TransferRunningGuard running(this, &m_bTransferRunning);
    const QString msgCommunication =
        LanguageModule::string(ProtocolEngine::messageId(TransferResult::CommunicationError));
    CSeveralRadiosDlg dialog(image, m_strPort,
                             fieldtext::portLine(m_strPort.toUpper(), PortNames::device(m_strPort)),
                             FieldPreferences::load(UserStore::fromSettings()), owner);
    dialog.setRetry([msgCommunication] {
        return transferMessage(msgCommunication, QMessageBox::Retry | QMessageBox::Cancel) == QMessageBox::Retry;
    });
    connect(&dialog, &CSeveralRadiosDlg::helpRequested, &dialog,
            [] { HelpLauncher::showContext(ID_PROGRAM_WRITE_SEVERAL); });
    dialog.exec();
}

void CKQ_517View::OnRadioTransfer()
{
    // Only as the answer to the Process dialog's OK, once.
    if (m_bTransferRunning || !m_pProcessDlg->hasWindow())
        return;
    // Another view's transfer is running and its pump passes delivered this
    // OK: a transfer started here would run nested inside that one and stall
    // it. The offer stands for when that transfer has ended.
    if (anyTransferRunning()) {
        m_pProcessDlg->RefuseStart();
        return;
    }

    const QString msgInterrupt =
        LanguageModule::string(ProtocolEngine::messageId(TransferResult::BlockFailure));
    const QString msgPortOpen =
        LanguageModule::string(ProtocolEngine::messageId(TransferResult::PortOpenFailed));
    const QString msgCommunication =
        LanguageModule::string(ProtocolEngine::messageId(TransferResult::CommunicationError));

    TransferRunningGuard running(this, &m_bTransferRunning);
    const QPointer<CKQ_517View> self(this);
    const QPointer<CKQ_517Doc> document(GetDocument());
    CProcessDlg* dialog = m_pProcessDlg;

    // A value still in an editor goes into the document first; a refused one
    // stops the transfer before it starts.
    if (!CommitEditor()) {
        dialog->DestroyWindow();
        return;
    }
    // Commands are refused while the transfer runs, so the direction cannot
    // change under it.
    const bool write = m_bWrite;
    // A read fills a scratch copy that the document takes only when every
    // block arrived: a failed or cancelled read leaves the document as it
    // was. A write sends the image as it stood when the user pressed OK,
    // whatever is edited while it runs.
    MemoryImage transferImage = GetDocument() ? GetDocument()->image() : MemoryImage();

    if (write && !imageAccepted(mainWindow(), transferImage)) {
        dialog->DestroyWindow();
        return;
    }
    const FieldPreferences prefs = FieldPreferences::load(UserStore::fromSettings());

    // One pump pass: handle what is waiting (Cancel among it), then report
    // whether cancel was requested. A view or document that went away during
    // the pass ends the transfer like a cancel, before the image is touched again.
    const QPointer<CProcessDlg> guard(dialog);
    const ProtocolEngine::Pump pump = [guard, self, document]() {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return guard.isNull() || self.isNull() || document.isNull() || guard->m_bCancel;
    };

    FieldCallbacks callbacks;
    callbacks.pump = pump;
    callbacks.progress = [guard](FieldStep step, int row) {
        if (guard)
            guard->stepProgress(step, row);
    };
    callbacks.retry = [&msgCommunication, self, document](FieldStep, int) {
        return transferMessage(msgCommunication, QMessageBox::Retry | QMessageBox::Cancel) == QMessageBox::Retry &&
               self && document;
    };
    TraceError traceError;
    const FieldResult field = write ? FieldRun::write(m_strPort, transferImage, prefs, callbacks, &traceError)
                                    : FieldRun::read(m_strPort, transferImage, prefs, callbacks, &traceError);
    TransferResult result = field.transfer;
    if (result == TransferResult::PortOpenFailed) {
        QString text = msgPortOpen;
        if (field.openError.isError())
            text += QLatin1Char('\n') + texts::openReason(field.openError);
        transferMessage(text, QMessageBox::Ok);
        if (guard)
            guard->DestroyWindow();
        return;
    }
    // Every block went and came back, but the backup could not be saved, the
    // trace could not be opened or the verify found differences.
    if (result == TransferResult::Done && !field.succeeded()) {
        if (self)
            transferMessage(texts::fieldResult(field), QMessageBox::Ok);
        result = TransferResult::Cancelled;  // nothing more to say, nothing to take
    } else if (traceError.isError() && self) {
        transferMessage(texts::traceError(traceError), QMessageBox::Ok);
    }

    if (!self)
        return;  // the view and its dialog went away during a pump pass
    if (!document && result == TransferResult::Done)
        result = TransferResult::Cancelled;

    switch (result) {
    case TransferResult::Done:
        if (!write) {
            // Only the rows that travel come from the radio; one undo step.
            const ChannelViewState before = captureState();
            CancelEditor();
            MemoryImage image = document->image();
            const int first = layout::kFirstRadioRow * layout::kRowSize;
            std::copy(transferImage.data() + first, transferImage.data() + first + layout::kRadioByteCount,
                      image.data() + first);
            document->setImage(image);
            g_bNewDocument = false;
            decodeTable();
            recordChange(undotext::radioRead(), before);
        }
        break;
    case TransferResult::ModelMismatch: {
        // Owned by the view, OK only, no icon, with a caption of its own.
        appMessageBox(this, texts::transferMessage(TransferResult::ModelMismatch), QMessageBox::Ok,
                      QMessageBox::NoIcon, texts::modelMismatchCaption());
        break;
    }
    case TransferResult::BlockFailure:
        transferMessage(msgInterrupt, QMessageBox::Ok);
        break;
    case TransferResult::PortOpenFailed:      // handled above
    case TransferResult::CommunicationError:  // the user chose Cancel
    case TransferResult::Cancelled:
        break;
    }

    dialog->DestroyWindow();

    // A document window the user closed (hidden) comes back after a good transfer.
    if (result == TransferResult::Done) {
        for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
            if (auto* frame = qobject_cast<QMdiSubWindow*>(w)) {
                if (frame->isHidden())
                    frame->showNormal();
                break;
            }
        }
    }
}
