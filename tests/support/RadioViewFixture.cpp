#include "tests/support/RadioViewFixture.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>

#include "codeplug/ImageLayout.h"
#include "codeplug/KQ_517Doc.h"
#include "codeplug/MemoryImage.h"
#include "link/ui/ProcessDlg.h"
#include "settings/ui/LanguageModule.h"
#include "tests/support/SimProcess.h"
#include "tests/support/TestSupport.h"
#include "view/KQ_517View.h"

RadioViewFixture::RadioViewFixture() = default;

RadioViewFixture::~RadioViewFixture() { tearDownView(); }

bool RadioViewFixture::setUpView(const QMap<QString, QString>& ports, const QByteArray& extraSetup)
{
    m_store = std::make_unique<TempUserStore>();
    m_dir = std::make_unique<TempProgramDir>();
    if (!m_store->isValid() || !m_dir->isValid() || !m_dir->copyDefaultSettings())
        return false;
    QByteArray ini = m_dir->readFile();
    if (!extraSetup.isEmpty())
        ini.replace("[Setup]\n", "[Setup]\n" + extraSetup);
    if (!ini.endsWith('\n'))
        ini += '\n';
    if (!ini.contains("[Ports]"))
        ini += "[Ports]\n";
    for (auto it = ports.begin(); it != ports.end(); ++it)
        ini += it.key().toUtf8() + '=' + it.value().toUtf8() + '\n';
    return m_dir->writeSettings(ini) && m_dir->openSettingsAndLanguage()
           && LanguageModule::load(QStringLiteral("English"), QStringLiteral(KQ517_PROGRAM_DIR)) && makeView();
}

bool RadioViewFixture::setUpRadio(SimProcess& sim, const QTemporaryDir& dir, const MemoryImage& image,
                                  const QStringList& args)
{
    const QString imagePath = dir.filePath(QStringLiteral("radio.dat"));
    if (!image.saveFile(imagePath)) {
        qWarning("cannot save %s", qPrintable(imagePath));
        return false;
    }
    if (!sim.start(QStringList{QStringLiteral("--image"), imagePath} + args)) {
        qWarning("%s", qPrintable(sim.error()));
        return false;
    }
    return setUpView({{QStringLiteral("COM1"), sim.devicePath()}}, m_radioSetup);
}

bool RadioViewFixture::makeView()
{
    m_area = std::make_unique<QMdiArea>();
    m_doc = std::make_unique<CKQ_517Doc>();
    if (!m_doc->OnNewDocument())
        return false;
    m_view = new CKQ_517View(m_doc.get());
    m_frame = m_area->addSubWindow(m_view);
    m_area->show();
    m_frame->show();
    m_view->OnInitialUpdate();
    return true;
}

void RadioViewFixture::tearDownView()
{
    m_area.reset();  // the frames and the view with them
    m_doc.reset();
    LanguageModule::unload();
    m_dir.reset();
    m_store.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QPushButton* RadioViewFixture::processButton(int id) const
{
    QDialog* window = m_view ? m_view->m_pProcessDlg->window() : nullptr;
    return window ? window->findChild<QPushButton*>(LanguageModule::controlName(id)) : nullptr;
}

bool RadioViewFixture::pressOkAndRun()
{
    QPushButton* ok = processButton(1);
    if (!ok || !ok->isEnabled())
        return false;
    ok->click();
    // Greyed out at once, before anything is sent.
    if (ok->isEnabled())
        return false;
    // The transfer was posted to the view; run it now.
    QCoreApplication::sendPostedEvents(m_view, QEvent::MetaCall);
    return true;
}

void putFrequency(std::uint8_t* at, int units)
{
    for (int i = 0; i < 4; ++i) {
        const int pair = units % 100;
        units /= 100;
        at[i] = std::uint8_t((pair / 10) << 4 | (pair % 10));
    }
}

QByteArray radioBytes(const MemoryImage& image)
{
    return image.toByteArray().left(layout::kRadioByteCount);
}
