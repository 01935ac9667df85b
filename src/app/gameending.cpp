#include "gameending.h"

CompanionWire::Ending GameEnding::reason(bool connectionFailed) const
{
    // The host's own words first: it closes the connection right after them.
    if (full_)
        return CompanionWire::Ending::Full;
    if (removed_)
        return CompanionWire::Ending::Removed;
    if (hostClosed_)
        return CompanionWire::Ending::HostClosed;
    return connectionFailed ? CompanionWire::Ending::Lost : CompanionWire::Ending::HostClosed;
}
