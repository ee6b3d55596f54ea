#include "burner/core/playtime/BufferedSource.h"

#include <cstring>

size_t BufferedSource::ReadAt(uint64_t offset, void* buffer, size_t count) {
    uint8_t* out = static_cast<uint8_t*>(buffer);
    size_t done = 0;
    while (done < count) {
        const uint64_t at = offset + done;
        if (at >= m_start && at < m_start + m_length) {
            size_t available = static_cast<size_t>(m_start + m_length - at);
            size_t take = count - done < available ? count - done : available;
            std::memcpy(out + done, m_buffer.data() + (at - m_start), take);
            done += take;
            continue;
        }
        // Large reads go straight through; small ones refill the window.
        if (count - done >= m_buffer.size()) {
            size_t got = m_source.ReadAt(at, out + done, count - done);
            return done + got;
        }
        m_start = at;
        m_length = m_source.ReadAt(at, m_buffer.data(), m_buffer.size());
        if (m_length == 0) break;
    }
    return done;
}
