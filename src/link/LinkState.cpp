#include "LinkState.h"

#include "TReadThread.h"

LinkState::LinkState() = default;
LinkState::~LinkState() = default;
