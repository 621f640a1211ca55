#include "monitor/GraphSampler.h"

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>

namespace {

// The pause of the window's requests before they go.
constexpr auto kInteractivePause = std::chrono::milliseconds(10);

// Exchanges whose sampler went while they ran and that have not yet ended.
std::atomic<size_t> g_leftRunning{0};

} // namespace

struct CGraphSampler::Exchange {
    // Written by the worker before the job ends, read on the window thread after.
    GraphReading reading;
    unsigned long long tag = 0;
    // Set on the window thread when the sampler goes: a read that has not yet
    // gone out is given up, and the worker leaves the link alone.
    std::atomic<bool> abandoned{false};
    // Whether the worker has ended, and whether its sampler went before (it
    // then counts in g_leftRunning until it ends).
    std::mutex mutex;
    bool ended = false;
    bool leftRunning = false;
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
    : m_post(std::move(post)), m_delivered(std::move(delivered)), m_id(g_nextId++)
{
    LiveSamplers()[m_id] = this;
}

CGraphSampler::~CGraphSampler()
{
    LiveSamplers().erase(m_id);
    if (m_pExchange) {
        m_pExchange->abandoned = true;
        std::lock_guard lock(m_pExchange->mutex);
        if (!m_pExchange->ended) {
            m_pExchange->leftRunning = true;
            ++g_leftRunning;
        }
    }
    // The window closes at once; the link object is not deleted before a
    // worker still on it has been joined.
    if (m_job.IsRunning())
        m_job.Release();
    else
        m_job.Join();
}

size_t CGraphSampler::LeftRunning()
{
    return g_leftRunning.load();
}

bool CGraphSampler::Begin(CSerialComm* link, int station, int count, unsigned long long tag)
{
    if (m_bBusy)
        return false;
    m_bBusy = true;
    m_job.Join(); // the thread of the last exchange, ended already
    auto exchange = std::make_shared<Exchange>();
    exchange->tag = tag;
    m_pExchange = exchange;
    const unsigned long long id = m_id;
    Post post = m_post;
    m_job.Start(
        [exchange, link, station, count] {
            std::this_thread::sleep_for(kInteractivePause);
            GraphReading reading;
            reading.count = count;
            if (!exchange->abandoned.load())
                reading = CGraphRecorder::ReadMonitorBlock(link, station, count, RequestPace::Direct,
                                                           &exchange->abandoned);
            exchange->reading = reading;
            std::lock_guard lock(exchange->mutex);
            exchange->ended = true;
            if (exchange->leftRunning)
                --g_leftRunning;
        },
        [post, id] { post([id] { Ended(id); }); });
    return true;
}

void CGraphSampler::Ended(unsigned long long id)
{
    auto& live = LiveSamplers();
    auto found = live.find(id);
    if (found == live.end())
        return; // its window went; the worker was released
    CGraphSampler& sampler = *found->second;
    sampler.m_job.Join();
    sampler.m_bBusy = false;
    const GraphReading reading = sampler.m_pExchange->reading;
    const unsigned long long tag = sampler.m_pExchange->tag;
    // The window may go while it takes the reading in (its message box runs
    // a nested loop): nothing of the sampler is used once it is called.
    const Delivered delivered = sampler.m_delivered;
    if (delivered)
        delivered(reading, tag);
}
