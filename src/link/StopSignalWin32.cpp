// The signal is a manual-reset event, so a reader can wait for it and for its port's I/O in
// one WaitForMultipleObjects().
#include "link/StopSignal.h"

#include <system_error>

#include <windows.h>

StopSignal::StopSignal()
    : m_waitHandle(reinterpret_cast<std::intptr_t>(CreateEventW(nullptr, TRUE, FALSE, nullptr)))
{
    // Without the event a blocked read could never be woken.
    if (m_waitHandle == 0)
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "CreateEvent");
}

StopSignal::~StopSignal()
{
    CloseHandle(reinterpret_cast<HANDLE>(m_waitHandle));
}

void StopSignal::raise()
{
    m_raised.store(true, std::memory_order_release);
    SetEvent(reinterpret_cast<HANDLE>(m_waitHandle));
}
