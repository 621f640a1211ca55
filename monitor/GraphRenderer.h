#pragma once
// Draws the chart and the label band on any device context: the screen's
// paint context and the off-screen picture that Save writes.

#include "monitor/GraphCurves.h"

#include <wx/colour.h>
#include <wx/gdicmn.h>

class wxDC;

// The curve colours, yellow, green, red and blue (drawn as cyan).
wxColour GraphCurveColour(int channel);

// The layout of a chart of that size, with the texts measured on dc (the
// recorder's scale labels set the plot's left margin).
GraphLayout MeasureGraphLayout(wxDC& dc, const wxSize& size, const CGraphRecorder& recorder);

// Where the texts inside the chart go, as drawn: the scale labels (channel c,
// grid line k at [c][k]) and the read-outs in view (one box per channel, empty
// for a channel without one).
struct GraphTextPlaces {
    std::array<std::array<GraphRect, 5>, kGraphChannels> scaleLabels;
    std::array<GraphRect, kGraphChannels> readOuts;
};
GraphTextPlaces PlaceGraphTexts(wxDC& dc, const GraphLayout& layout, const CGraphRecorder& recorder,
                                const GraphViewState& view);

// The whole chart at the origin of dc. The read-outs in view are renewed for
// the curves drawn; in scrolling mode the time axis moves (see
// CGraphRecorder::TimeAxisLabels). withCursor false draws the chart alone,
// as a saved picture holds it: no cursor line, no read-outs.
void DrawGraphChart(wxDC& dc, const wxSize& size, CGraphRecorder& recorder, GraphViewState& view,
                    bool withCursor = true);

// The smallest chart on which every text stays readable.
wxSize GraphChartMinSize(wxDC& dc, const CGraphRecorder& recorder);

// The band under the chart: per curve its name and the recorded maximum and
// minimum, in the curve's colour, in the lowest 110 pixels of band.
constexpr int kGraphLabelBandHeight = 110;
void DrawGraphBand(wxDC& dc, const wxRect& band, const CGraphRecorder& recorder);
// The texts the band shows, to repaint it only when they change.
std::string GraphBandFigures(const CGraphRecorder& recorder);
