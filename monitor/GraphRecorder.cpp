#include "monitor/GraphRecorder.h"

#include "link/ModbusRequest.h"
#include "monitor/GraphQuantities.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

std::string TwoDecimals(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

} // namespace

CGraphRecorder::CGraphRecorder(IGraphClock& clock) : m_clock(clock)
{
    for (auto& channel : m_Channels) {
        channel.name = LoadResString(IDS_NO_DISPLAY);
        channel.maxText = "10.00";
        channel.minText = "0.00";
    }
    ApplyScaleRule();
}

void CGraphRecorder::SetChannel(int channel, const std::string& name, const std::string& maxText,
                                const std::string& minText)
{
    GraphChannel& ch = m_Channels[channel];
    if (FindGraphQuantity(ch.name) != FindGraphQuantity(name))
        ch.restartExtremes = true;
    ch.name = name;
    ch.maxText = maxText;
    ch.minText = minText;
}

void CGraphRecorder::ApplyScaleRule()
{
    for (auto& ch : m_Channels) {
        double max = std::atof(ch.maxText.c_str());
        double min = std::atof(ch.minText.c_str());
        // A scale of no height (only a hand-edited project can hold one) draws
        // the curve on the bottom edge rather than dividing by zero.
        ch.scaleFactor = max != min ? 4.0 * kGraphUnitsPerDivision / (max - min) : 0.0;
        ch.minimum = static_cast<float>(min);
        double quarter = 0.25 * (max - min);
        ch.scaleLabels[0] = ch.minText;
        for (int k = 1; k <= 3; ++k)
            ch.scaleLabels[k] = TwoDecimals(min + k * quarter);
        ch.scaleLabels[4] = ch.maxText;
    }
}

bool CGraphRecorder::IsChannelShown(int channel) const
{
    return !SameGraphName(m_Channels[channel].name, LoadResString(IDS_NO_DISPLAY));
}

void CGraphRecorder::StartSampling()
{
    ResetSamples();
    m_TimeAxisBase = m_StartTimeOfDay = m_clock.LocalTime();
    m_dStartClock = m_clock.MonotonicSeconds();
    for (auto& ch : m_Channels)
        ch.restartExtremes = true;
    m_bSampling = true;
    m_bFirstSample = true;
}

void CGraphRecorder::StopSampling()
{
    m_bSampling = false;
    m_bFirstSample = false;
}

GraphTick CGraphRecorder::SampleTick(CSerialComm* link, int modelCode)
{
    if (!m_bSampling)
        return GraphTick::Idle;
    if (m_bSuspended)
        return GraphTick::Suspended;
    return TakeReading(ReadMonitorBlock(link, m_nStation, GraphRegisterCount(modelCode)));
}

GraphReading CGraphRecorder::ReadMonitorBlock(CSerialComm* link, int station, int count, RequestPace pace,
                                              const std::atomic<bool>* abandoned)
{
    GraphReading reading;
    reading.count = count;
    CModbusRequest request(link, pace, abandoned);
    reading.reply = request.ReadHolding(static_cast<uint8_t>(station), kGraphMonitorFirst,
                                        static_cast<uint16_t>(count), reading.words.data());
    return reading;
}

GraphTick CGraphRecorder::TakeReading(const GraphReading& reading)
{
    if (!m_bSampling)
        return GraphTick::Idle;
    const ModbusReply& reply = reading.reply;
    const int count = reading.count;
    const uint16_t* words = reading.words.data();
    unsigned message = 0;
    if (reply.result == 1)
        message = IDS_CRC_ERROR;
    else if (reply.result == 2)
        message = IDS_TIMEOUT;
    else if (reply.result == 3 || reply.Refused())
        message = IDS_COMM_ERROR;
    else if (reply.result != 0)
        return GraphTick::Lost;
    if (message) {
        StopSampling();
        AfxMessageBox(message);
        return GraphTick::Stopped;
    }

    GraphSample sample;
    sample.clock = m_clock.MonotonicSeconds();
    m_dNewestClock = sample.clock;
    GraphTimeOfDay now = m_clock.LocalTime();
    sample.timeOfDay = now.hour * 3600.0 + now.minute * 60.0 + now.second + now.millisecond * 0.001;
    sample.timeText = now.Text();
    std::array<double, kGraphChannels> values{};
    for (int c = 0; c < kGraphChannels; ++c) {
        std::string text = GetChannelValueText(m_Channels[c].name, words, count, values[c], c);
        m_Channels[c].currentText = text;
        sample.valueTexts[c] = std::move(text);
    }
    m_bFirstSample = false;
    for (int c = 0; c < kGraphChannels; ++c)
        sample.plotted[c] = (values[c] - m_Channels[c].minimum) * m_Channels[c].scaleFactor;
    if (!m_bRunHasSamples) {
        m_bRunHasSamples = true;
        m_dRunFirstClock = sample.clock;
    }
    m_dRunLastClock = sample.clock;
    AppendSamples(sample);
    SetCurrentValues(values);
    return GraphTick::Sampled;
}

