#include "monitor/GraphCurves.h"

#include <algorithm>
#include <climits>

namespace {

constexpr int kLeftOfPlot = INT_MIN;
constexpr int kRightOfPlot = INT_MAX;

bool SameClock(double a, double b)
{
    return a == b || (a != a && b != b);
}

} // namespace

const GraphPolylines& CGraphCurves::Update(const GraphRect& plot, const CGraphRecorder& recorder)
{
    return Update(plot, recorder.Samples(), recorder.GetMsPerDivision(), recorder.StoreGeneration(),
                  recorder.DroppedSamples());
}

const GraphPolylines& CGraphCurves::Update(const GraphRect& plot, const std::deque<GraphSample>& samples,
                                           int msPerDivision, unsigned long long generation,
                                           unsigned long long dropped)
{
    SyncCopy(plot, samples, generation, dropped);
    // Columns begun on an empty store have no origin yet: the first sample
    // gives it (its clock is whatever the machine's clock read, far from 0).
    bool noOrigin = m_columnsValid && m_columnsEmpty && CopySize() > 0;
    if (!m_columnsValid || noOrigin || !(plot == m_plot) || msPerDivision != m_msPerDivision ||
        dropped != m_columnsFront)
        RestartColumns(plot, msPerDivision, dropped);
    Extend(CopySize());
    for (int c = 0; c < kGraphChannels; ++c) {
        m_out[c].resize(m_doneCount[c]);
        if (m_open)
            EmitRun(c);
    }
    return m_out;
}

void CGraphCurves::SyncCopy(const GraphRect& plot, const std::deque<GraphSample>& samples,
                            unsigned long long generation, unsigned long long dropped)
{
    bool fresh = !m_copyValid || generation != m_generation || dropped < m_dropped ||
                 dropped - m_dropped > CopySize();
    if (!fresh) {
        m_head += static_cast<size_t>(dropped - m_dropped);
        m_dropped = dropped;
        size_t have = CopySize();
        // The store only grows at the back between resets; anything else is
        // read afresh.
        fresh = have > samples.size() ||
                (have > 0 && (!SameClock(At(0).clock, samples.front().clock) ||
                              !SameClock(At(have - 1).clock, samples[have - 1].clock)));
    }
    if (fresh) {
        m_records.clear();
        m_head = 0;
        m_copyValid = true;
        m_generation = generation;
        m_dropped = dropped;
        m_haveDescent = false;
        m_columnsValid = false;
        m_records.reserve(samples.size() + 64);
    } else if (m_head > 4096 && 2 * m_head > m_records.size()) {
        m_records.erase(m_records.begin(), m_records.begin() + static_cast<std::ptrdiff_t>(m_head));
        m_head = 0;
    }
    if (plot.top != m_top || plot.bottom != m_bottom) {
        m_top = plot.top;
        m_bottom = plot.bottom;
        for (size_t i = m_head; i < m_records.size(); ++i)
            for (int c = 0; c < kGraphChannels; ++c)
                m_records[i].y[c] = CurveY(plot, m_records[i].plotted[c]);
        m_columnsValid = false;
    }
    for (size_t i = CopySize(); i < samples.size(); ++i) {
        const GraphSample& sample = samples[i];
        Record record;
        record.clock = sample.clock;
        record.plotted = sample.plotted;
        for (int c = 0; c < kGraphChannels; ++c)
            record.y[c] = CurveY(plot, sample.plotted[c]);
        if (i > 0 && !(record.clock >= At(i - 1).clock)) {
            m_haveDescent = true;
            m_lastDescent = m_dropped + i;
        }
        m_records.push_back(record);
    }
}

void CGraphCurves::RestartColumns(const GraphRect& plot, int msPerDivision, unsigned long long dropped)
{
    m_columnsValid = true;
    m_plot = plot;
    m_msPerDivision = msPerDivision;
    m_columnsFront = dropped;
    m_columnsEmpty = CopySize() == 0;
    m_t0 = m_columnsEmpty ? 0 : At(0).clock;
    m_next = 0;
    m_open = false;
    for (int c = 0; c < kGraphChannels; ++c) {
        m_out[c].clear();
        m_doneCount[c] = 0;
    }
}

int CGraphCurves::KeyOf(size_t i) const
{
    int x = CurveX(m_plot, At(i).clock, m_t0, m_msPerDivision);
    if (x < m_plot.left)
        return kLeftOfPlot;
    if (x > m_plot.right)
        return kRightOfPlot;
    return x;
}

