#include "playback/engine/NullOutput.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr long kScratchFrames = 8192;

} // namespace

NullOutput::NullOutput(double speed)
    : m_speed(speed > 0.0 ? speed : 1.0), m_scratch(std::make_unique<float[]>(2 * kScratchFrames)) {}

NullOutput::~NullOutput() {
    close();
}

bool NullOutput::open(int sampleRate, FrameSource* source, QString*) {
    close();
    m_rate = sampleRate;
    m_source = source;
    m_quit = false;
    m_running = false;
    m_thread = std::thread([this] { run(); });
    return true;
}

void NullOutput::start() {
    {
        const std::lock_guard lock(m_mutex);
        m_running = true;
    }
    m_wake.notify_all();
}

void NullOutput::pause() {
    // The clock thread renders with the mutex held: taking it waits for a block in progress.
    const std::lock_guard lock(m_mutex);
    m_running = false;
}

void NullOutput::close() {
    if (m_thread.joinable()) {
        {
            const std::lock_guard lock(m_mutex);
            m_quit = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    m_rate = 0;
}

void NullOutput::run() {
    using Clock = std::chrono::steady_clock;
    // A sound card takes a block every few tens of milliseconds; so does this clock. Faster
    // paces tick more often so that each block stays small.
    const auto period = std::chrono::microseconds(static_cast<long>(m_speed > 1.0 ? 5000 : 20000));
    const double framesPerSecond = m_rate * m_speed;
    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        m_wake.wait(lock, [this] { return m_quit || m_running; });
        auto last = Clock::now();
        double owed = 0.0; // frames due but not yet drawn, fractions included
        while (!m_quit && m_running) {
            m_wake.wait_for(lock, period, [this] { return m_quit || !m_running; });
            if (m_quit || !m_running) {
                break;
            }
            const auto now = Clock::now();
            owed += std::chrono::duration<double>(now - last).count() * framesPerSecond;
            last = now;
            // After a long stall (a suspended machine) do not try to catch up seconds at once.
            owed = std::min(owed, framesPerSecond);
            auto due = static_cast<long>(owed);
            owed -= static_cast<double>(due);
            while (due > 0) {
                const long n = std::min(due, kScratchFrames);
                m_source->render(m_scratch.get(), n);
                due -= n;
            }
        }
    }
}
