#pragma once
// The main toolbar: the native wxToolBar (screen readers read it) with its
// button images cut from colour strips of the resource module. A strip may
// carry transparency or the mask colour 0xFEFEFE; both show the toolbar's
// background. wxToolBar has no picture for the button under the mouse, so a
// hot strip is kept but not shown.
//
// A button in the drop-down table carries an arrow; a click on the arrow
// drops the first menu of the record's menu resource under the button, its
// commands going to the record's window.

#include <wx/toolbar.h>

#include <functional>
#include <vector>

class wxMenuBar;

// A drop-down button: its command id, the menu resource whose first menu it
// drops, and the window that gets the menu's commands.
struct ToolBarDropDown {
    int buttonId = 0;
    int menuId = 0;
    wxWindow* owner = nullptr;
};

class CColorToolBar : public wxToolBar {
public:
    // The image lists a strip can be set as.
    enum ImageList : int { TB_SETIMAGELIST = 0, TB_SETHOTIMAGELIST = 1, TB_SETDISABLEDIMAGELIST = 2 };

    struct Button {
        int id = 0; // 0: a separator
        wxString shortHelp;
        wxString longHelp;
    };

    explicit CColorToolBar(wxWindow* parent, wxWindowID id = wxID_ANY);

    // Cuts bitmap bitmapId of the resource module into images of imageWidth
    // pixels as the given image list; false when the bitmap is missing or
    // not a picture, or no whole image fits.
    bool SetTrueColorImageList(int list, unsigned bitmapId, int imageWidth);
    // The same from a picture in memory.
    bool SetTrueColorImageList(int list, const wxImage& strip, int imageWidth);
    // The images of a list, from the left.
    const std::vector<wxBitmap>& GetImages(int list) const { return m_images[Index(list)]; }

    // Adds the buttons in order; image k of the lists goes to the k-th button.
    void AddButtons(const std::vector<Button>& buttons);

    // The strip's images: whole columns of imageWidth, the mask colour made
    // transparent.
    static std::vector<wxImage> SliceStrip(const wxImage& strip, int imageWidth);

    // Where menu resources come from: the menu bar of a resource id (null
    // when there is none), which the toolbar deletes after use.
    using MenuLoader = std::function<wxMenuBar*(int menuId)>;
    void SetMenuLoader(MenuLoader loader) { m_menuLoader = std::move(loader); }
    // Enters a record into the drop-down table; its button (now or when it
    // is added) gets the drop-down arrow.
    void AddDropDown(const ToolBarDropDown& record);
    const std::vector<ToolBarDropDown>& GetDropDowns() const { return m_dropDowns; }
    // The drop-down of a button: its menu dropped at the button's
    // bottom-left corner; false (and nothing shown) for a button without a
    // record or a menu that does not load.
    bool DropDown(int buttonId);
    // A button's rectangle in the toolbar's client coordinates.
    wxRect GetButtonRect(int buttonId) const;

private:
    static int Index(int list) { return list >= 0 && list < 3 ? list : 0; }
    const ToolBarDropDown* FindDropDown(int buttonId) const;
    void OnDropDown(wxCommandEvent& event);

    std::vector<wxBitmap> m_images[3];
    std::vector<ToolBarDropDown> m_dropDowns;
    MenuLoader m_menuLoader;
};
