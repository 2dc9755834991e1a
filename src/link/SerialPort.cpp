// What a port does the same way on every platform: its lifetime and the close rule.
#include "link/SerialIoNative.h"

namespace serial {

Port::Port() = default;
Port::~Port() = default;

bool Port::close()
{
    if (m_handle == InvalidHandle) {
        m_handle = NoHandle;
        return true;
    }
    if (!m_native)
        return detail::noOpenPort();
    // The system has let go of the handle whatever it reports; only the value stays then.
    const bool closed = m_native->close();
    m_native.reset();
    if (closed)
        m_handle = NoHandle;
    return closed;
}

} // namespace serial
