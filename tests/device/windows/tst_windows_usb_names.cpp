// Checks the pure steps of the Windows USB lookup when built for Windows. Returns the number of
// failed cases; zero means every case passed.
#include "SetupApiUsbLookup.h"
#include "UsbNameCases.h"
#include "UsbNameMatching.h"

#include <cstdio>

int main(int argc, char** argv)
{
    int failures = 0;
    for (const auto& c : kNormalizeCases) {
        if (UsbNameMatching::normalizedDeviceName(c.input) != c.expected) {
            std::printf("normalise failed: %s\n", c.label);
            ++failures;
        }
    }
    for (const auto& c : kHardwareIdCases) {
        const auto r = UsbNameMatching::splitHardwareId(c.hardwareId);
        if (r.found != c.found || r.vendorId != c.vendor || r.productId != c.product) {
            std::printf("hardware ID failed: %s\n", c.label);
            ++failures;
        }
    }
    if (!UsbNameMatching::fitsPropertyBuffer(256) || UsbNameMatching::fitsPropertyBuffer(257)) {
        std::printf("buffer rule failed\n");
        ++failures;
    }
    // With a port name on the command line, look it up on this machine's device list.
    if (argc > 1) {
        std::wstring name;
        for (const char* p = argv[1]; *p; ++p)
            name.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*p)));
        const auto r = SetupApiUsbLookup::lookUp(name);
        std::printf("%s: %s %ls %ls\n", argv[1], r.found ? "found" : "not found",
                    r.vendorId.c_str(), r.productId.c_str());
    }
    std::printf("%d failure(s)\n", failures);
    return failures;
}
