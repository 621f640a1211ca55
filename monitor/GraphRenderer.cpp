#include "monitor/GraphRenderer.h"

#include "monitor/GraphQuantities.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"

#include <wx/dc.h>
#include <wx/bitmap.h>
#include <wx/font.h>
#include <wx/image.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const wxColour kBackground(0x00, 0x00, 0x33);
const wxColour kPanel(0x22, 0x22, 0x44);
const wxColour kGrid(0xC0, 0xC0, 0xC0);
const wxColour kLightEdge(0xFF, 0xFF, 0xFF);
const wxColour kDarkEdge(0x55, 0x55, 0x55);
const wxColour kArrow(0xC0, 0xC0, 0xC0);
const wxColour kArrowHighlighted(0x00, 0xFF, 0x00);
const wxColour kBand(34, 34, 37);

wxColour ScaleLabelColour(int channel)
{
    static const wxColour colours[] = {wxColour(255, 255, 0), wxColour(0, 255, 0), wxColour(255, 0, 0),
                                       wxColour(0, 255, 255)};
    return colours[channel];
}

wxFont LegendFont()
{
    return wxFont(wxFontInfo(12).FaceName("Fixedsys").Family(wxFONTFAMILY_TELETYPE));
}

wxFont LabelFont()
{
    return wxFont(wxFontInfo(wxSize(0, 15)).FaceName("Arial").Family(wxFONTFAMILY_SWISS).Light());
}

wxFont LayoutFont()
{
    return wxFont(wxFontInfo(12).FaceName("Times New Roman").Family(wxFONTFAMILY_ROMAN));
}

wxRect ToWx(const GraphRect& r)
{
    return wxRect(r.left, r.top, r.Width(), r.Height());
}

wxString Utf8(const std::string& text)
{
    return wxString::FromUTF8(text);
}

std::string TwoDecimals(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

void Line(wxDC& dc, const wxColour& colour, int x0, int y0, int x1, int y1)
{
    dc.SetPen(wxPen(colour, 1));
    dc.DrawLine(x0, y0, x1, y1);
}

void FillRect(wxDC& dc, const GraphRect& r, const wxColour& colour)
{
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(colour));
    dc.DrawRectangle(ToWx(r));
}

void SunkenEdge(wxDC& dc, const wxRect& r)
{
    Line(dc, kDarkEdge, r.GetLeft(), r.GetTop(), r.GetRight(), r.GetTop());
    Line(dc, kDarkEdge, r.GetLeft(), r.GetTop(), r.GetLeft(), r.GetBottom());
    Line(dc, kLightEdge, r.GetLeft(), r.GetBottom(), r.GetRight() + 1, r.GetBottom());
    Line(dc, kLightEdge, r.GetRight(), r.GetTop(), r.GetRight(), r.GetBottom());
}

// Text in a box: vertically centred, aligned left, right or centred.
void TextInBox(wxDC& dc, const wxString& text, const GraphRect& box, GraphAlign align, int inset = 0)
{
    wxSize extent = dc.GetTextExtent(text);
    int y = box.top + (box.Height() - extent.y) / 2;
    int x = box.left + inset;
    if (align == GraphAlign::Right)
        x = box.right - extent.x;
    else if (align == GraphAlign::Centre)
        x = box.left + (box.Width() - extent.x) / 2;
    dc.DrawText(text, x, y);
}

void DrawPanel(wxDC& dc, const GraphLayout& layout)
{
    const GraphRect& p = layout.panel;
    FillRect(dc, p, kPanel);
    Line(dc, kLightEdge, p.left, p.top, p.left, p.bottom);
    Line(dc, kLightEdge, p.left, p.top, p.right, p.top);
    Line(dc, kDarkEdge, p.right, p.top, p.right, p.bottom);
    Line(dc, kDarkEdge, p.left, p.bottom, p.right, p.bottom);
}

void DrawGrid(wxDC& dc, const GraphLayout& layout)
{
    const GraphRect& p = layout.plot;
    FillRect(dc, p, *wxBLACK);
    Line(dc, kDarkEdge, p.left, p.top, p.left, p.bottom);
    Line(dc, kDarkEdge, p.left, p.top, p.right, p.top);
    Line(dc, kLightEdge, p.right, p.top, p.right, p.bottom);
    Line(dc, kLightEdge, p.left, p.bottom, p.right, p.bottom);
    dc.SetClippingRegion(ToWx(layout.plotClip));
    dc.SetPen(wxPen(kGrid, 1));
    for (int k = 1; k <= 3; ++k) {
        int y = p.bottom - k * (p.Height() / 4);
        dc.DrawLine(p.left, y, p.right, y);
        int x = p.left + (p.Width() * k) / 4;
        dc.DrawLine(x, p.top, x, p.bottom);
    }
    dc.DestroyClippingRegion();
}

