// The setup-file reader on any file: what it reads, written back into the
// same file, reads back the same.

#include "fuzz_support.h"
#include "params/setup_file_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz_file(data, size, ".zelt");
    const SetupValues values = read_setup_file(path);
    fuzz_check(write_setup_file(path, values));
    fuzz_check(read_setup_file(path) == values);
    return 0;
}
