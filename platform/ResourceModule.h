#pragma once
// The resource module: a shared library beside the executable that carries the
// program's string table (English and Chinese) and its pictures. It is loaded
// once by name from the program folder; texts are looked up by id.

#include <string>

enum class ResLanguage { English, Chinese };

// File name of the resource module inside the program folder.
const char* ResourceModuleFileName();

// Loads the module from folder (which ends with '/'). Returns false when the
// module is missing or unusable; a module already loaded stays.
bool LoadResourceModule(const std::string& folder);
bool IsResourceModuleLoaded();
void UnloadResourceModule();

// Language of the texts; Chinese falls back to English where a text has no
// Chinese form.
void SetResLanguage(ResLanguage language);
ResLanguage GetResLanguage();
// Chinese when the user's locale (LC_ALL, LC_MESSAGES, LANG) names zh.
ResLanguage LanguageFromEnvironment();

// The text of a string id, or the empty text when the module is not loaded or
// has no such id.
std::string LoadResString(unsigned id);
bool HasResString(unsigned id);

// Raw bytes of a picture (PNG) by resource id, or empty.
std::string LoadResBitmap(unsigned id);

// printf-style formatting of a string-table text with arguments. The format
// comes from our own table, never from data.
std::string FormatResString(unsigned id, ...);
