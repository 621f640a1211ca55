#include "controls/ColorToolBar.h"

#include "controls/ToolbarStrip.h"
#include "platform/ResourceModule.h"

#include <wx/image.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/mstream.h>

#include <gtk/gtk.h>

#include <memory>

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
    Bind(wxEVT_TOOL_DROPDOWN, &CColorToolBar::OnDropDown, this);
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
        AddTool(button.id, button.shortHelp, normal, pick(TB_SETDISABLEDIMAGELIST),
                FindDropDown(button.id) ? wxITEM_DROPDOWN : wxITEM_NORMAL, button.shortHelp, button.longHelp);
        ++image;
    }
    Realize();
}

const ToolBarDropDown* CColorToolBar::FindDropDown(int buttonId) const
{
    for (const ToolBarDropDown& record : m_dropDowns)
        if (record.buttonId == buttonId)
            return &record;
    return nullptr;
}

void CColorToolBar::AddDropDown(const ToolBarDropDown& record)
{
    const bool known = FindDropDown(record.buttonId) != nullptr;
    m_dropDowns.push_back(record);
    const int position = GetToolPos(record.buttonId);
    if (known || position == wxNOT_FOUND)
        return;
    // The arrow is part of how a button is made: it is made again, in its place.
    const wxToolBarToolBase* tool = FindById(record.buttonId);
    const wxString label = tool->GetLabel();
    const wxBitmap normal = tool->GetNormalBitmap();
    const wxBitmap disabled = tool->GetDisabledBitmap();
    const wxString shortHelp = tool->GetShortHelp();
    const wxString longHelp = tool->GetLongHelp();
    const bool enabled = tool->IsEnabled();
    DeleteTool(record.buttonId);
    InsertTool(static_cast<std::size_t>(position), record.buttonId, label, normal, disabled, wxITEM_DROPDOWN,
               shortHelp, longHelp);
    EnableTool(record.buttonId, enabled);
    Realize();
}

wxRect CColorToolBar::GetButtonRect(int buttonId) const
{
    const int position = GetToolPos(buttonId);
    if (position == wxNOT_FOUND)
        return wxRect();
    // wxToolBar tells no button's place; GTK's toolbar does (inside the
    // event box that is the wx window).
    GtkWidget* window = GetHandle();
    GtkWidget* bar = window;
    if (!GTK_IS_TOOLBAR(bar) && GTK_IS_BIN(bar))
        bar = gtk_bin_get_child(GTK_BIN(bar));
    if (!bar || !GTK_IS_TOOLBAR(bar))
        return wxRect();
    GtkToolItem* item = gtk_toolbar_get_nth_item(GTK_TOOLBAR(bar), position);
    if (!item)
        return wxRect();
    GtkWidget* widget = GTK_WIDGET(item);
    int x = 0;
    int y = 0;
    if (!gtk_widget_translate_coordinates(widget, window, 0, 0, &x, &y))
        return wxRect();
    return wxRect(x, y, gtk_widget_get_allocated_width(widget), gtk_widget_get_allocated_height(widget));
}

bool CColorToolBar::DropDown(int buttonId)
{
    const ToolBarDropDown* record = FindDropDown(buttonId);
    if (!record || !m_menuLoader)
        return false;
    std::unique_ptr<wxMenuBar> bar(m_menuLoader(record->menuId));
    if (!bar || bar->GetMenuCount() == 0)
        return false;
    std::unique_ptr<wxMenu> menu(bar->Remove(0));
    wxWindow* owner = record->owner ? record->owner : GetParent();
    const wxRect button = GetButtonRect(buttonId);
    const wxPoint corner = owner->ScreenToClient(ClientToScreen(wxPoint(button.x, button.y + button.height)));
    owner->PopupMenu(menu.get(), corner);
    return true;
}

void CColorToolBar::OnDropDown(wxCommandEvent& event)
{
    // A button without a record drops nothing, not even the tool's own menu.
    DropDown(event.GetId());
}
