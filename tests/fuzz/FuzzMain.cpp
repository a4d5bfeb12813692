#include "FuzzEntries.h"

#include <QCoreApplication>
#include <cstddef>
#include <cstdint>

// The libFuzzer target of one entry point (FUZZ_ENTRY, set per target by the build). The readers
// run Qt's SQL driver and start the archivers as processes: both want a core application.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FUZZ_ENTRY(data, size);
}
