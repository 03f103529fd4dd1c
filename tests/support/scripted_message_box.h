#pragma once

#include "host/ui/message_box.h"

#include <QStringList>

#include <deque>

namespace vantik::test {

/// Message boxes that show nothing: every text is recorded, and questions take
/// the answers set in advance (Yes when none is left).
class ScriptedMessageBox : public MessageBox {
public:
    void setNextAnswer(bool yes) { m_answers.push_back(yes); }

    void information(QWidget*, const QString& text) override { shown.append(text); }
    void warning(QWidget*, const QString& text) override
    {
        shown.append(text);
        warned.append(text);
    }
    bool question(QWidget*, const QString& text) override
    {
        asked.append(text);
        if (m_answers.empty())
            return true;
        const bool answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    QStringList shown;  ///< every notice and failure, in order
    QStringList warned; ///< the failures alone
    QStringList asked;

private:
    std::deque<bool> m_answers;
};

} // namespace vantik::test