void DrawCurves(wxDC& dc, const GraphLayout& layout, CGraphRecorder& recorder, GraphViewState& view,
                bool withCursor)
{
    const auto& samples = recorder.Samples();
    const GraphRect& clip = layout.plotClip;
    if (clip.Width() <= 0 || clip.Height() <= 0)
        return;
    // The curves are rasterized into one byte a pixel (the topmost curve's
    // number) and put on the grid as one transparent layer: a stroked
    // polyline that doubles back in every pixel column costs many times its
    // pixels, and an hour of samples lights a great many of them.
    const size_t width = static_cast<size_t>(clip.Width());
    const size_t count = width * static_cast<size_t>(clip.Height());
    std::vector<unsigned char>& cells = view.layerCells;
    cells.assign(count, 0);
    bool drawn = false;
    const GraphPolylines& polylines = view.curves.Update(layout.plot, recorder);
    for (int c = 0; c < kGraphChannels; ++c) {
        if (!recorder.IsChannelShown(c))
            continue;
        const GraphChannel& ch = recorder.m_Channels[c];
        GraphReadOut readOut;
        if (withCursor && layout.plot.Contains(view.cursor.x, view.cursor.y))
            readOut = ReadOutAt(layout.plot, samples, c, recorder.GetMsPerDivision(), view.cursor.x, ch.scaleFactor,
                                ch.minimum);
        if (readOut.found)
            view.readOuts[c] = readOut;
        else
            view.readOuts[c].text.clear();
        if (polylines[c].size() < 2)
            continue;
        MarkCurveCells(clip, polylines[c], static_cast<unsigned char>(c + 1), cells.data());
        drawn = true;
    }
    if (drawn) {
        unsigned char colours[kGraphChannels + 1][3] = {};
        for (int c = 0; c < kGraphChannels; ++c) {
            wxColour colour = GraphCurveColour(c);
            colours[c + 1][0] = colour.Red();
            colours[c + 1][1] = colour.Green();
            colours[c + 1][2] = colour.Blue();
        }
        view.layerRgb.resize(3 * count);
        view.layerAlpha.resize(count);
        unsigned char* rgb = view.layerRgb.data();
        unsigned char* alpha = view.layerAlpha.data();
        for (size_t at = 0; at < count; ++at) {
            const unsigned char* colour = colours[cells[at]];
            rgb[3 * at] = colour[0];
            rgb[3 * at + 1] = colour[1];
            rgb[3 * at + 2] = colour[2];
            alpha[at] = cells[at] ? 255 : 0;
        }
        wxImage layer(clip.Width(), clip.Height(), rgb, alpha, true); // the view keeps the pixels
        dc.DrawBitmap(wxBitmap(layer), clip.left, clip.top, false); // its alpha lets the grid through
    }
    if (withCursor && layout.plot.Contains(view.cursor.x, view.cursor.y))
        Line(dc, kLightEdge, view.cursor.x, layout.plot.top, view.cursor.x, layout.plot.bottom);
}

bool IsReadOutShown(const GraphLayout& layout, const GraphReadOut& r)
{
    return !r.text.empty() && layout.plot.ContainsInclusive(r.anchor.x, r.anchor.y);
}

void DrawReadOuts(wxDC& dc, const GraphLayout& layout, const GraphViewState& view, const GraphTextPlaces& places)
{
    dc.SetFont(LabelFont());
    for (int c = 0; c < kGraphChannels; ++c) {
        const GraphReadOut& r = view.readOuts[c];
        if (!IsReadOutShown(layout, r))
            continue;
        dc.SetTextForeground(GraphCurveColour(c));
        TextInBox(dc, Utf8(r.text), places.readOuts[c], GraphAlign::Left);
    }
}

void DrawArrow(wxDC& dc, const GraphTriangle& t, bool highlighted)
{
    wxPoint points[3];
    for (int i = 0; i < 3; ++i)
        points[i] = wxPoint(t[i].x, t[i].y);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(highlighted ? kArrowHighlighted : kArrow));
    dc.DrawPolygon(3, points);
}

