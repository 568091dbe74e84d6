// Fields, validation and filling shared by the wizard's pages.
#include "cfg_wizard_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "data_files.h"
#include "object_item_snapshot.h"
#include "validation_message.h"

CCfgWizardPage::CCfgWizardPage(const QString& noun, int sheet, const WizardSetup& setup)
    : m_setup(setup) {
    setTitle(QString("Configure %1: Sheet %2 of 3").arg(noun).arg(sheet));
    m_body = new QVBoxLayout;
    auto* clear = new QPushButton("Clear all");
    clear->setObjectName("clearAll");
    connect(clear, &QPushButton::clicked, this, &CCfgWizardPage::clearAll);
    auto* clearRow = new QHBoxLayout;
    clearRow->addStretch(1);
    clearRow->addWidget(clear);
    clearRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_body, 1);
    layout->addLayout(clearRow);
}

QGroupBox* CCfgWizardPage::addFrame(const QString& caption, QVBoxLayout* into) {
    auto* frame = new QGroupBox(caption);
    (into ? into : m_body)->addWidget(frame);
    return frame;
}

QLineEdit* CCfgWizardPage::addNumber(QGridLayout* grid, int row, int id, const QString& label,
                                     const QString& unit, bool integer, double low, double high) {
    auto* edit = new QLineEdit("0");
    edit->setObjectName(QString("field%1").arg(id));
    edit->setMinimumWidth(90);
    if (!label.isEmpty()) grid->addWidget(new QLabel(label), row, 0);
    grid->addWidget(edit, row, 1);
    if (!unit.isEmpty()) grid->addWidget(new QLabel(unit), row, 2);
    m_numbers.push_back({id, edit, integer, low, high});
    return edit;
}

void CCfgWizardPage::addSkyFields(QGridLayout* grid, int row, int raId, int decId, int mantissaId,
                                  int exponentId) {
    addNumber(grid, row, raId, "Right ascension (RA)", "hours", false, 0, 24);
    addNumber(grid, row + 1, decId, "Declination (Dec)", "degrees", false, -90, 90);
    addNumber(grid, row + 2, mantissaId, "Distance from origin (R)", "x 10", false, 0, 10);
    QLineEdit* exponent = addNumber(grid, row + 2, exponentId, "", "", true, 0, 37);
    exponent->setMinimumWidth(36);
    exponent->setMaximumWidth(48);
    grid->addWidget(exponent, row + 2, 3);
    grid->addWidget(new QLabel("km"), row + 2, 4);
}

QComboBox* CCfgWizardPage::addChoice(QGridLayout* grid, int row, int id, const QString& label) {
    auto* box = new QComboBox;
    box->setObjectName(QString("choice%1").arg(id));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumWidth(150);
    grid->addWidget(new QLabel(label), row, 0);
    grid->addWidget(box, row, 1, 1, 4);
    m_choices[id] = box;
    return box;
}

QLineEdit* CCfgWizardPage::numberField(int id) const {
    for (const NumberField& f : m_numbers)
        if (f.id == id) return f.edit;
    return nullptr;
}

QComboBox* CCfgWizardPage::choiceField(int id) const {
    auto it = m_choices.find(id);
    return it == m_choices.end() ? nullptr : it->second;
}

float CCfgWizardPage::number(int id) const {
    QLineEdit* edit = numberField(id);
    if (!edit) return 0.0f;
    auto shown = m_shown.find(id);
    if (shown != m_shown.end() && shown->second.first == edit->text()) return static_cast<float>(shown->second.second);
    return QLocale::c().toFloat(edit->text().trimmed());
}

int CCfgWizardPage::integer(int id) const {
    QLineEdit* edit = numberField(id);
    return edit ? edit->text().trimmed().toInt() : 0;
}

bool CCfgWizardPage::unchangedSinceFill(std::initializer_list<int> ids) const {
    for (int id : ids) {
        auto shown = m_shown.find(id);
        QLineEdit* edit = numberField(id);
        if (shown == m_shown.end() || !edit || shown->second.first != edit->text()) return false;
    }
    return true;
}

