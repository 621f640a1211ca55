#pragma once
// The graph recorder without its window: four channels, each a drive quantity
// with its vertical scale; the sampling tick that reads the drive's monitor
// block every 100 ms; the samples of the time span shown; the largest and
// smallest value of each channel; and the time axis. The chart draws it, the
// graph window sets it up, and the exchange files read and fill it.
//
// The connection is handed in with every tick (link, model code); the station
// is the recorder's own setting. Nothing here reaches for a global.

#include "monitor/GraphClock.h"

#include <array>
#include <deque>
#include <string>
#include <vector>

#include "link/ModbusRequest.h"

class CSerialComm;

constexpr int kGraphChannels = 4;
// A plotted value runs from 0 at a channel's minimum to 4 divisions of this
// many units at its maximum.
constexpr float kGraphUnitsPerDivision = 250.0f;
constexpr int kGraphDefaultMsPerDivision = 15000;

// One reading of all four channels.
struct GraphSample {
    double clock = 0; // seconds of the monotonic clock (for imports: seconds since midnight)
    // Beside the clock: a chart that reads the whole store reads these two.
    std::array<double, kGraphChannels> plotted{};
    double timeOfDay = 0; // seconds since midnight
    std::string timeText; // "hh:mm:ss.mmm"
    std::array<std::string, kGraphChannels> valueTexts;
};

struct GraphChannel {
    std::string name;    // quantity name; "No display" switches the channel off
    std::string maxText; // scale as edited
    std::string minText;
    double scaleFactor = 0; // plotted units per engineering unit
    float minimum = 0;
    std::array<std::string, 5> scaleLabels; // bottom to top
    double recordedMax = 0;
    double recordedMin = 0;
    bool restartExtremes = true; // the next reading starts the extremes afresh
    double currentValue = 0;
    std::string currentText;
};

// One read of the monitor block: the link's reply and the words it brought.
struct GraphReading {
    ModbusReply reply;
    std::array<uint16_t, 16> words{};
    int count = 11;
};

enum class GraphTick {
    Idle,      // not sampling
    Suspended, // sampling, but held while the time span is edited
    Sampled,   // one sample added
    Lost,      // the link gave an unknown result: this tick only is lost
    Stopped,   // a link failure stopped sampling (its message was shown)
};

class CGraphRecorder {
public:
    explicit CGraphRecorder(IGraphClock& clock);

    IGraphClock& Clock() { return m_clock; }

    // Channel settings and the scale rule: factor = 4 x units per division /
    // (max - min); scale labels min, three quarters between, max. A channel
    // whose quantity changes starts its extremes afresh.
    void SetChannel(int channel, const std::string& name, const std::string& maxText, const std::string& minText);
    void ApplyScaleRule();
    bool IsChannelShown(int channel) const;

    // Sampling. Start empties the store and records the start time; Stop
    // keeps the store.
    void StartSampling();
    void StopSampling();
    bool IsSampling() const { return m_bSampling; }

    // One 100 ms tick: reads the monitor block of the sampling station over
    // link (16 registers for the extended models, else 11) and adds a sample.
    // A CRC error, time-out, link failure or refusal stops sampling and shows
    // 61477, 61478 or 61479.
    GraphTick SampleTick(CSerialComm* link, int modelCode);
    // The tick in its two halves, for a read made elsewhere (a worker): the
    // exchange, which touches nothing of the recorder, and the taking in of
    // its reading, which SampleTick does after it. abandoned, when given,
    // gives the read up while it still waits for the line (CModbusRequest).
    static GraphReading ReadMonitorBlock(CSerialComm* link, int station, int count,
                                         RequestPace pace = RequestPace::Interactive,
                                         const std::atomic<bool>* abandoned = nullptr);
    GraphTick TakeReading(const GraphReading& reading);

    // The value text of one channel from the block's words; the engineering
    // value goes to value; the channel's extremes follow the reading.
    std::string GetChannelValueText(const std::string& name, const uint16_t* words, int wordCount, double& value,
                                    int channel);
    void UpdateRecordedExtremes(int quantity, int channel, int raw);
    // Adds a sample and drops those older than the span shown (strictly).
    void AppendSamples(const GraphSample& sample);
    // Adds a sample and drops nothing (imports keep the whole file).
    void KeepSample(GraphSample sample);
    void ResetSamples();
    void SetCurrentValues(const std::array<double, kGraphChannels>& values);

    // The time span shown: 4 divisions.
    int GetMsPerDivision() const { return m_nMsPerDivision; }
    void SetMsPerDivision(int ms); // at least 1
    double WindowSeconds() const { return 4.0 * m_nMsPerDivision * 0.001; }
    // The arrows: +1000 ms per division; -1000 ms, never below 1000.
    void IncreaseSpan();
    void DecreaseSpan();

    // Whether the time axis scrolls: sampling, and the run has lasted longer
    // than the span shown.
    bool IsAxisScrolling() const;
    // The five time labels, left to right, and their times. In scrolling mode
    // the axis base moves to the left-most label's time.
    std::array<GraphTimeOfDay, 5> TimeAxisLabels();

    // The store. It changes only through the calls above: samples are added
    // at the back and dropped from the front, or all go at a reset, so that a
    // chart can follow it without reading it all again.
    const std::deque<GraphSample>& Samples() const { return m_Samples; }
    // Changes at every reset of the store.
    unsigned long long StoreGeneration() const { return m_nStoreGeneration; }
    // Samples dropped from the front since the last reset: Samples()[i] is
    // the (DroppedSamples() + i)-th sample since then.
    unsigned long long DroppedSamples() const { return m_nDroppedSamples; }

    std::array<GraphChannel, kGraphChannels> m_Channels;
    int m_nStation = 1;
    bool m_bSuspended = false;
    bool m_bFirstSample = false;
    GraphTimeOfDay m_TimeAxisBase;
    GraphTimeOfDay m_StartTimeOfDay;
    double m_dStartClock = 0;
    double m_dNewestClock = 0;
    // First and last sample clock of the run since the last start (never
    // pruned): what the time axis asks of the whole run.
    bool m_bRunHasSamples = false;
    double m_dRunFirstClock = 0;
    double m_dRunLastClock = 0;

private:
    IGraphClock& m_clock;
    std::deque<GraphSample> m_Samples;
    unsigned long long m_nStoreGeneration = 0;
    unsigned long long m_nDroppedSamples = 0;
    int m_nMsPerDivision = kGraphDefaultMsPerDivision;
    bool m_bSampling = false;
};
