#pragma once

#include "playback/engine/Decoder.h"
#include "playback/engine/RingBuffer.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

// The engine's decode thread: keeps a ring buffer filled from the current decoder, a chunk at a
// time, until the decoder has given its last frame; then endFrame() says how many there were.
//
// Threads: the controlling thread (the engine's GUI thread) calls load(), rewind() and the
// destructor; each of them waits until the decode thread is between chunks, so it never takes
// more than one chunk's decoding. The output's own thread calls read() and endFrame() without
// locking. load() and rewind() need the output paused: they empty the ring under it.
class DecodeThread {
public:
    // `pollPeriod`: how often an idle thread looks again at the ring, the pace at which an
    // output drains it being unknown here.
    DecodeThread(size_t ringFrames, std::chrono::microseconds pollPeriod);
    ~DecodeThread(); // ends the thread, then destroys the decoder
    DecodeThread(const DecodeThread&) = delete;
    DecodeThread& operator=(const DecodeThread&) = delete;

    // Empties the stream and decodes from `decoder` (nullptr: nothing) from its current frame.
    void load(std::unique_ptr<Decoder> decoder);
    // Empties the stream and starts the decoder again from its first frame. Where it cannot go
    // back, the stream ends at once (endFrame() is 0).
    void rewind();

    // Output thread: up to `frames` frames of the stream, fewer when the decoder is behind.
    size_t read(float* stereo, size_t frames) noexcept { return m_ring.read(stereo, frames); }
    // The number of frames the decoder gave in all once it has no more; -1 until then.
    long long endFrame() const { return m_endFrame.load(std::memory_order_acquire); }

private:
    class Hold;
    void run();
    void emptyHeld();

    RingBuffer m_ring;
    std::atomic<long long> m_endFrame{-1};

    // Guarded by m_mutex: the decode thread holds it while it decodes a chunk, and lets go
    // between chunks when it sees m_gate.
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::atomic<bool> m_gate{false};
    bool m_quit = false;
    std::unique_ptr<Decoder> m_decoder;
    long long m_lengthFrames = 0;
    long long m_framesQueued = 0;
    bool m_done = false;
    std::unique_ptr<float[]> m_chunk;
    const std::chrono::microseconds m_pollPeriod;
    std::thread m_thread; // last: it starts once everything above is in place
};
