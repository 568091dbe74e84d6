// Answers every modal box a wizard or orbit dialog test meets: the fields' validation messages
// (QMessageBox, "OK"), the launcher's message dialogs (the next planned button, else the first)
// and the check's notes message ("Close"). Records each text in order.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <string>
#include <vector>

#include "check_notes_dlg.h"
#include "message_dialog_base.h"

namespace launchertest {

class AnyModalAnswerer {
public:
    explicit AnyModalAnswerer(std::vector<std::string> plan = {}) : m_plan(plan.begin(), plan.end()) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(5);
    }
    const std::vector<std::string>& texts() const { return m_texts; }
    void clear() { m_texts.clear(); }

private:
    void poll() {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w == m_last) return;
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            m_last = w;
            m_texts.push_back(box->text().toStdString());
            QTimer::singleShot(0, box, [box] { box->accept(); });
        } else if (auto* notes = qobject_cast<CCheckNotesDlg*>(w)) {
            m_last = w;
            m_texts.push_back(notes->text().toStdString());
            QTimer::singleShot(0, notes, [notes] { notes->done(1); });
        } else if (auto* dlg = qobject_cast<CMessageDialogBase*>(w)) {
            m_last = w;
            m_texts.push_back(dlg->text().toStdString());
            std::string answer;
            if (!m_plan.empty()) {
                answer = m_plan.front();
                m_plan.pop_front();
            }
            const auto buttons = dlg->findChildren<QAbstractButton*>();
            for (QAbstractButton* b : buttons) {
                if (b->text().toStdString() == answer) {
                    QTimer::singleShot(0, b, [b] { b->click(); });
                    return;
                }
            }
            // Not the planned question: the plan waits, the first button answers.
            if (!answer.empty()) m_plan.push_front(answer);
            if (!buttons.isEmpty()) QTimer::singleShot(0, buttons.front(), [b = buttons.front()] { b->click(); });
        }
    }
    QTimer m_timer;
    std::deque<std::string> m_plan;
    std::vector<std::string> m_texts;
    QPointer<QWidget> m_last;
};

}  // namespace launchertest
