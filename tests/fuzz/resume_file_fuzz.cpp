// resume.ini: the path, the position and the play state. The record read, saved and read
// again keeps its path and state exactly and its position to the 15 significant digits
// the file holds; a second save and load changes nothing at all.
#include "playback/resume_file.h"

#include "fuzz_support.h"

#include <cmath>

namespace {

std::string shown(const ResumeRecord &r)
{
    char position[64];
    std::snprintf(position, sizeof position, "%.17g", r.position);
    return fuzz::shown(r.path) + " " + position + " " + std::to_string(r.state);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::optional<ResumeRecord> record = parseResumeBytes(fuzz::bytes(data, size));
    if (!record)
        return 0;
    FUZZ_CHECK(std::isfinite(record->position), shown(*record));

    const QByteArray saved = formatResumeFile(*record);
    const std::optional<ResumeRecord> back = parseResumeBytes(saved);
    FUZZ_CHECK(back.has_value(), fuzz::shown(saved));
    FUZZ_CHECK(back->path == record->path && back->state == record->state,
               shown(*record) + " -> " + fuzz::shown(saved) + " -> " + shown(*back));
    FUZZ_CHECK(std::fabs(back->position - record->position) <= 1e-14 * std::fabs(record->position),
               shown(*record) + " -> " + fuzz::shown(saved) + " -> " + shown(*back));

    const QByteArray again = formatResumeFile(*back);
    FUZZ_CHECK(again == saved, fuzz::shown(saved) + " -> " + fuzz::shown(again));
    return 0;
}
