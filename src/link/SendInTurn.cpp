#include "link/SendInTurn.h"

void sendInTurn(const std::vector<BoxRequest>& requests, std::chrono::milliseconds gap,
                const std::function<bool(const BoxRequest&)>& send,
                const std::function<void(std::chrono::milliseconds)>& wait)
{
    for (std::size_t i = 0; i < requests.size(); ++i) {
        if (i > 0 && gap.count() > 0)
            wait(gap);
        if (!send(requests[i]))
            return;
    }
}
