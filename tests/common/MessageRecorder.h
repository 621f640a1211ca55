#pragma once
// Captures the program's message boxes in tests: every text and button set is
// recorded and answered from a queue (IDOK, or the first button, when empty).

#include "platform/MessageBox.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

class MessageRecorder {
public:
    struct Message {
        std::string text;
        unsigned type;
    };

    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // Answers for the next message boxes, in order.
    void Answer(int answer);

    std::vector<Message> Messages() const;
    std::vector<std::string> Texts() const;
    void Clear();

private:
    int Record(const std::string& text, unsigned type);

    mutable std::mutex m_mutex;
    std::vector<Message> m_messages;
    std::deque<int> m_answers;
    MessageHandler m_previous;
};
