// The base of the object wizard's twelve pages: number fields with their ranges and the standard
// messages, file and name choices, "Clear all", filling from the object file once in existing
// mode, and handing the page's values to the wizard's record.
#pragma once

#include <QWizardPage>
#include <map>
#include <string>
#include <vector>

#include "object_wizard_values.h"
#include "orbit_preview.h"

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QVBoxLayout;

// What every page knows about the wizard run.
struct WizardSetup {
    bool newObject = true;
    WizardObjectType type = WizardObjectType::Planet;
    bool orbiting = false;
    int orbitedRefNo = 0;
    int suggestedParentRefNo = 0;  // offered first by "Place in orbit..." when set
    std::string objectPath;     // existing mode
    std::string dataDirectory;  // ends in "/"
    OrbitListView list;         // the manager's selected list, for the orbit preview
    WizardValues fileValues;    // existing mode: the object file's values
};

class CCfgWizardPage : public QWizardPage {
    Q_OBJECT
public:
    CCfgWizardPage(const QString& noun, int sheet, const WizardSetup& setup);

    // Writes this page's values into the record.
    virtual void collect(WizardValues& values) const = 0;

    bool validatePage() override;
    void initializePage() override;
    virtual void clearAll();

    QLineEdit* numberField(int id) const;
    QComboBox* choiceField(int id) const;

protected:
    // Existing mode: shows the file's values; called once, when the page is first shown.
    virtual void fill(const WizardValues& values) = 0;
    // New mode: called once instead of fill (lists are filled here).
    virtual void prepareNew() {}

    QGroupBox* addFrame(const QString& caption, QVBoxLayout* into = nullptr);
    // A labelled number field in grid row; low > high means no range.
    QLineEdit* addNumber(QGridLayout* grid, int row, int id, const QString& label,
                         const QString& unit, bool integer = false, double low = 1, double high = 0);
    // Right ascension, declination and distance (mantissa, exponent) from row on.
    void addSkyFields(QGridLayout* grid, int row, int raId, int decId, int mantissaId, int exponentId);
    QComboBox* addChoice(QGridLayout* grid, int row, int id, const QString& label);

    float number(int id) const;
    int integer(int id) const;
    std::string choice(int id) const;
    void setNumber(int id, double value);
    void setChoices(int id, const std::vector<std::string>& entries, const std::string& current);

    SkyPosition sky(int raId, int decId, int mantissaId, int exponentId) const;
    // True while none of the fields has been changed from what setNumber showed.
    bool unchangedSinceFill(std::initializer_list<int> ids) const;
    // For each (field ids, item) whose fields are unchanged, keeps the file's text of the item.
    void keepUntouched(WizardValues& values,
                       std::initializer_list<std::pair<std::initializer_list<int>, int>> fieldsToItem) const;
    void setSky(int raId, int decId, int mantissaId, int exponentId, const SkyPosition& sky);

    QVBoxLayout* body() const { return m_body; }
    const WizardSetup& m_setup;

private:
    struct NumberField {
        int id;
        QLineEdit* edit;
        bool integer;
        double low, high;
    };
    std::vector<NumberField> m_numbers;
    std::map<int, QComboBox*> m_choices;
    // What setNumber showed and the exact value behind it: a field the user leaves as shown keeps
    // the exact value, so that the six digits shown never round a value the user did not touch.
    std::map<int, std::pair<QString, double>> m_shown;
    QVBoxLayout* m_body = nullptr;
    bool m_prepared = false;
};

// Directory entries for the choices: files "*.x" in Media/Models, entries of Media/Textures and
// Media/Ring Textures, names of the object files whose flag item is "1".
std::vector<std::string> meshChoices(const std::string& dataDirectory);
std::vector<std::string> textureChoices(const std::string& dataDirectory, const std::string& folder);
std::vector<std::string> objectNameChoices(const std::string& dataDirectory, const char* flagItem);
