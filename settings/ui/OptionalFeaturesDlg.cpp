#include "settings/ui/OptionalFeaturesDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QShowEvent>

#include "codeplug/ImageLayout.h"
#include "settings/ui/TemplateHost.h"
#include "codeplug/KQ_517Doc.h"

namespace {

// List position for a stored byte: the byte itself when the list has that many
// entries, otherwise no selection (-1).
int positionFor(const QComboBox* combo, std::uint8_t value)
{
    return value < combo->count() ? int(value) : -1;
}

}  // namespace

COptionalFeaturesDlg::COptionalFeaturesDlg(QWidget* parent)
    : QDialog(parent), m_template(new TemplateHost(this, IDD))
{
}

COptionalFeaturesDlg::~COptionalFeaturesDlg() = default;

void COptionalFeaturesDlg::setTarget(CKQ_517Doc* document) { m_target = document; }

CKQ_517Doc* COptionalFeaturesDlg::document() const
{
    return m_target;  // nullptr once that document is gone
}

void COptionalFeaturesDlg::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        OnInitDialog();
    QDialog::showEvent(event);
}

void COptionalFeaturesDlg::OnInitDialog()
{
    if (m_template->ensureLoaded()) {
        m_checkBeep = m_template->control<QCheckBox>(IDC_CHECK_BEEP);
        m_comboTimeOut = m_template->control<QComboBox>(IDC_COMBO_TIMEOUT);
        m_comboSquelch = m_template->control<QComboBox>(IDC_COMBO_SQUELCH);
    }
    if (!m_checkBeep || !m_comboTimeOut || !m_comboSquelch)
        return;

    // Without a document there is nothing to show or store: the controls stay
    // empty and only Cancel is offered.
    CKQ_517Doc* doc = document();
    const bool enabled = doc != nullptr;
    m_checkBeep->setEnabled(enabled);
    m_comboTimeOut->setEnabled(enabled);
    m_comboSquelch->setEnabled(enabled);
    if (auto* ok = m_template->control<QPushButton>(1))
        ok->setEnabled(enabled);
    if (!doc) {
        m_comboSquelch->setCurrentIndex(-1);
        m_comboTimeOut->setCurrentIndex(-1);
        m_checkBeep->setChecked(false);
        return;
    }

    const MemoryImage& image = doc->image();
    m_comboSquelch->setCurrentIndex(positionFor(m_comboSquelch, image.at(layout::kSquelchLevel)));
    m_comboTimeOut->setCurrentIndex(positionFor(m_comboTimeOut, image.at(layout::kTimeOutTimer)));
    m_checkBeep->setChecked((image.at(layout::kBeep) & 0x01) != 0);
}

void COptionalFeaturesDlg::OnOK()
{
    CKQ_517Doc* doc = document();
    if (doc && m_checkBeep && m_comboTimeOut && m_comboSquelch) {
        MemoryImage& image = doc->image();
        // No selection is position -1, stored as its low byte 0xFF.
        image.set(layout::kSquelchLevel, std::uint8_t(m_comboSquelch->currentIndex() & 0xFF));
        image.set(layout::kTimeOutTimer, std::uint8_t(m_comboTimeOut->currentIndex() & 0xFF));
        const std::uint8_t beep = image.at(layout::kBeep);
        image.set(layout::kBeep, m_checkBeep->isChecked() ? std::uint8_t(beep | 0x01)
                                                          : std::uint8_t(beep & ~0x01));
    }
    QDialog::accept();
}
