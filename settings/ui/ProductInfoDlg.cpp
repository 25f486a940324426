#include "settings/ui/ProductInfoDlg.h"

#include <QComboBox>
#include <QShowEvent>

#include "codeplug/ImageLayout.h"
#include "codeplug/ModelBand.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/UserStore.h"
#include "settings/ui/TemplateHost.h"
#include "codeplug/KQ_517Doc.h"
#include "settings/ModelBandSettings.h"
#include "texts/CellTexts.h"

namespace {

const QString kTypeValue = QStringLiteral("Type");
const QString kFieldValue = QStringLiteral("Field");

// Selects position when the list has it, otherwise nothing.
void selectPosition(QComboBox* combo, std::int32_t position)
{
    combo->setCurrentIndex(position >= 0 && position < combo->count() ? int(position) : -1);
}

}  // namespace

CProductInfoDlg::CProductInfoDlg(QWidget* parent)
    : QDialog(parent), m_template(new TemplateHost(this, IDD))
{
}

CProductInfoDlg::~CProductInfoDlg() = default;

void CProductInfoDlg::setTarget(CKQ_517Doc* document, ChannelBandLimits* view)
{
    m_targetDocument = document;
    m_targetView = view;
    m_targetViewObject = dynamic_cast<QObject*>(view);
    m_bViewIsObject = m_targetViewObject != nullptr;
}

CKQ_517Doc* CProductInfoDlg::document() const { return m_targetDocument; }

ChannelBandLimits* CProductInfoDlg::view() const
{
    return m_bViewIsObject && m_targetViewObject.isNull() ? nullptr : m_targetView;
}

void CProductInfoDlg::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        OnInitDialog();
    QDialog::showEvent(event);
}

void CProductInfoDlg::OnInitDialog()
{
    if (m_template->ensureLoaded() && !m_comboType) {
        m_comboBand = m_template->control<QComboBox>(IDC_COMBO_BAND);
        m_comboType = m_template->control<QComboBox>(IDC_COMBO_TYPE);
        // Only a choice of the user refills the bands; selections made here do not.
        if (m_comboType)
            connect(m_comboType, &QComboBox::activated, this, &CProductInfoDlg::OnSelChangeType);
    }
    if (!m_comboType || !m_comboBand)
        return;

    // The template's example entries give way to the settings file's lists.
    m_comboType->clear();
    m_comboType->addItems(modelband::modelList(g_settings, kMaxModels));

    // The model and band this user last confirmed (or the last decode stored).
    const UserStore store = UserStore::fromSettings();
    const auto type = std::int32_t(store.read(kTypeValue, 0u));
    const auto field = std::int32_t(store.read(kFieldValue, 0u));
    selectPosition(m_comboType, type);
    OnSelChangeType();
    selectPosition(m_comboBand, field);
}

void CProductInfoDlg::OnSelChangeType()
{
    if (!m_comboType || !m_comboBand)
        return;
    // bandList reads "Field%d" with position + 1; no model reads "Field0".
    const QString bands = modelband::bandList(g_settings, m_comboType->currentIndex());
    m_comboBand->clear();
    m_comboBand->addItems(modelband::bandPieces(bands));
    m_comboBand->setCurrentIndex(0);
}

void CProductInfoDlg::OnOK()
{
    // Without a document there is nothing to set: the per-user store, the
    // caption and the band limits stay as they are.
    if (!m_comboType || !m_comboBand || !document()) {
        QDialog::accept();
        return;
    }
    const int type = m_comboType->currentIndex();  // -1: none
    const int band = m_comboBand->currentIndex();

    if (CKQ_517Doc* doc = document()) {
        doc->image().set(layout::kModelIndex, std::uint8_t(type & 0xFF));
        doc->image().set(layout::kBandIndex, std::uint8_t(band & 0xFF));
    }

    // The shown texts (empty when nothing is selected); this title always
    // carries the English labels.
    const QString model = m_comboType->currentText();
    const QString bandText = m_comboBand->currentText();
    const QString appName = g_settings.GetText(g_strLanguage.toUtf8(), "AppName");
    g_strMainTitle = texts::mainTitle(appName, model, bandText, texts::TextTable::english());
    emit mainTitleChanged(g_strMainTitle);

    if (ChannelBandLimits* v = view()) {
        const modelband::BandLimits limits = modelband::bandLimits(bandText);
        v->m_nBandLow = limits.low;
        v->m_nBandHigh = limits.high;
    }

    UserStore store = UserStore::fromSettings();
    store.write(kTypeValue, std::uint32_t(type));
    store.write(kFieldValue, std::uint32_t(band));

    QDialog::accept();
}
