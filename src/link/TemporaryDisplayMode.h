// A display mode that holds for as long as this object lives: text replies are logged as
// text for one transaction. The saved mode is written back afterwards, even if the user chose
// another one meanwhile; the display items then show the user's choice while later bytes
// follow the restored mode until a display item is chosen again.
#pragma once

#include "protocol/ByteFormat.h"

#include <atomic>

class TemporaryDisplayMode {
public:
    TemporaryDisplayMode(std::atomic<DisplayMode>& mode, DisplayMode temporary)
        : m_mode(mode)
        , m_saved(mode.exchange(temporary))
    {
    }
    ~TemporaryDisplayMode() { m_mode = m_saved; }
    TemporaryDisplayMode(const TemporaryDisplayMode&) = delete;
    TemporaryDisplayMode& operator=(const TemporaryDisplayMode&) = delete;

private:
    std::atomic<DisplayMode>& m_mode;
    DisplayMode m_saved;
};
