// A system-information launcher that counts its starts.
#pragma once

#include "app/SystemInfoLauncher.h"

class FakeSystemInfo final : public SystemInfoLauncher
{
public:
    bool start() override
    {
        ++starts;
        return available;
    }

    int starts = 0;
    bool available = true;
};
