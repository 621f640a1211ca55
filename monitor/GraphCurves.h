#pragma once
// The chart's curves, kept between paints. A run of samples in one pixel
// column becomes its first, lowest, highest and last sample in time order:
// within a column the line only runs up and down, so it passes the same
// pixels as a line through every sample, and a paint costs what the plot's
// width costs, for a minute of samples as for an hour. A run left or right of
// the plot (hidden by the clip) becomes its first and last sample.
//
// The polylines follow the store as samples arrive (the open column grows)
// and go (the oldest sample sets where every column starts, so the columns
// are walked again, from a copy of the store that holds only what they need).

#include "monitor/GraphLayout.h"

#include <array>
#include <deque>
#include <vector>

using GraphPolylines = std::array<std::vector<GraphPoint>, kGraphChannels>;

class CGraphCurves {
public:
    // The polylines of the recorder's store at plot.
    const GraphPolylines& Update(const GraphRect& plot, const CGraphRecorder& recorder);
    // The same for any store: samples[i] is the (dropped + i)-th sample since
    // the store's reset number generation.
    const GraphPolylines& Update(const GraphRect& plot, const std::deque<GraphSample>& samples, int msPerDivision,
                                 unsigned long long generation, unsigned long long dropped);

private:
    struct Record {
        double clock;
        std::array<double, kGraphChannels> plotted; // for a new plot height
        std::array<int, kGraphChannels> y;
    };

    void SyncCopy(const GraphRect& plot, const std::deque<GraphSample>& samples, unsigned long long generation,
                  unsigned long long dropped);
    void RestartColumns(const GraphRect& plot, int msPerDivision, unsigned long long dropped);
    void Extend(size_t count);
    void CloseRun();
    void EmitRun(int channel);
    int KeyOf(size_t i) const;
    size_t RunEnd(size_t i, int key, size_t count) const;
    const Record& At(size_t i) const { return m_records[m_head + i]; }
    size_t CopySize() const { return m_records.size() - m_head; }

    // The copy of the store: clocks, plotted values and curve rows.
    std::vector<Record> m_records;
    size_t m_head = 0;
    bool m_copyValid = false;
    unsigned long long m_generation = 0;
    unsigned long long m_dropped = 0;
    int m_top = 0;
    int m_bottom = 0;
    // The last sample whose clock is below its predecessor's (an imported
    // file can run backwards); columns are then found sample by sample.
    bool m_haveDescent = false;
    unsigned long long m_lastDescent = 0;

    // The columns: finished runs in m_out up to m_doneCount, one run open.
    bool m_columnsValid = false;
    GraphRect m_plot;
    int m_msPerDivision = 0;
    unsigned long long m_columnsFront = 0;
    bool m_columnsEmpty = false; // begun before the store held a sample
    double m_t0 = 0;
    size_t m_next = 0;
    bool m_open = false;
    int m_key = 0;
    size_t m_first = 0;
    size_t m_last = 0;
    std::array<size_t, kGraphChannels> m_lowAt{};
    std::array<size_t, kGraphChannels> m_highAt{};
    std::array<size_t, kGraphChannels> m_doneCount{};
    GraphPolylines m_out;
};

// The polylines of a store read afresh.
GraphPolylines CurvePolylines(const GraphRect& plot, const std::deque<GraphSample>& samples, int msPerDivision);
std::vector<GraphPoint> CurvePolyline(const GraphRect& plot, const std::deque<GraphSample>& samples, int channel,
                                      int msPerDivision);

// Everything of the chart that lives between paints: the mouse, the
// read-outs and the curves.
struct GraphViewState {
    GraphPoint cursor;
    int highlightedArrow = -1;
    std::array<GraphReadOut, kGraphChannels> readOuts;
    CGraphCurves curves;
    // The curve layer's pixels, kept so that a paint finds its memory ready.
    std::vector<unsigned char> layerCells, layerRgb, layerAlpha;
};

// Sets to value every cell of clip (one byte a pixel, row by row) that the
// polyline lights: the pixels of each segment, both ends included. Points on
// one column light the span between their highest and lowest.
void MarkCurveCells(const GraphRect& clip, const std::vector<GraphPoint>& points, unsigned char value,
                    unsigned char* cells);
