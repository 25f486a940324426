#include "settings/ui/FieldOptionsDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/UserStore.h"
#include "settings/ui/SaveFileDialog.h"
#include "texts/TextTable.h"

namespace {
QString controlName(int id) { return QStringLiteral("id%1").arg(id); }

// The dialog's texts in the string table.
enum TextId : int {
    kTitle = 62020,
    kBackup = 62021,
    kBrowse = 62022,
    kVerify = 62023,
    kTrace = 62024,
    kBackupFolderHint = 62025,
    kTraceFileHint = 62026,
    kTraceNote = 62027,
    kOk = 62028,
    kCancel = 62029,
    kNoBackupFolder = 62030,
    kNoTraceFile = 62031,
    kTraceFileIsFolder = 62032,
    kNameTooLong = 62033,
};
}  // namespace

CFieldOptionsDlg::CFieldOptionsDlg(FieldPreferences& prefs, QWidget* parent) : QDialog(parent), m_prefs(prefs)
{
    using texts::text;
    setWindowTitle(text(kTitle));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    m_backup = new QCheckBox(text(kBackup), this);
    m_backupFolder = new QLineEdit(this);
    m_backupBrowse = new QPushButton(text(kBrowse), this);
    m_verify = new QCheckBox(text(kVerify), this);
    m_trace = new QCheckBox(text(kTrace), this);
    m_traceFile = new QLineEdit(this);
    m_traceBrowse = new QPushButton(text(kBrowse), this);
    m_backupFolder->setPlaceholderText(text(kBackupFolderHint));
    m_traceFile->setPlaceholderText(text(kTraceFileHint));
    m_backup->setObjectName(controlName(IDC_BACKUP));
    m_backupFolder->setObjectName(controlName(IDC_BACKUP_FOLDER));
    m_backupBrowse->setObjectName(controlName(IDC_BACKUP_BROWSE));
    m_verify->setObjectName(controlName(IDC_VERIFY));
    m_trace->setObjectName(controlName(IDC_TRACE));
    m_traceFile->setObjectName(controlName(IDC_TRACE_FILE));
    m_traceBrowse->setObjectName(controlName(IDC_TRACE_BROWSE));

    auto* grid = new QGridLayout;
    grid->addWidget(m_backup, 0, 0, 1, 2);
    grid->addWidget(m_backupFolder, 1, 0);
    grid->addWidget(m_backupBrowse, 1, 1);
    grid->addWidget(m_verify, 2, 0, 1, 2);
    grid->addWidget(m_trace, 3, 0, 1, 2);
    grid->addWidget(m_traceFile, 4, 0);
    grid->addWidget(m_traceBrowse, 4, 1);
    auto* traceNote = new QLabel(text(kTraceNote), this);
    traceNote->setObjectName(QStringLiteral("traceNote"));
    traceNote->setWordWrap(true);
    grid->addWidget(traceNote, 5, 0, 1, 2);
    grid->setColumnMinimumWidth(0, 280);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(controlName(1));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(controlName(2));
    buttons->button(QDialogButtonBox::Ok)->setText(text(kOk));
    buttons->button(QDialogButtonBox::Cancel)->setText(text(kCancel));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CFieldOptionsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    browse = [this](bool folder, const QString& current) {
        if (folder)
            return QFileDialog::getExistingDirectory(this, QString(), current);
        return savefiledialog::ask(this, QString(), current, {QStringLiteral("*.txt")}, {QStringLiteral("txt")});
    };
    connect(m_backupBrowse, &QPushButton::clicked, this, [this] {
        const QString chosen = browse(true, m_backupFolder->text());
        if (!chosen.isEmpty())
            m_backupFolder->setText(QDir::toNativeSeparators(chosen));
    });
    connect(m_traceBrowse, &QPushButton::clicked, this, [this] {
        const QString chosen = browse(false, m_traceFile->text());
        if (!chosen.isEmpty())
            m_traceFile->setText(QDir::toNativeSeparators(chosen));
    });
    connect(m_backup, &QCheckBox::toggled, this, &CFieldOptionsDlg::updateEnabled);
    connect(m_trace, &QCheckBox::toggled, this, &CFieldOptionsDlg::updateEnabled);

    m_backup->setChecked(prefs.backup);
    m_backupFolder->setText(prefs.backupFolder);
    m_verify->setChecked(prefs.verify);
    m_trace->setChecked(prefs.trace);
    m_traceFile->setText(prefs.traceFile);
    updateEnabled();
}

void CFieldOptionsDlg::updateEnabled()
{
    m_backupFolder->setEnabled(m_backup->isChecked());
    m_backupBrowse->setEnabled(m_backup->isChecked());
    m_traceFile->setEnabled(m_trace->isChecked());
    m_traceBrowse->setEnabled(m_trace->isChecked());
}

void CFieldOptionsDlg::accept()
{
    const QString folder = m_backupFolder->text().trimmed();
    const QString file = m_traceFile->text().trimmed();
    // An option without its folder or file could not be carried out, and a
    // text the store cannot keep would be lost: say so and stay open.
    QString problem;
    if (m_backup->isChecked() && folder.isEmpty())
        problem = texts::text(kNoBackupFolder);
    else if (m_trace->isChecked() && file.isEmpty())
        problem = texts::text(kNoTraceFile);
    else if (m_trace->isChecked() && QFileInfo(file).isDir())
        problem = texts::text(kTraceFileIsFolder);
    else if (!UserStore::storableString(folder) || !UserStore::storableString(file))
        problem = texts::text(kNameTooLong);
    if (!problem.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), problem);
        return;
    }
    m_prefs.backup = m_backup->isChecked();
    m_prefs.backupFolder = QDir::fromNativeSeparators(folder);
    m_prefs.verify = m_verify->isChecked();
    m_prefs.trace = m_trace->isChecked();
    m_prefs.traceFile = QDir::fromNativeSeparators(file);
    QDialog::accept();
}

void CFieldOptionsDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        emit helpRequested();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