void DrawLegendAndValues(wxDC& dc, const GraphLayout& layout, const CGraphRecorder& recorder)
{
    dc.SetFont(LegendFont());
    for (int c = 0; c < kGraphChannels; ++c) {
        const GraphChannel& ch = recorder.m_Channels[c];
        dc.SetTextForeground(GraphCurveColour(c));
        dc.SetClippingRegion(ToWx(layout.legendBoxes[c]));
        TextInBox(dc, Utf8(ch.name), layout.legendBoxes[c], GraphAlign::Right);
        dc.DestroyClippingRegion();
        const GraphRect& box = layout.valueBoxes[c];
        FillRect(dc, box, *wxBLACK);
        SunkenEdge(dc, ToWx(box));
        TextInBox(dc, Utf8(TwoDecimals(ch.currentValue)), box, GraphAlign::Left, 3);
    }
}

void DrawScaleLabels(wxDC& dc, const CGraphRecorder& recorder, const GraphTextPlaces& places)
{
    dc.SetFont(LabelFont());
    for (int c = 0; c < kGraphChannels; ++c) {
        dc.SetTextForeground(ScaleLabelColour(c));
        for (int k = 0; k < 5; ++k) {
            const GraphRect& box = places.scaleLabels[c][k];
            dc.DrawText(Utf8(recorder.m_Channels[c].scaleLabels[k]), box.left, box.top);
        }
    }
}

// The widths of the two label columns (next to the plot, and left of it) and
// the labels' height, in the label font.
struct ScaleColumns {
    int inner = 0;
    int outer = 0;
    int height = 0;
};

ScaleColumns MeasureScaleColumns(wxDC& dc, const CGraphRecorder& recorder)
{
    dc.SetFont(LabelFont());
    ScaleColumns columns;
    columns.height = dc.GetTextExtent("0").y;
    for (int c = 0; c < kGraphChannels; ++c) {
        for (const std::string& label : recorder.m_Channels[c].scaleLabels) {
            wxSize extent = dc.GetTextExtent(Utf8(label));
            int& width = c % 2 ? columns.inner : columns.outer;
            width = std::max(width, extent.x);
            columns.height = std::max(columns.height, extent.y);
        }
    }
    return columns;
}

void DrawTimeLabels(wxDC& dc, const GraphLayout& layout, CGraphRecorder& recorder)
{
    // The colour of the last scale labels carries over, as it always has.
    dc.SetFont(LabelFont());
    bool scrolling = recorder.IsAxisScrolling();
    auto labels = recorder.TimeAxisLabels();
    for (int j = 0; j < 5; ++j) {
        wxString text = Utf8(labels[j].Text());
        wxSize extent = dc.GetTextExtent(text);
        GraphLabelAnchor anchor = TimeLabelAnchor(layout.plot, j, scrolling);
        int x = anchor.x;
        if (anchor.align == GraphAlign::Right)
            x -= extent.x;
        else if (anchor.align == GraphAlign::Centre)
            x -= extent.x / 2;
        dc.DrawText(text, x, layout.plot.bottom + 2);
    }
}

} // namespace

wxColour GraphCurveColour(int channel)
{
    static const wxColour colours[] = {wxColour(0xFF, 0xE6, 0x28), wxColour(0, 0xFF, 0), wxColour(0xFF, 0, 0),
                                       wxColour(0, 0xFF, 0xFF)};
    return colours[channel];
}

GraphLayout MeasureGraphLayout(wxDC& dc, const wxSize& size, const CGraphRecorder& recorder)
{
    ScaleColumns columns = MeasureScaleColumns(dc, recorder);
    dc.SetFont(LayoutFont());
    wxSize value = dc.GetTextExtent(Utf8(LoadResString(IDS_GRAPH_VALUE)));
    wxSize degree = dc.GetTextExtent(Utf8(LoadResString(IDS_GRAPH_DEGREE)));
    return ComputeGraphLayout(size.x, size.y, value.x, value.y, degree.x,
                              ScaleLabelMargin(columns.inner, columns.outer));
}

