#include "platform/wave_out.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cmath>

namespace platform {

std::uint16_t alsaToWave(long value, long min, long max)
{
    if (max <= min)
        return 0;
    const double f = static_cast<double>(value - min) / static_cast<double>(max - min);
    return static_cast<std::uint16_t>(std::lround(std::clamp(f, 0.0, 1.0) * 65535.0));
}

long waveToAlsa(std::uint16_t value, long min, long max)
{
    if (max <= min)
        return min;
    return min + std::lround(static_cast<double>(value) / 65535.0 * static_cast<double>(max - min));
}

namespace {

// ALSA reports a missing card on stderr; the program says nothing about it.
void quietAlsaError(const char *, int, const char *, int, const char *, ...) {}

class NullWaveOut final : public WaveOutDevice
{
public:
    std::optional<std::uint32_t> volume() override { return std::nullopt; }
    void setVolume(std::uint32_t) override {}
};

// Opens the default card's mixer for one operation and closes it again, so the program
// holds no mixer handle between volume changes.
class AlsaWaveOut final : public WaveOutDevice
{
public:
    std::optional<std::uint32_t> volume() override
    {
        std::optional<std::uint32_t> result;
        withElement([&](snd_mixer_elem_t *elem, long min, long max) {
            long left = 0, right = 0;
            if (snd_mixer_selem_get_playback_volume(elem, SND_MIXER_SCHN_FRONT_LEFT, &left) < 0)
                return;
            if (snd_mixer_selem_is_playback_mono(elem)
                || snd_mixer_selem_get_playback_volume(elem, SND_MIXER_SCHN_FRONT_RIGHT, &right) < 0)
                right = left;
            result = std::uint32_t(alsaToWave(left, min, max))
                     | (std::uint32_t(alsaToWave(right, min, max)) << 16);
        });
        return result;
    }

    void setVolume(std::uint32_t value) override
    {
        withElement([&](snd_mixer_elem_t *elem, long min, long max) {
            const long left = waveToAlsa(std::uint16_t(value & 0xFFFF), min, max);
            const long right = waveToAlsa(std::uint16_t(value >> 16), min, max);
            if (snd_mixer_selem_is_playback_mono(elem)) {
                snd_mixer_selem_set_playback_volume_all(elem, left);
                return;
            }
            snd_mixer_selem_set_playback_volume(elem, SND_MIXER_SCHN_FRONT_LEFT, left);
            snd_mixer_selem_set_playback_volume(elem, SND_MIXER_SCHN_FRONT_RIGHT, right);
        });
    }

private:
    template <typename F>
    void withElement(F &&f)
    {
        static const bool quiet = (snd_lib_error_set_handler(quietAlsaError), true);
        (void)quiet;
        snd_mixer_t *mixer = nullptr;
        if (snd_mixer_open(&mixer, 0) < 0)
            return;
        if (snd_mixer_attach(mixer, "default") >= 0
            && snd_mixer_selem_register(mixer, nullptr, nullptr) >= 0
            && snd_mixer_load(mixer) >= 0) {
            for (const char *name : {"PCM", "Master"}) {
                snd_mixer_selem_id_t *sid = nullptr;
                snd_mixer_selem_id_alloca(&sid);
                snd_mixer_selem_id_set_index(sid, 0);
                snd_mixer_selem_id_set_name(sid, name);
                snd_mixer_elem_t *elem = snd_mixer_find_selem(mixer, sid);
                long min = 0, max = 0;
                if (elem && snd_mixer_selem_has_playback_volume(elem)
                    && snd_mixer_selem_get_playback_volume_range(elem, &min, &max) >= 0) {
                    f(elem, min, max);
                    break;
                }
            }
        }
        snd_mixer_close(mixer);
    }
};

} // namespace

std::unique_ptr<WaveOutDevice> makeAlsaWaveOut() { return std::make_unique<AlsaWaveOut>(); }
std::unique_ptr<WaveOutDevice> makeNullWaveOut() { return std::make_unique<NullWaveOut>(); }

} // namespace platform
