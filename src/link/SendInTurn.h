// The requests of one command (a cascade's messages, a message and its repeats) put through a
// front end's transaction one after another, with a gap of quiet on the bus between one's
// reply and the next request: a slow switch, or one further down a cascade, needs it. The
// window and the command line both send so, each passing the time its own way.
#pragma once

#include "protocol/BoxRequests.h"

#include <chrono>
#include <functional>
#include <vector>

// `send` puts one request through and says whether to go on: false after a failed write, or
// once nobody waits for the rest. `wait` passes the gap.
void sendInTurn(const std::vector<BoxRequest>& requests, std::chrono::milliseconds gap,
                const std::function<bool(const BoxRequest&)>& send,
                const std::function<void(std::chrono::milliseconds)>& wait);
