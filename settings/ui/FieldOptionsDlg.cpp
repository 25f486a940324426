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

namespace {
QString controlName(int id) { return QStringLiteral("id%1").arg(id); }
}  // namespace

CFieldOptionsDlg::CFieldOptionsDlg(FieldPreferences& prefs, bool chinese, QWidget* parent)
    : QDialog(parent), m_prefs(prefs), m_chinese(chinese)
{
    const auto text = [chinese](const char* english, const char* chineseText) {
        return chinese ? QString::fromUtf8(chineseText) : QString::fromUtf8(english);
    };
    setWindowTitle(text("Options", "选项"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    m_backup = new QCheckBox(text("&Back up the radio before writing", "写入前备份对讲机(&B)"), this);
    m_backupFolder = new QLineEdit(this);
    m_backupBrowse = new QPushButton(text("Browse...", "浏览..."), this);
    m_verify = new QCheckBox(text("&Verify after writing", "写入后校验(&V)"), this);
    m_trace = new QCheckBox(text("Record a serial &trace", "记录串口数据(&T)"), this);
    m_traceFile = new QLineEdit(this);
    m_traceBrowse = new QPushButton(text("Browse...", "浏览..."), this);
    m_backupFolder->setPlaceholderText(text("Folder for the backups", "备份文件夹"));
    m_traceFile->setPlaceholderText(text("Trace file", "记录文件"));
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
    auto* traceNote = new QLabel(text("Each transfer is added to the end of the file after a line with the date "
                                      "and time, the command, the port and its device; an earlier trace is never "
                                      "emptied.",
                                      "每次传输都追加到文件末尾，前面一行写明日期时间、命令、端口及其设备；"
                                      "已有的记录不会被清空。"),
                                 this);
    traceNote->setObjectName(QStringLiteral("traceNote"));
    traceNote->setWordWrap(true);
    grid->addWidget(traceNote, 5, 0, 1, 2);
    grid->setColumnMinimumWidth(0, 280);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(controlName(1));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(controlName(2));
    buttons->button(QDialogButtonBox::Ok)->setText(text("OK", "确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(text("Cancel", "取消"));
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
        problem = m_chinese ? QStringLiteral("请选择备份文件夹。") : QStringLiteral("Choose the folder for the backups.");
    else if (m_trace->isChecked() && file.isEmpty())
        problem = m_chinese ? QStringLiteral("请选择记录文件。") : QStringLiteral("Choose the trace file.");
    else if (m_trace->isChecked() && QFileInfo(file).isDir())
        problem = m_chinese ? QStringLiteral("记录文件不能是文件夹。") : QStringLiteral("The trace file cannot be a folder.");
    else if (!UserStore::storableString(folder) || !UserStore::storableString(file))
        problem = m_chinese ? QStringLiteral("文件夹或文件名太长。") : QStringLiteral("The folder or file name is too long.");
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
