#pragma once
// The recorder's drive exchange off the window thread: one read of the
// monitor block at a time runs on a worker (the transfers' CBackgroundJob),
// and its reading is handed back on the window thread, where the recorder
// takes it in. A slow or silent drive, or a watchdog pass holding the link,
// then costs the window thread nothing.
//
// Closing the window never waits for an exchange: a sampler destroyed while
// its exchange runs gives the read up if it still waits for the line (the
// quiet after a failure, another caller holding the link), so that no frame
// goes out for a closed window, and releases the worker, which whoever
// deletes the link object joins first (CBackgroundJob::JoinReleasedJobs).
// Nothing of the window is touched afterwards.

#include "monitor/GraphRecorder.h"
#include "platform/BackgroundJob.h"

#include <functional>
#include <memory>

class CGraphSampler {
public:
    // post has its argument called on the window thread soon; it is called
    // from the worker and must not block. delivered is called on the window
    // thread with each reading, once its exchange has ended.
    using Post = std::function<void(std::function<void()>)>;
    using Delivered = std::function<void(const GraphReading&, unsigned long long tag)>;
    CGraphSampler(Post post, Delivered delivered);
    ~CGraphSampler();

    CGraphSampler(const CGraphSampler&) = delete;
    CGraphSampler& operator=(const CGraphSampler&) = delete;

    // An exchange has begun and its reading was not yet delivered.
    bool IsBusy() const { return m_bBusy; }
    // Begins a read of count registers of station over link (after the
    // interactive pause, as the window's requests go); tag comes back with
    // the reading. False, and nothing begun, while busy.
    bool Begin(CSerialComm* link, int station, int count, unsigned long long tag);

    // Exchanges of samplers already gone that have not yet ended.
    static size_t LeftRunning();

private:
    struct Exchange;
    static void Ended(unsigned long long id);

    Post m_post;
    Delivered m_delivered;
    unsigned long long m_id;
    CBackgroundJob m_job;
    // The exchange begun last, shared with its worker.
    std::shared_ptr<Exchange> m_pExchange;
    bool m_bBusy = false;
};
