// libFuzzer target over the decoders that read bytes from disk and from the own server: the cached clock
// bundle and the devotional-card configuration. Whatever decodes must encode again and decode to the same
// JSON; anything else must simply fail.

#include "model/BlessingsRecords.h"
#include "model/ClockBundle.h"

#include <cstdlib>

namespace {

template <class T>
void checkRoundTrip(const QByteArray& bytes) {
    const std::optional<T> record = JsonCoding::decode<T>(bytes);
    if (!record) return;
    const std::optional<QByteArray> encoded = JsonCoding::encodeRecord(*record);
    if (!encoded) std::abort();
    const std::optional<T> again = JsonCoding::decode<T>(*encoded);
    if (!again || again->toJson() != record->toJson()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    checkRoundTrip<ClockBundle>(bytes);
    checkRoundTrip<BlessingsConfig>(bytes);
    if (const std::optional<ClockBundle> bundle = JsonCoding::decode<ClockBundle>(bytes)) {
        // Label lookups must cope with whatever keys and texts a bundle carries.
        for (auto it = bundle->labels.begin(); it != bundle->labels.end(); ++it)
            (void)bundle->label(it.key());
    }
    return 0;
}