GraphTextPlaces PlaceGraphTexts(wxDC& dc, const GraphLayout& layout, const CGraphRecorder& recorder,
                                const GraphViewState& view)
{
    GraphTextPlaces places;
    ScaleColumns columns = MeasureScaleColumns(dc, recorder);
    for (int c = 0; c < kGraphChannels; ++c) {
        for (int k = 0; k < 5; ++k) {
            int width = dc.GetTextExtent(Utf8(recorder.m_Channels[c].scaleLabels[k])).x;
            places.scaleLabels[c][k] = ScaleLabelRect(layout.plot, c, k, width, columns.height, columns.inner);
        }
    }
    std::vector<GraphRect> earlier;
    for (int c = 0; c < kGraphChannels; ++c) {
        const GraphReadOut& r = view.readOuts[c];
        if (!IsReadOutShown(layout, r))
            continue;
        wxSize extent = dc.GetTextExtent(Utf8(r.text));
        places.readOuts[c] = ReadOutBox(r.anchor, extent.x, extent.y, layout.plot, earlier);
        earlier.push_back(places.readOuts[c]);
    }
    return places;
}

wxSize GraphChartMinSize(wxDC& dc, const CGraphRecorder& recorder)
{
    ScaleColumns columns = MeasureScaleColumns(dc, recorder);
    int timeWidth = dc.GetTextExtent("00:00:00.000").x;
    // Label 0 starts at the plot's left, label 1 is centred a quarter further.
    int plotWidth = 4 * (3 * timeWidth / 2 + 12);
    int left = 3 + std::max(50, ScaleLabelMargin(columns.inner, columns.outer));
    // Plot to panel: 5 above, 25 below; the panel 2 from the top, 60 from the bottom.
    int height = 2 + 5 + ScaleLabelsMinPlotHeight(columns.height) + 25 + 60;
    return wxSize(left + plotWidth + 24, height);
}

void DrawGraphChart(wxDC& dc, const wxSize& size, CGraphRecorder& recorder, GraphViewState& view, bool withCursor)
{
    GraphLayout layout = MeasureGraphLayout(dc, size, recorder);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(kBackground));
    dc.DrawRectangle(0, 0, size.x, size.y);
    DrawPanel(dc, layout);
    DrawGrid(dc, layout);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    DrawCurves(dc, layout, recorder, view, withCursor);
    GraphTextPlaces places = PlaceGraphTexts(dc, layout, recorder, view);
    DrawReadOuts(dc, layout, view, places);
    DrawArrow(dc, layout.increaseArrow, view.highlightedArrow == 0);
    DrawArrow(dc, layout.decreaseArrow, view.highlightedArrow == 1);
    DrawLegendAndValues(dc, layout, recorder);
    DrawScaleLabels(dc, recorder, places);
    DrawTimeLabels(dc, layout, recorder);
}

std::string GraphBandFigures(const CGraphRecorder& recorder)
{
    std::string figures;
    for (const GraphChannel& ch : recorder.m_Channels)
        figures += ch.name + "\n" + TwoDecimals(ch.recordedMax) + "\n" + TwoDecimals(ch.recordedMin) + "\n";
    return figures;
}

void DrawGraphBand(wxDC& dc, const wxRect& band, const CGraphRecorder& recorder)
{
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(kBand));
    dc.DrawRectangle(band);
    dc.SetFont(LegendFont());
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    int lineHeight = dc.GetTextExtent("Ag").y;
    int top = band.GetBottom() + 1 - kGraphLabelBandHeight;
    int column = band.GetWidth() / kGraphChannels;
    for (int c = 0; c < kGraphChannels; ++c) {
        const GraphChannel& ch = recorder.m_Channels[c];
        int left = band.GetLeft() + c * column + 6;
        int width = column - 12;
        wxRect nameBox(left, top + 8, width, lineHeight + 8);
        wxRect figureBox(left, nameBox.GetBottom() + 6, width, 2 * lineHeight + 12);
        SunkenEdge(dc, nameBox);
        SunkenEdge(dc, figureBox);
        dc.SetTextForeground(c == 0 ? wxColour(255, 230, 40) : GraphCurveColour(c));
        dc.SetClippingRegion(nameBox.Deflate(2));
        dc.DrawText(Utf8(ch.name), nameBox.GetLeft() + 4, nameBox.GetTop() + 4);
        dc.DestroyClippingRegion();
        dc.SetClippingRegion(figureBox.Deflate(2));
        dc.DrawText(Utf8("Max:" + TwoDecimals(ch.recordedMax)), figureBox.GetLeft() + 4, figureBox.GetTop() + 4);
        dc.DrawText(Utf8("Min:" + TwoDecimals(ch.recordedMin)), figureBox.GetLeft() + 4,
                    figureBox.GetTop() + 8 + lineHeight);
        dc.DestroyClippingRegion();
    }
}
