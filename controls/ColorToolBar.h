#pragma once
// The main toolbar: the native wxToolBar (screen readers read it) with its
// button images cut from colour strips of the resource module. A strip may
// carry transparency or the mask colour 0xFEFEFE; both show the toolbar's
// background. wxToolBar has no picture for the button under the mouse, so a
// hot strip is kept but not shown.

#include <wx/toolbar.h>

#include <vector>

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

private:
    static int Index(int list) { return list >= 0 && list < 3 ? list : 0; }

    std::vector<wxBitmap> m_images[3];
};
