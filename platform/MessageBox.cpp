#include "platform/MessageBox.h"

#include "platform/ResourceModule.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex g_handlerMutex;
MessageHandler g_handler;
BellHandler g_bell;

int FirstButtonAnswer(unsigned type)
{
    switch (type & MB_TYPEMASK) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDYES;
    default:
        return IDOK;
    }
}

} // namespace

int AfxMessageBox(const std::string& text, unsigned type)
{
    MessageHandler handler;
    {
        std::lock_guard lock(g_handlerMutex);
        handler = g_handler;
    }
    return ShowMessageWith(handler, text, type);
}

int ShowMessageWith(const MessageHandler& handler, const std::string& text, unsigned type)
{
    if (handler)
        return handler(text, type);
    std::fprintf(stderr, "%s\n", text.c_str());
    return FirstButtonAnswer(type);
}

int AfxMessageBox(unsigned stringId, unsigned type)
{
    return AfxMessageBox(LoadResString(stringId), type);
}

MessageHandler SetMessageHandler(MessageHandler handler)
{
    std::lock_guard lock(g_handlerMutex);
    MessageHandler previous = std::move(g_handler);
    g_handler = std::move(handler);
    return previous;
}

void MessageBeep()
{
    BellHandler bell;
    {
        std::lock_guard lock(g_handlerMutex);
        bell = g_bell;
    }
    if (bell)
        bell();
}

BellHandler SetBellHandler(BellHandler handler)
{
    std::lock_guard lock(g_handlerMutex);
    BellHandler previous = std::move(g_bell);
    g_bell = std::move(handler);
    return previous;
}