std::string CGraphRecorder::GetChannelValueText(const std::string& name, const uint16_t* words, int wordCount,
                                                double& value, int channel)
{
    int quantity = FindGraphQuantity(name);
    int raw = 0;
    std::string text = GraphValueText(quantity, words, wordCount, value, raw);
    if (quantity >= 0)
        UpdateRecordedExtremes(quantity, channel, raw);
    return text;
}

void CGraphRecorder::UpdateRecordedExtremes(int quantity, int channel, int raw)
{
    if (quantity < 0 || quantity >= kGraphQuantityCount)
        return;
    GraphChannel& ch = m_Channels[channel];
    int k = GetGraphQuantity(quantity).rawFactor;
    double value = static_cast<double>(raw) / k;
    if (ch.restartExtremes) {
        ch.recordedMax = ch.recordedMin = value;
        ch.restartExtremes = false;
        return;
    }
    // Compared in the drive's units, as the words arrive.
    int maxRaw = static_cast<int>(ch.recordedMax * k);
    int minRaw = static_cast<int>(ch.recordedMin * k);
    if (raw > maxRaw)
        ch.recordedMax = value;
    if (raw < minRaw)
        ch.recordedMin = value;
}

void CGraphRecorder::AppendSamples(const GraphSample& sample)
{
    m_Samples.push_back(sample);
    double window = WindowSeconds();
    while (m_Samples.size() > 1 && m_Samples.back().clock - m_Samples.front().clock > window) {
        m_Samples.pop_front();
        ++m_nDroppedSamples;
    }
}

void CGraphRecorder::KeepSample(GraphSample sample)
{
    m_Samples.push_back(std::move(sample));
}

void CGraphRecorder::ResetSamples()
{
    m_Samples.clear();
    ++m_nStoreGeneration;
    m_nDroppedSamples = 0;
    m_bRunHasSamples = false;
    m_dRunFirstClock = m_dRunLastClock = 0;
    SetCurrentValues({});
}

void CGraphRecorder::SetCurrentValues(const std::array<double, kGraphChannels>& values)
{
    for (int c = 0; c < kGraphChannels; ++c)
        m_Channels[c].currentValue = values[c];
}

void CGraphRecorder::SetMsPerDivision(int ms)
{
    m_nMsPerDivision = ms < 1 ? 1 : ms;
}

void CGraphRecorder::IncreaseSpan()
{
    m_nMsPerDivision += 1000;
}

void CGraphRecorder::DecreaseSpan()
{
    m_nMsPerDivision -= 1000;
    if (m_nMsPerDivision <= 1000)
        m_nMsPerDivision = 1000;
}

bool CGraphRecorder::IsAxisScrolling() const
{
    return m_bSampling && m_bRunHasSamples && m_dRunLastClock - m_dRunFirstClock > WindowSeconds();
}

std::array<GraphTimeOfDay, 5> CGraphRecorder::TimeAxisLabels()
{
    std::array<GraphTimeOfDay, 5> labels;
    long long d = m_nMsPerDivision;
    if (!IsAxisScrolling()) {
        for (int k = 0; k < 5; ++k)
            labels[k] = m_TimeAxisBase.Plus(k * d);
        return labels;
    }
    auto elapsed = static_cast<long long>((m_dNewestClock - m_dStartClock) * 1000);
    GraphTimeOfDay newest = m_StartTimeOfDay.Plus(elapsed);
    // Left to right: the newest sample sits at the right edge.
    for (int k = 0; k < 5; ++k)
        labels[4 - k] = newest.Plus(-k * d);
    m_TimeAxisBase = labels[0];
    return labels;
}
