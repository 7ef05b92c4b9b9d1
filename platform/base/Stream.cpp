#include "platform/base/Stream.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <vector>

namespace {

class MemStream final : public IStream
{
public:
    MemStream(const BYTE* data, UINT size) : m_bytes(data, data + (data ? size : 0)) {}

    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override
    {
        const ULONG left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT Read(void* data, ULONG count, ULONG* read) override
    {
        const size_t n =
            m_pos < m_bytes.size() ? std::min<size_t>(count, m_bytes.size() - m_pos) : 0;
        if (n)
            std::memcpy(data, m_bytes.data() + m_pos, n);
        m_pos += n;
        if (read)
            *read = static_cast<ULONG>(n);
        return n == count ? S_OK : S_FALSE;
    }

    HRESULT Write(const void* data, ULONG count, ULONG* written) override
    {
        if (m_pos + count > m_bytes.size())
            m_bytes.resize(m_pos + count);
        std::memcpy(m_bytes.data() + m_pos, data, count);
        m_pos += count;
        if (written)
            *written = count;
        return S_OK;
    }

    HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override
    {
        long long base = 0;
        if (origin == STREAM_SEEK_CUR)
            base = static_cast<long long>(m_pos);
        else if (origin == STREAM_SEEK_END)
            base = static_cast<long long>(m_bytes.size());
        else if (origin != STREAM_SEEK_SET)
            return E_INVALIDARG;
        const long long pos = base + move.QuadPart;
        if (pos < 0)
            return E_INVALIDARG;
        m_pos = static_cast<size_t>(pos);
        if (newPosition)
            newPosition->QuadPart = static_cast<ULONGLONG>(pos);
        return S_OK;
    }

private:
    std::vector<BYTE> m_bytes;
    size_t m_pos = 0;
    std::atomic<ULONG> m_refs{1};
};

} // namespace

IStream* SHCreateMemStream(const BYTE* data, UINT size)
{
    return new (std::nothrow) MemStream(data, size);
}
