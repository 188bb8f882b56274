#pragma once
// A description of the running system for the environment report in the log:
// kernel name and version, the distribution's name, processor, memory and the
// user's language. Everything is read once when the object is made; the
// members only interpret what was read. The members of the Windows edition
// queries remain with the values a system without them gives (0, "", False).
#include <cstdint>
#include <string>
#include <vector>

namespace galvora {

// The raw facts the description is made from.
struct OsFacts {
    std::string sysname;     // uname: "Linux"
    std::string release;     // uname: "6.1.0-13-amd64"
    std::string machine;     // uname: "x86_64"
    std::string os_release;  // text of /etc/os-release
    std::string cpuinfo;     // text of /proc/cpuinfo
    std::string meminfo;     // text of /proc/meminfo
    std::string locale;      // LC_ALL, LC_MESSAGES or LANG, the first one set
};

OsFacts read_os_facts();

// The product-type texts of the old edition table ("[Unbekannt]" for 0,
// "Ultimate" for 1 ...); "" for an unknown number.
std::string product_info_text(std::uint32_t product_info);

// One processor package (a socket) as the kernel lists it: its model and its
// current clock in MHz ("" when the kernel gives none).
struct ProcessorPackage {
    std::string name;
    std::string clock_mhz;
};

class OperatingSystem {
public:
    OperatingSystem();
    explicit OperatingSystem(OsFacts facts);

    // Kernel name and release, for example "Linux 6.1.0-13-amd64".
    const std::string& ToString() const { return text_; }
    // True on a 64-bit machine.
    bool Is64BitOS() const { return is_64bit_; }
    std::uint16_t LangID() const { return 0; }
    // The user's language and region, for example "de_DE"; "" for the C locale.
    const std::string& Language() const { return language_; }
    // 0: neither of the old platform families.
    int Platform() const { return 0; }
    // 0: none of the old version codes.
    int Version() const { return 0; }
    bool IsWindowsServer2003R2() const { return false; }
    bool IsWindowsHomeServer() const { return false; }
    // The distribution's PRETTY_NAME, for example "Debian GNU/Linux 12 (bookworm)".
    const std::string& Name() const { return name_; }
    // The numbers of the kernel release: 6, 1 and 0 for "6.1.0-13-amd64".
    int Major() const { return major_; }
    int Minor() const { return minor_; }
    int Revision() const { return revision_; }
    std::string ServicePack() const { return {}; }
    int ServicePackMajor() const { return 0; }
    int ServicePackMinor() const { return 0; }
    std::uint32_t ProductInfo() const { return 0; }
    std::string ProductInfoString() const { return product_info_text(ProductInfo()); }
    int ProductType() const { return 0; }
    int SuiteMask() const { return 0; }
    int Edition() const { return 0; }

    // Processor model ("" when unknown), number of logical processors, and the
    // installed memory in bytes (0 when unknown).
    const std::string& Processor() const { return processor_; }
    int ProcessorCount() const { return processor_count_; }
    // One entry per processor package, in the kernel's order; logical
    // processors of the same package (the same "physical id") count once.
    const std::vector<ProcessorPackage>& Processors() const { return packages_; }
    std::uint64_t MemoryBytes() const { return memory_bytes_; }

private:
    std::string text_;
    std::string name_;
    std::string language_;
    std::string processor_;
    int processor_count_ = 0;
    std::vector<ProcessorPackage> packages_;
    std::uint64_t memory_bytes_ = 0;
    int major_ = 0;
    int minor_ = 0;
    int revision_ = 0;
    bool is_64bit_ = false;
};

}  // namespace galvora
