#pragma once
// The system wave-out volume: a 32-bit value whose low 16 bits are the left channel and
// high 16 bits the right channel, each 0 to 65535.

#include <cstdint>
#include <memory>
#include <optional>

namespace platform {

class WaveOutDevice
{
public:
    virtual ~WaveOutDevice() = default;
    // The volume, or nullopt when there is no device with volume control.
    virtual std::optional<std::uint32_t> volume() = 0;
    // Sets the volume; does nothing without a device.
    virtual void setVolume(std::uint32_t value) = 0;
};

// The ALSA simple mixer of the default card: element "PCM", else "Master".
std::unique_ptr<WaveOutDevice> makeAlsaWaveOut();

// No device: reads nothing and sets nothing.
std::unique_ptr<WaveOutDevice> makeNullWaveOut();

// Scales an ALSA channel value in [min, max] to 0..65535 and back.
std::uint16_t alsaToWave(long value, long min, long max);
long waveToAlsa(std::uint16_t value, long min, long max);

} // namespace platform
