// The simulator's request parser on any byte stream, with the framing changed
// where the input says: no request comes out malformed.

#include "fuzz_support.h"
#include "sim/request_assembler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using sim::RequestKind;
    sim::RequestAssembler assembler;
    const auto checkAll = [](const std::vector<sim::Request>& requests) {
        for (const sim::Request& r : requests) {
            fuzz_check(!r.bytes.empty() || r.kind == RequestKind::Unknown);
            if (r.kind == RequestKind::ImageBlock || r.kind == RequestKind::FillBlock)
                fuzz_check(r.bytes.size() == sim::RequestAssembler::kBlockSize);
            if (r.kind == RequestKind::WriteSettings)
                fuzz_check(r.bytes.size() == 1 + sim::RequestAssembler::kFrameSize && r.bytes[1] == 0x43);
        }
    };
    for (size_t i = 0; i < size; ++i) {
        // A byte after 0xF0 picks the framing, as the device would.
        if (data[i] == 0xF0 && i + 1 < size) {
            assembler.set_framing(static_cast<sim::Framing>(data[++i] % 4));
            continue;
        }
        if (data[i] == 0xF1) {
            checkAll(assembler.line_quiet());
            continue;
        }
        checkAll(assembler.feed(data[i]));
    }
    return 0;
}
