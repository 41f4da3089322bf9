// Fuzzes the registry file reader: each input is a section file, read for
// every value the library looks up through the text reader, and through the
// public reads over a real file (numbers, ranges, the buffer forms).
#include "FuzzSupport.h"

#include "platform/CRkNetwork.h"
#include "platform/RKPlatformInfo.h"

#include <climits>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kTarget[] = "registry_fuzz";

const char* const kNames[] = {
    "sMardockHostName", "sMardockClientName", "UseSessionPool", "sPhysicalMachine",
    "dBASEHOME",        "dEVLOGDIR",          "nDebugLevel",    "nEnablePreInstallVCMD",
    "nVCommandTimeOut", "nPreferredIPFamily", "nCmdLineServicePort"};
// Every section the library reads is this one file.
const char* const kSections[] = {"Mardock", "Machine", "Base", "EventManager", "~EventManager",
                                 "Session", "Network"};

std::string g_file;

bool blankAtEnd(const std::string& v) {
    const std::string ws = " \t\r\n";
    return !v.empty() && (ws.find(v.front()) != std::string::npos || ws.find(v.back()) != std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char root[] = "/dev/shm/vsdk-registry-fuzz.XXXXXX";
    if (!::mkdtemp(root)) fuzzBroken(kTarget, "no registry folder");
    const std::string folder = std::string(root) + "/Instance001";
    if (::mkdir(folder.c_str(), 0700) != 0) fuzzBroken(kTarget, "no instance folder");
    g_file = folder + "/Mardock";
    for (const char* section : kSections) {
        const std::string path = folder + "/" + section;
        if (path != g_file && ::symlink("Mardock", path.c_str()) != 0) fuzzBroken(kTarget, "no section");
    }
    setenv("VSDK_REGISTRY_ROOT", root, 1);
    // A focus of its own: the focus file is not read.
    RKPI_Focus::setFocus("Instance001");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    // The text reader.
    std::istringstream in(text);
    for (const char* name : kNames) {
        in.clear();
        in.seekg(0);
        std::string value;
        if (!rkregistry::findValue(in, name, value)) continue;
        if (value.find('\n') != std::string::npos || blankAtEnd(value)) fuzzBroken(kTarget, "value not trimmed");
        long number = 0;
        (void)rkregistry::parseNumber(value, number);
    }

    // The public reads over the file.
    {
        std::ofstream out(g_file, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    // Each file open costs more than the parse: two names per input.
    const RKPlatformInfo reg;
    const std::size_t count = sizeof kNames / sizeof kNames[0];
    for (const char* name : {kNames[size % count], kNames[(size == 0 ? 0 : data[0]) % count]}) {
        long l = 0;
        unsigned long u = 0;
        int i = -7;
        if (reg.getNumber("Network", name, &u) && static_cast<long>(u) < 0) fuzzBroken(kTarget, "negative unsigned");
        if (reg.getRegInt("Session", name, &i) && (!reg.getNumber("Session", name, &l) || l != i))
            fuzzBroken(kTarget, "int differs from its number");
        char buf[16];
        int length = static_cast<int>(sizeof buf) - (size % 8);
        std::memset(buf, 0x55, sizeof buf);
        if (reg.getString("Base", name, buf, &length) &&
            (length < 0 || length >= static_cast<int>(sizeof buf) || buf[length] != '\0'))
            fuzzBroken(kTarget, "buffer read overran");
    }
    char host[32];
    if (RKPlatformInfo::findMardockHostName(host, sizeof host) == 0 && !zeroTerminated(host))
        fuzzBroken(kTarget, "host name without a terminating zero");
    if (RKPlatformInfo::findMardockClientName(host, 8) == 0 && std::strlen(host) >= 8)
        fuzzBroken(kTarget, "client name over its buffer");
    const int family = RKPI_Session(0, 0).GetPreferredIPFamily();
    if (family != 0 && family != 4 && family != 6) fuzzBroken(kTarget, "address family");
    if (CRkNetwork::servicePort() == 0) fuzzBroken(kTarget, "service port 0");
    (void)RKPI_Base::getOrvaneDirectory();
    (void)RKPlatformInfo::getPhysicalMachine();
    return 0;
}
