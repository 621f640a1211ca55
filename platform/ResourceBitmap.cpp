#include "platform/ResourceBitmap.h"

#include "platform/ResourceModule.h"

#include <wx/image.h>
#include <wx/mstream.h>

#include <map>

const wxBitmap& LoadResourceBitmap(unsigned id)
{
    static std::map<unsigned, wxBitmap> cache;
    const auto found = cache.find(id);
    if (found != cache.end())
        return found->second;
    wxBitmap bitmap;
    const std::string bytes = LoadResBitmap(id);
    if (!bytes.empty()) {
        if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
            wxImage::AddHandler(new wxPNGHandler);
        wxMemoryInputStream stream(bytes.data(), bytes.size());
        wxImage image(stream, wxBITMAP_TYPE_PNG);
        if (image.IsOk())
            bitmap = wxBitmap(image);
    }
    return cache.emplace(id, bitmap).first->second;
}
