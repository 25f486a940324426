#include "tests/support/GridViewFixture.h"

#include <QFile>
#include <QTest>
#include <QWidget>

#include "codeplug/KQ_517Doc.h"
#include "settings/Globals.h"
#include "settings/ui/LanguageModule.h"
#include "tests/support/TestSupport.h"
#include "view/KQ_517View.h"
#include "view/MSFlexGrid.h"

GridViewFixture::GridViewFixture() = default;

GridViewFixture::~GridViewFixture() { tearDownGrid(); }

bool GridViewFixture::makeFolders()
{
    m_store = std::make_unique<TempUserStore>();
    m_dir = std::make_unique<TempProgramDir>();
    return m_store->isValid() && m_dir->isValid();
}

bool GridViewFixture::showView(const QByteArray& settings, bool newDocument)
{
    if (!(settings.isEmpty() ? m_dir->copyDefaultSettings() : m_dir->writeSettings(settings))
        || !m_dir->openSettingsAndLanguage(false))
        return false;
    const QString module = LanguageModule::moduleFileName(g_strLanguage);
    if (!QFile::copy(QStringLiteral(KQ517_PROGRAM_DIR "/") + module, m_dir->filePath(module))
        || !LanguageModule::load(g_strLanguage, m_dir->path()))
        return false;
    m_doc = std::make_unique<CKQ_517Doc>();
    m_doc->image().resetToNew();
    g_bNewDocument = newDocument;
    m_host = std::make_unique<QWidget>();
    m_host->resize(900, 700);
    m_view = new CKQ_517View(m_doc.get(), m_host.get());
    m_view->setGeometry(0, 0, 900, 700);
    m_grid = m_view->grid();
    m_host->show();
    return QTest::qWaitForWindowActive(m_host.get());
}

void GridViewFixture::tearDownGrid()
{
    m_host.reset();
    m_view = nullptr;
    m_grid = nullptr;
    m_doc.reset();
    LanguageModule::unload();
    m_dir.reset();
    m_store.reset();
}