std::string CCfgWizardPage::choice(int id) const {
    QComboBox* box = choiceField(id);
    return box ? box->currentText().trimmed().toStdString() : std::string();
}

void CCfgWizardPage::keepUntouched(
    WizardValues& values, std::initializer_list<std::pair<std::initializer_list<int>, int>> fieldsToItem) const {
    if (m_setup.newObject) return;
    for (const auto& [ids, item] : fieldsToItem) {
        auto file = m_setup.fileValues.fileItems.find(item);
        // "na" shows as 0, and 0 is what an untouched field writes: "na" is never carried over.
        if (file == m_setup.fileValues.fileItems.end() || file->second == "na") continue;
        if (unchangedSinceFill(ids)) values.keptItems[item] = file->second;
        else values.keptItems.erase(item);
    }
}

void CCfgWizardPage::setNumber(int id, double value) {
    QLineEdit* edit = numberField(id);
    if (!edit) return;
    edit->setText(QString::number(value, 'g', 6));
    m_shown[id] = {edit->text(), value};
}

void CCfgWizardPage::setChoices(int id, const std::vector<std::string>& entries,
                                const std::string& current) {
    QComboBox* box = choiceField(id);
    if (!box) return;
    box->clear();
    // The current value first, then the other entries.
    if (!current.empty()) box->addItem(QString::fromStdString(current));
    for (const std::string& entry : entries)
        if (entry != current) box->addItem(QString::fromStdString(entry));
    box->setCurrentText(QString::fromStdString(current));
}

SkyPosition CCfgWizardPage::sky(int raId, int decId, int mantissaId, int exponentId) const {
    return {number(raId), number(decId), number(mantissaId), integer(exponentId)};
}

void CCfgWizardPage::setSky(int raId, int decId, int mantissaId, int exponentId, const SkyPosition& s) {
    setNumber(raId, s.raHours);
    setNumber(decId, s.decDeg);
    setNumber(mantissaId, s.rMantissa);
    setNumber(exponentId, s.rExponent);
}

void CCfgWizardPage::clearAll() {
    for (const NumberField& f : m_numbers) f.edit->setText("0");
    for (auto& [id, box] : m_choices) box->setCurrentText("");
}

void CCfgWizardPage::initializePage() {
    if (m_prepared) return;  // a page keeps its values when the user goes back and forth
    m_prepared = true;
    prepareNew();
    if (!m_setup.newObject) fill(m_setup.fileValues);
}

bool CCfgWizardPage::validatePage() {
    for (const NumberField& f : m_numbers) {
        QString message;
        if (!readField(f.edit->text(), f.integer, f.low, f.high, message)) {
            f.edit->setFocus();
            f.edit->selectAll();
            showValidationMessage(message, this);
            return false;
        }
    }
    return true;
}

std::vector<std::string> meshChoices(const std::string& dataDirectory) {
    std::vector<std::string> out;
    for (const std::string& name : fileEntries(dataDirectory + "Media/Models"))
        if (name.size() > 2 && name.compare(name.size() - 2, 2, ".x") == 0) out.push_back(name);
    return out;
}

std::vector<std::string> textureChoices(const std::string& dataDirectory, const std::string& folder) {
    return directoryEntries(dataDirectory + "Media/" + folder);
}

std::vector<std::string> objectNameChoices(const std::string& dataDirectory, const char* flagItem) {
    std::vector<std::string> out;
    for (const std::string& file : fileEntries(dataDirectory + "Objects")) {
        if (file.size() < 5 || file.compare(file.size() - 4, 4, ".cfg") != 0) continue;
        ObjectItemSnapshot s;
        if (s.load(dataDirectory + "Objects/" + file, dataDirectory) && s.item(flagItem) == "1")
            out.push_back(file.substr(0, file.size() - 4));
    }
    return out;
}
