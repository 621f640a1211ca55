#pragma once
// Drawing laid-out print items (texts and rules) on a device: shared by the
// parameter report and the compare list.

#include "view/PrintLayout.h"

#include <wx/dc.h>
#include <wx/font.h>

#include <vector>

// font sized on dc so that a line of it is about lineHeight logical units:
// point sizes mean different things on a printer, a preview and a bitmap,
// so the size is measured on the device itself.
wxFont FitFontToDevice(wxDC& dc, wxFont font, double lineHeight);

struct PrintDrawStyle {
    wxFont fonts[3];      // by PrintFont: Title, Label, Row
    int penWidth = 1;
    bool yGrowsUp = false; // the layout's y grows upward from the top edge
};

void DrawPrintItems(wxDC& dc, const std::vector<PrintItem>& items, const PrintDrawStyle& style);
