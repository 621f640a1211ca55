#include "monitor/GraphSampler.h"

#include "platform/BackgroundJob.h"

#include <atomic>
#include <chrono>
#include <map>
#include <thread>

namespace {

// The pause of the window's requests before they go.
constexpr auto kInteractivePause = std::chrono::milliseconds(10);

} // namespace

struct CGraphSampler::Exchange {
    CBackgroundJob job;
    // Written by the worker before the job ends, read on the window thread after.
    GraphReading reading;
    unsigned long long tag = 0;
    // Set on the window thread when the sampler goes; the worker then leaves
    // the link alone.
    std::atomic<bool> abandoned{false};
};

namespace {

// Window thread only: the samplers alive, by their number.
std::map<unsigned long long, CGraphSampler*>& LiveSamplers()
{
    static std::map<unsigned long long, CGraphSampler*> samplers;
    return samplers;
}

unsigned long long g_nextId = 1;

} // namespace

CGraphSampler::CGraphSampler(Post post, Delivered delivered)
    : m_post(std::move(post)), m_delivered(std::move(delivered)), m_id(g_nextId++),
      m_pExchange(std::make_unique<Exchange>())
{
    LiveSamplers()[m_id] = this;
}

CGraphSampler::~CGraphSampler()
{
    LiveSamplers().erase(m_id);
    if (m_pExchange->job.IsRunning()) {
        m_pExchange->abandoned = true;
        Abandoned()[m_id] = std::move(m_pExchange);
        return;
    }
    m_pExchange->job.Join();
}

bool CGraphSampler::Begin(CSerialComm* link, int station, int count, unsigned long long tag)
{
    if (m_bBusy)
        return false;
    m_bBusy = true;
    Exchange* exchange = m_pExchange.get();
    exchange->job.Join(); // the thread of the last exchange, ended already
    exchange->tag = tag;
    const unsigned long long id = m_id;
    Post post = m_post;
    exchange->job.Start(
        [exchange, link, station, count] {
            std::this_thread::sleep_for(kInteractivePause);
            GraphReading reading;
            reading.count = count;
            if (!exchange->abandoned.load())
                reading = CGraphRecorder::ReadMonitorBlock(link, station, count, RequestPace::Direct);
            exchange->reading = reading;
        },
        [post, id] { post([id] { Ended(id); }); });
    return true;
}

void CGraphSampler::Ended(unsigned long long id)
{
    auto& abandoned = Abandoned();
    auto gone = abandoned.find(id);
    if (gone != abandoned.end()) {
        gone->second->job.Join();
        abandoned.erase(gone);
        return;
    }
    auto& live = LiveSamplers();
    auto found = live.find(id);
    if (found == live.end())
        return;
    CGraphSampler& sampler = *found->second;
    Exchange& exchange = *sampler.m_pExchange;
    exchange.job.Join();
    sampler.m_bBusy = false;
    GraphReading reading = exchange.reading;
    if (sampler.m_delivered)
        sampler.m_delivered(reading, exchange.tag);
}

std::map<unsigned long long, std::unique_ptr<CGraphSampler::Exchange>>& CGraphSampler::Abandoned()
{
    static std::map<unsigned long long, std::unique_ptr<CGraphSampler::Exchange>> exchanges;
    return exchanges;
}
