// The base of the wizard's last pages: below the page's own fields, an orbiting object shows the
// orbit the simulator will start it on, from all the values entered so far.
#pragma once

#include <functional>

#include "cfg_wizard_page.h"

class QLabel;

class CCfgOriPage : public CCfgWizardPage {
    Q_OBJECT
public:
    CCfgOriPage(const QString& noun, const WizardSetup& setup);

    // The wizard's record as the pages hold it now; set by the wizard.
    void setValuesSource(std::function<WizardValues()> source) { m_source = std::move(source); }
    void initializePage() override;
    void refreshOrbitPreview();
    QString orbitPreviewText() const;

protected:
    // Places the preview (only for an orbiting object) at the end of the page's fields.
    void addOrbitPreview();

private:
    std::function<WizardValues()> m_source;
    QLabel* m_preview = nullptr;
    class SystemMapView* m_map = nullptr;
};
