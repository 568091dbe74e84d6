// Sheet 3 of a planet (CCfgPltOri): its ring, mesh, texture and name. The ring's controls are
// enabled only while "Planet has a ring" is set.
#pragma once

#include "cfg_ori_page.h"

class QCheckBox;

class CCfgPltOri : public CCfgOriPage {
    Q_OBJECT
public:
    explicit CCfgPltOri(const WizardSetup& setup);
    void collect(WizardValues& values) const override;
    QCheckBox* ringCheck() const { return m_ring; }

protected:
    void prepareNew() override;
    void fill(const WizardValues& values) override;

private:
    void ringToggled(bool on);

    QCheckBox* m_ring = nullptr;
};
