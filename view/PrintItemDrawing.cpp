#include "view/PrintItemDrawing.h"

wxFont FitFontToDevice(wxDC& dc, wxFont font, double lineHeight)
{
    dc.SetFont(font);
    wxCoord width = 0, height = 0;
    dc.GetTextExtent("Hg", &width, &height);
    if (height > 0)
        font.SetFractionalPointSize(font.GetFractionalPointSize() * lineHeight / height);
    return font;
}

void DrawPrintItems(wxDC& dc, const std::vector<PrintItem>& items, const PrintDrawStyle& style)
{
    dc.SetPen(wxPen(*wxBLACK, style.penWidth));
    dc.SetTextForeground(*wxBLACK);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    const int ySign = style.yGrowsUp ? -1 : 1;
    for (const PrintItem& item : items) {
        if (item.m_kind == PrintItem::Rule) {
            dc.DrawLine(item.m_x, ySign * item.m_y, item.m_x2, ySign * item.m_y2);
            continue;
        }
        if (item.m_strText.empty())
            continue;
        dc.SetFont(style.fonts[static_cast<int>(item.m_font)]);
        wxString text = wxString::FromUTF8(item.m_strText);
        int x = item.m_x;
        if (item.m_bCentered)
            x -= dc.GetTextExtent(text).x / 2;
        dc.DrawText(text, x, ySign * item.m_y);
    }
}
