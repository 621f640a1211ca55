#include "platform/ResourceModule.h"

#include "res/ResDllApi.h"

#include <cstdarg>
#include <cstdlib>
#include <dlfcn.h>
#include <mutex>
#include <vector>

namespace {

struct Module {
    void* handle = nullptr;
    ResDllStringFn stringFn = nullptr;
    ResDllBitmapFn bitmapFn = nullptr;
};

std::mutex g_mutex;
Module g_module;
ResLanguage g_language = ResLanguage::English;

} // namespace

const char* ResourceModuleFileName()
{
    return "libResDll.so";
}

bool LoadResourceModule(const std::string& folder)
{
    std::lock_guard lock(g_mutex);
    if (g_module.handle)
        return true;
    std::string path = folder + ResourceModuleFileName();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return false;
    auto stringFn = reinterpret_cast<ResDllStringFn>(dlsym(handle, RESDLL_STRING_SYMBOL));
    auto bitmapFn = reinterpret_cast<ResDllBitmapFn>(dlsym(handle, RESDLL_BITMAP_SYMBOL));
    if (!stringFn) {
        dlclose(handle);
        return false;
    }
    g_module = {handle, stringFn, bitmapFn};
    return true;
}

bool IsResourceModuleLoaded()
{
    std::lock_guard lock(g_mutex);
    return g_module.handle != nullptr;
}

void UnloadResourceModule()
{
    std::lock_guard lock(g_mutex);
    if (g_module.handle)
        dlclose(g_module.handle);
    g_module = {};
}

void SetResLanguage(ResLanguage language)
{
    std::lock_guard lock(g_mutex);
    g_language = language;
}

ResLanguage GetResLanguage()
{
    std::lock_guard lock(g_mutex);
    return g_language;
}

ResLanguage LanguageFromEnvironment()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return std::string(value).rfind("zh", 0) == 0 ? ResLanguage::Chinese : ResLanguage::English;
    }
    return ResLanguage::English;
}

std::string LoadResString(unsigned id)
{
    std::lock_guard lock(g_mutex);
    if (!g_module.stringFn)
        return {};
    if (g_language == ResLanguage::Chinese) {
        if (const char* text = g_module.stringFn(id, RESDLL_LANG_CHINESE))
            return text;
    }
    const char* text = g_module.stringFn(id, RESDLL_LANG_ENGLISH);
    return text ? text : std::string();
}

bool HasResString(unsigned id)
{
    std::lock_guard lock(g_mutex);
    return g_module.stringFn && g_module.stringFn(id, RESDLL_LANG_ENGLISH);
}

std::string LoadResBitmap(unsigned id)
{
    std::lock_guard lock(g_mutex);
    if (!g_module.bitmapFn)
        return {};
    unsigned long size = 0;
    const unsigned char* data = g_module.bitmapFn(id, &size);
    if (!data)
        return {};
    return std::string(reinterpret_cast<const char*>(data), size);
}

std::string FormatResString(unsigned id, ...)
{
    std::string format = LoadResString(id);
    va_list args;
    va_start(args, id);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format.c_str(), copy);
    va_end(copy);
    std::string result;
    if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format.c_str(), args);
        result.assign(buffer.data(), static_cast<size_t>(length));
    }
    va_end(args);
    return result;
}
