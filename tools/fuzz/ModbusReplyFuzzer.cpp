// The Modbus reply fuzzer under libFuzzer: every input is a request and the
// bytes a peer answers it with (tests/link/ModbusReplyFuzz.h). A broken rule
// ends the run with its name.

#include "tests/link/ModbusReplyFuzz.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (const char* broken = RunModbusReplyInput(data, size)) {
        std::fprintf(stderr, "Modbus reply rule broken: %s\n", broken);
        std::abort();
    }
    return 0;
}
