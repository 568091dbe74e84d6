// Answers the launcher's message dialogs while a test drives a dialog: a timer polls
// QApplication::activeModalWidget(), records each message dialog's caption and text, and presses
// the next planned button (by caption), or the first button when the plan is used up.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <string>
#include <vector>

#include "message_dialog_base.h"

namespace launchertest {

struct SeenMessage {
    std::string caption;
    std::string text;
};

class ModalAnswerer {
public:
    explicit ModalAnswerer(std::vector<std::string> plannedAnswers = {})
        : m_plan(plannedAnswers.begin(), plannedAnswers.end()) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(5);
    }

    // Forgets the messages seen so far and plans new answers.
    void restart(std::vector<std::string> plannedAnswers = {}) {
        m_seen.clear();
        m_plan.assign(plannedAnswers.begin(), plannedAnswers.end());
    }

    const std::vector<SeenMessage>& seen() const { return m_seen; }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const SeenMessage& m : m_seen) out.push_back(m.text);
        return out;
    }

private:
    void poll() {
        auto* dlg = qobject_cast<CMessageDialogBase*>(QApplication::activeModalWidget());
        if (!dlg || dlg == m_lastAnswered) return;
        m_lastAnswered = dlg;
        m_seen.push_back({dlg->windowTitle().toStdString(), dlg->text().toStdString()});
        std::string answer;
        if (!m_plan.empty()) {
            answer = m_plan.front();
            m_plan.pop_front();
        }
        const auto buttons = dlg->findChildren<QAbstractButton*>();
        for (QAbstractButton* b : buttons) {
            if (answer.empty() || b->text().toStdString() == answer) {
                // Deferred, so that the dialog's exec() loop is the one that sees the click.
                QTimer::singleShot(0, b, [b] { b->click(); });
                return;
            }
        }
        QTimer::singleShot(0, dlg, [dlg] { dlg->close(); });
    }

    QTimer m_timer;
    std::deque<std::string> m_plan;
    std::vector<SeenMessage> m_seen;
    QPointer<CMessageDialogBase> m_lastAnswered;
};

}  // namespace launchertest
