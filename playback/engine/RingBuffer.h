#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <memory>

// A single-producer, single-consumer ring of interleaved stereo float frames.
//
// Threads: write() from one thread (the decoder), read() from one other (the audio output);
// neither locks, allocates or blocks. reset() and the constructor need both sides quiet (the
// output paused and the decoder held off), which the engine guarantees.
class RingBuffer {
public:
    // Room for `capacityFrames` frames, rounded up to a power of two.
    explicit RingBuffer(size_t capacityFrames) {
        size_t n = 1;
        while (n < capacityFrames) {
            n <<= 1;
        }
        m_capacity = n;
        m_mask = n - 1;
        // Not zeroed: only frames that were written are read, and untouched pages cost nothing.
        m_data = std::make_unique_for_overwrite<float[]>(2 * n);
    }

    size_t capacityFrames() const { return m_capacity; }

    // Frames that can be read now (consumer side).
    size_t readableFrames() const {
        return m_written.load(std::memory_order_acquire) - m_read.load(std::memory_order_relaxed);
    }
    // Frames that can be written now (producer side).
    size_t writableFrames() const {
        return m_capacity -
               (m_written.load(std::memory_order_relaxed) - m_read.load(std::memory_order_acquire));
    }

    // Copies up to `frames` frames in; returns how many fitted.
    size_t write(const float* stereo, size_t frames) {
        const size_t w = m_written.load(std::memory_order_relaxed);
        const size_t room = m_capacity - (w - m_read.load(std::memory_order_acquire));
        const size_t n = std::min(frames, room);
        const size_t at = w & m_mask;
        const size_t first = std::min(n, m_capacity - at);
        std::memcpy(m_data.get() + 2 * at, stereo, first * 2 * sizeof(float));
        std::memcpy(m_data.get(), stereo + 2 * first, (n - first) * 2 * sizeof(float));
        m_written.store(w + n, std::memory_order_release);
        return n;
    }

    // Copies up to `frames` frames out; returns how many there were.
    size_t read(float* stereo, size_t frames) {
        const size_t r = m_read.load(std::memory_order_relaxed);
        const size_t avail = m_written.load(std::memory_order_acquire) - r;
        const size_t n = std::min(frames, avail);
        const size_t at = r & m_mask;
        const size_t first = std::min(n, m_capacity - at);
        std::memcpy(stereo, m_data.get() + 2 * at, first * 2 * sizeof(float));
        std::memcpy(stereo + 2 * first, m_data.get(), (n - first) * 2 * sizeof(float));
        m_read.store(r + n, std::memory_order_release);
        return n;
    }

    void reset() {
        m_written.store(0, std::memory_order_relaxed);
        m_read.store(0, std::memory_order_relaxed);
    }

private:
    size_t m_capacity = 0;
    size_t m_mask = 0;
    std::unique_ptr<float[]> m_data;
    alignas(64) std::atomic<size_t> m_written{0};
    alignas(64) std::atomic<size_t> m_read{0};
};
