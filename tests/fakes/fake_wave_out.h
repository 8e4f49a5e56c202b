#pragma once
// A mixer double: tests never touch the machine's real mixer.

#include "platform/wave_out.h"

#include <vector>

namespace fakes {

class FakeWaveOut final : public platform::WaveOutDevice
{
public:
    std::optional<std::uint32_t> current; // nullopt: no device
    std::vector<std::uint32_t> sets;      // every value set, in order

    std::optional<std::uint32_t> volume() override { return current; }
    void setVolume(std::uint32_t v) override
    {
        sets.push_back(v);
        if (current)
            current = v;
    }
};

} // namespace fakes
