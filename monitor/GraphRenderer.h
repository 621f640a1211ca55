#pragma once
// Draws the chart and the label band on any device context: the screen's
// paint context and the off-screen picture that Save writes.

#include "monitor/GraphCurves.h"

#include <wx/colour.h>
#include <wx/gdicmn.h>

class wxDC;

// The curve colours, yellow, green, red and blue (drawn as cyan).
wxColour GraphCurveColour(int channel);

// The layout of a chart of that size, with the texts measured on dc.
GraphLayout MeasureGraphLayout(wxDC& dc, const wxSize& size);

// The whole chart at the origin of dc. The read-outs in view are renewed for
// the curves drawn; in scrolling mode the time axis moves (see
// CGraphRecorder::TimeAxisLabels).
void DrawGraphChart(wxDC& dc, const wxSize& size, CGraphRecorder& recorder, GraphViewState& view);

// The band under the chart: per curve its name and the recorded maximum and
// minimum, in the curve's colour, in the lowest 110 pixels of band.
constexpr int kGraphLabelBandHeight = 110;
void DrawGraphBand(wxDC& dc, const wxRect& band, const CGraphRecorder& recorder);
// The texts the band shows, to repaint it only when they change.
std::string GraphBandFigures(const CGraphRecorder& recorder);
