#include "burner/core/playtime/SequentialWindow.h"

const uint8_t* SequentialWindow::At(uint64_t offset, size_t count) {
    if (count > m_buffer.size()) return nullptr;
    if (offset >= m_start && offset - m_start + count <= m_length)
        return m_buffer.data() + (offset - m_start);
    m_start = offset;
    m_length = m_source.ReadAt(offset, m_buffer.data(), m_buffer.size());
    return count <= m_length ? m_buffer.data() : nullptr;
}
