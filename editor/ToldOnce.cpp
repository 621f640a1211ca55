#include "editor/ToldOnce.h"

#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"

namespace {

// Counts the boxes shown while it lives, each still shown by the handler in
// place before it.
class BoxCount {
public:
    BoxCount()
        : m_previous(SetMessageHandler(nullptr))
    {
        SetMessageHandler([this](const std::string& text, unsigned type) {
            ++m_shown;
            return ShowMessageWith(m_previous, text, type);
        });
    }
    ~BoxCount() { SetMessageHandler(m_previous); }
    BoxCount(const BoxCount&) = delete;
    BoxCount& operator=(const BoxCount&) = delete;

    int Shown() const { return m_shown; }

private:
    MessageHandler m_previous;
    int m_shown = 0;
};

} // namespace

bool ReadToldOnce(const std::function<bool()>& read, const std::string& text)
{
    bool ok = false;
    int shown = 0;
    {
        BoxCount count;
        ok = read();
        shown = count.Shown();
    }
    if (!ok && shown == 0)
        AfxMessageBox(text);
    return ok;
}

bool ReadToldOnce(const std::function<bool()>& read, unsigned textId)
{
    return ReadToldOnce(read, LoadResString(textId));
}
