#include "tests/common/MessageRecorder.h"

MessageRecorder::MessageRecorder()
{
    m_previous = SetMessageHandler([this](const std::string& text, unsigned type) { return Record(text, type); });
}

MessageRecorder::~MessageRecorder()
{
    SetMessageHandler(m_previous);
}

void MessageRecorder::Answer(int answer)
{
    std::lock_guard lock(m_mutex);
    m_answers.push_back(answer);
}

std::vector<MessageRecorder::Message> MessageRecorder::Messages() const
{
    std::lock_guard lock(m_mutex);
    return m_messages;
}

std::vector<std::string> MessageRecorder::Texts() const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::string> texts;
    for (const Message& message : m_messages)
        texts.push_back(message.text);
    return texts;
}

void MessageRecorder::Clear()
{
    std::lock_guard lock(m_mutex);
    m_messages.clear();
}

int MessageRecorder::Record(const std::string& text, unsigned type)
{
    std::lock_guard lock(m_mutex);
    m_messages.push_back({text, type});
    if (!m_answers.empty()) {
        int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    unsigned buttons = type & MB_TYPEMASK;
    return (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) ? IDYES : IDOK;
}