size_t CGraphCurves::RunEnd(size_t i, int key, size_t count) const
{
    bool ordered = !m_haveDescent || m_lastDescent <= m_dropped;
    if (!ordered) {
        size_t j = i + 1;
        while (j < count && KeyOf(j) == key)
            ++j;
        return j;
    }
    // Clocks in order: the run is contiguous. Gallop, then halve.
    size_t low = i;
    size_t high = count;
    for (size_t step = 1;; step *= 2) {
        size_t probe = low + step;
        if (probe >= count)
            break;
        if (KeyOf(probe) != key) {
            high = probe;
            break;
        }
        low = probe;
    }
    while (high - low > 1) {
        size_t mid = low + (high - low) / 2;
        if (KeyOf(mid) == key)
            low = mid;
        else
            high = mid;
    }
    return high;
}

void CGraphCurves::Extend(size_t count)
{
    while (m_next < count) {
        size_t i = m_next;
        int key = KeyOf(i);
        size_t end = RunEnd(i, key, count);
        if (m_open && key != m_key)
            CloseRun();
        if (!m_open) {
            m_open = true;
            m_key = key;
            m_first = i;
            m_lowAt.fill(i);
            m_highAt.fill(i);
        }
        if (key != kLeftOfPlot && key != kRightOfPlot) {
            std::array<int, kGraphChannels> low, high;
            for (int c = 0; c < kGraphChannels; ++c) {
                low[c] = At(m_lowAt[c]).y[c];
                high[c] = At(m_highAt[c]).y[c];
            }
            for (size_t j = i; j < end; ++j) {
                const Record& record = At(j);
                // Screen y grows downwards: the lowest value has the largest y.
                for (int c = 0; c < kGraphChannels; ++c) {
                    if (record.y[c] > low[c]) {
                        low[c] = record.y[c];
                        m_lowAt[c] = j;
                    }
                    if (record.y[c] < high[c]) {
                        high[c] = record.y[c];
                        m_highAt[c] = j;
                    }
                }
            }
        }
        m_last = end - 1;
        m_next = end;
    }
}

void CGraphCurves::CloseRun()
{
    for (int c = 0; c < kGraphChannels; ++c) {
        m_out[c].resize(m_doneCount[c]);
        EmitRun(c);
        m_doneCount[c] = m_out[c].size();
    }
    m_open = false;
}

void CGraphCurves::EmitRun(int c)
{
    std::array<size_t, 4> at{m_first, m_lowAt[c], m_highAt[c], m_last};
    size_t count = 4;
    if (m_key == kLeftOfPlot || m_key == kRightOfPlot) {
        at[1] = m_last;
        count = 2;
    }
    std::sort(at.begin(), at.begin() + static_cast<std::ptrdiff_t>(count));
    std::vector<GraphPoint>& out = m_out[c];
    size_t start = out.size();
    for (size_t k = 0; k < count; ++k) {
        const Record& record = At(at[k]);
        GraphPoint point{CurveX(m_plot, record.clock, m_t0, m_msPerDivision), record.y[c]};
        if (out.size() == start || !(out.back() == point))
            out.push_back(point);
    }
    // Several samples on one pixel light it even when they are one point: a
    // curve of that run alone still shows.
    if (out.size() - start == 1 && m_last != m_first)
        out.push_back(out.back());
}

GraphPolylines CurvePolylines(const GraphRect& plot, const std::deque<GraphSample>& samples, int msPerDivision)
{
    CGraphCurves curves;
    return curves.Update(plot, samples, msPerDivision, 0, 0);
}

std::vector<GraphPoint> CurvePolyline(const GraphRect& plot, const std::deque<GraphSample>& samples, int channel,
                                      int msPerDivision)
{
    return CurvePolylines(plot, samples, msPerDivision)[channel];
}

void MarkCurveCells(const GraphRect& clip, const std::vector<GraphPoint>& points, unsigned char value,
                    unsigned char* cells)
{
    const size_t width = static_cast<size_t>(clip.Width());
    auto put = [&](int x, int y) {
        cells[static_cast<size_t>(y - clip.top) * width + static_cast<size_t>(x - clip.left)] = value;
    };
    const size_t n = points.size();
    size_t i = 0;
    while (i + 1 < n) {
        // The run of points on this column: its segments are one span.
        size_t j = i;
        int low = points[i].y, high = points[i].y;
        while (j + 1 < n && points[j + 1].x == points[i].x) {
            ++j;
            low = std::min(low, points[j].y);
            high = std::max(high, points[j].y);
        }
        int x = points[i].x;
        if (j > i && x >= clip.left && x < clip.right) {
            int from = std::max(low, clip.top);
            int to = std::min(high, clip.bottom - 1);
            unsigned char* cell = cells + static_cast<size_t>(std::max(from - clip.top, 0)) * width +
                                  static_cast<size_t>(x - clip.left);
            for (int y = from; y <= to; ++y, cell += width)
                *cell = value;
        }
        if (j + 1 < n)
            ForEachSegmentPixel(clip, points[j], points[j + 1], put);
        i = j + 1;
    }
}
