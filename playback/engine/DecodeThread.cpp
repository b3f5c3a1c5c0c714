#include "playback/engine/DecodeThread.h"

#include <algorithm>
#include <utility>

namespace {

// Frames decoded per turn of the decode thread; it lets the controlling thread in between turns.
constexpr long kDecodeChunk = 4096;
// A turn is not worth it for less room than this.
constexpr long kMinDecodeRoom = 1024;

} // namespace

// Keeps the decode thread out for as long as it lives.
class DecodeThread::Hold {
public:
    explicit Hold(DecodeThread& owner) : m_owner(owner) {
        m_owner.m_gate.store(true);
        m_owner.m_mutex.lock();
        m_owner.m_gate.store(false);
    }
    ~Hold() {
        m_owner.m_mutex.unlock();
        m_owner.m_wake.notify_all();
    }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

private:
    DecodeThread& m_owner;
};

DecodeThread::DecodeThread(size_t ringFrames, std::chrono::microseconds pollPeriod)
    : m_ring(ringFrames), m_chunk(std::make_unique<float[]>(2 * kDecodeChunk)), m_pollPeriod(pollPeriod),
      m_thread([this] { run(); }) {}

DecodeThread::~DecodeThread() {
    {
        const std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void DecodeThread::emptyHeld() {
    m_ring.reset();
    m_framesQueued = 0;
    m_done = false;
    m_endFrame.store(-1);
}

void DecodeThread::load(std::unique_ptr<Decoder> decoder) {
    std::unique_ptr<Decoder> previous;
    {
        Hold hold(*this);
        emptyHeld();
        previous = std::exchange(m_decoder, std::move(decoder));
        m_lengthFrames = m_decoder ? m_decoder->lengthFrames() : 0;
    }
    // `previous` goes here, with the decode thread running again: it never used it after the
    // hold, and its end (closing a file) need not keep the thread waiting.
}

void DecodeThread::rewind() {
    Hold hold(*this);
    emptyHeld();
    if (m_decoder && !m_decoder->rewind()) {
        // Nothing more will come: the song reads as ended rather than stalling.
        m_done = true;
        m_endFrame.store(0, std::memory_order_release);
    }
}

void DecodeThread::run() {
    std::unique_lock lock(m_mutex);
    while (!m_quit) {
        if (!m_decoder || m_done) {
            // Only load(), rewind() or the engine's end bring news now, and each of them wakes the
            // thread: an idle program is not woken to look.
            m_wake.wait(lock);
            continue;
        }
        const bool work = m_ring.writableFrames() >= size_t(kMinDecodeRoom);
        if (!work || m_gate.load()) {
            m_wake.wait_for(lock, m_pollPeriod);
            continue;
        }
        const long room = static_cast<long>(std::min(m_ring.writableFrames(), size_t(kDecodeChunk)));
        const long n = m_decoder->read(m_chunk.get(), room);
        if (n > 0) {
            m_ring.write(m_chunk.get(), static_cast<size_t>(n));
            m_framesQueued += n;
        }
        if (n <= 0 || m_framesQueued >= m_lengthFrames) {
            m_done = true;
            m_endFrame.store(m_framesQueued, std::memory_order_release);
        }
    }
}
