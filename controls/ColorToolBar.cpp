#include "controls/ColorToolBar.h"

#include "controls/ToolbarStrip.h"
#include "platform/ResourceModule.h"

#include <wx/image.h>
#include <wx/log.h>
#include <wx/mstream.h>

namespace {

wxImage LoadStrip(unsigned id)
{
    std::string bytes = LoadResBitmap(id);
    if (bytes.empty())
        return wxImage();
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    wxMemoryInputStream stream(bytes.data(), bytes.size());
    wxLogNull quiet; // a damaged picture is reported by the result
    return wxImage(stream, wxBITMAP_TYPE_PNG);
}

RgbaImage ToRgba(const wxImage& image)
{
    RgbaImage rgba;
    rgba.width = image.GetWidth();
    rgba.height = image.GetHeight();
    rgba.pixels.resize(static_cast<std::size_t>(rgba.width) * static_cast<std::size_t>(rgba.height) * 4);
    const unsigned char* rgb = image.GetData();
    const unsigned char* alpha = image.HasAlpha() ? image.GetAlpha() : nullptr;
    for (std::size_t i = 0, count = rgba.pixels.size() / 4; i < count; ++i) {
        rgba.pixels[i * 4] = rgb[i * 3];
        rgba.pixels[i * 4 + 1] = rgb[i * 3 + 1];
        rgba.pixels[i * 4 + 2] = rgb[i * 3 + 2];
        rgba.pixels[i * 4 + 3] = alpha ? alpha[i] : 255;
    }
    return rgba;
}

wxImage FromRgba(const RgbaImage& rgba)
{
    wxImage image(rgba.width, rgba.height, false);
    image.SetAlpha();
    unsigned char* rgb = image.GetData();
    unsigned char* alpha = image.GetAlpha();
    for (std::size_t i = 0, count = rgba.pixels.size() / 4; i < count; ++i) {
        rgb[i * 3] = rgba.pixels[i * 4];
        rgb[i * 3 + 1] = rgba.pixels[i * 4 + 1];
        rgb[i * 3 + 2] = rgba.pixels[i * 4 + 2];
        alpha[i] = rgba.pixels[i * 4 + 3];
    }
    return image;
}

} // namespace

CColorToolBar::CColorToolBar(wxWindow* parent, wxWindowID id)
    : wxToolBar(parent, id, wxDefaultPosition, wxDefaultSize, wxTB_HORIZONTAL | wxTB_FLAT)
{
}

std::vector<wxImage> CColorToolBar::SliceStrip(const wxImage& strip, int imageWidth)
{
    std::vector<wxImage> images;
    if (!strip.IsOk())
        return images;
    for (const RgbaImage& image : SliceToolbarStrip(ToRgba(strip), imageWidth))
        images.push_back(FromRgba(image));
    return images;
}

bool CColorToolBar::SetTrueColorImageList(int list, unsigned bitmapId, int imageWidth)
{
    return SetTrueColorImageList(list, LoadStrip(bitmapId), imageWidth);
}

bool CColorToolBar::SetTrueColorImageList(int list, const wxImage& strip, int imageWidth)
{
    std::vector<wxImage> images = SliceStrip(strip, imageWidth);
    if (images.empty())
        return false;
    std::vector<wxBitmap>& target = m_images[Index(list)];
    target.clear();
    for (const wxImage& image : images)
        target.emplace_back(image);
    if (list == TB_SETIMAGELIST)
        SetToolBitmapSize(wxSize(imageWidth, strip.GetHeight()));
    return true;
}

void CColorToolBar::AddButtons(const std::vector<Button>& buttons)
{
    std::size_t image = 0;
    for (const Button& button : buttons) {
        if (button.id == 0) {
            AddSeparator();
            continue;
        }
        auto pick = [&](int list) {
            const std::vector<wxBitmap>& images = m_images[list];
            return image < images.size() ? images[image] : wxBitmap();
        };
        wxBitmap normal = pick(TB_SETIMAGELIST);
        if (!normal.IsOk())
            normal = wxBitmap(GetToolBitmapSize());
        AddTool(button.id, button.shortHelp, normal, pick(TB_SETDISABLEDIMAGELIST), wxITEM_NORMAL, button.shortHelp,
                button.longHelp);
        ++image;
    }
    Realize();
}
