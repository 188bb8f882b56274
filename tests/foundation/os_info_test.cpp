#include "platform/os_info.h"

#include <gtest/gtest.h>

#include <string>

using namespace galvora;

namespace {

OsFacts debian_facts() {
    OsFacts facts;
    facts.sysname = "Linux";
    facts.release = "6.1.0-13-amd64";
    facts.machine = "x86_64";
    facts.os_release =
        "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\nVERSION_ID=\"12\"\n"
        "VERSION=\"12 (bookworm)\"\nID=debian\n";
    facts.cpuinfo =
        "processor\t: 0\nvendor_id\t: GenuineIntel\nmodel name\t: Intel(R) Core(TM) i7-8550U CPU @ 1.80GHz\n\n"
        "processor\t: 1\nvendor_id\t: GenuineIntel\nmodel name\t: Intel(R) Core(TM) i7-8550U CPU @ 1.80GHz\n";
    facts.meminfo = "MemTotal:       16318772 kB\nMemFree:         1234567 kB\n";
    facts.locale = "de_DE.UTF-8";
    return facts;
}

}  // namespace

TEST(OsInfo, DescribesTheSystemFromItsFacts) {
    const OperatingSystem os(debian_facts());
    EXPECT_EQ(os.Name(), "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(os.ToString(), "Linux 6.1.0-13-amd64");
    EXPECT_EQ(os.Major(), 6);
    EXPECT_EQ(os.Minor(), 1);
    EXPECT_EQ(os.Revision(), 0);
    EXPECT_TRUE(os.Is64BitOS());
    EXPECT_EQ(os.Language(), "de_DE");
    EXPECT_EQ(os.Processor(), "Intel(R) Core(TM) i7-8550U CPU @ 1.80GHz");
    EXPECT_EQ(os.ProcessorCount(), 2);
    // No package numbers: each listed processor counts as one.
    ASSERT_EQ(os.Processors().size(), 2u);
    EXPECT_EQ(os.Processors()[1].name, "Intel(R) Core(TM) i7-8550U CPU @ 1.80GHz");
    EXPECT_EQ(os.Processors()[1].clock_mhz, "");
    EXPECT_EQ(os.MemoryBytes(), 16318772ULL * 1024);
    // The edition queries of the old system answer as a system without them.
    EXPECT_EQ(os.ServicePack(), "");
    EXPECT_EQ(os.ServicePackMajor(), 0);
    EXPECT_EQ(os.Version(), 0);
    EXPECT_EQ(os.Edition(), 0);
    EXPECT_FALSE(os.IsWindowsServer2003R2());
    EXPECT_FALSE(os.IsWindowsHomeServer());
}

TEST(OsInfo, FallsBackWhenFactsAreMissing) {
    OsFacts facts;
    facts.sysname = "Linux";
    facts.release = "5.10";
    facts.machine = "armv7l";
    facts.os_release = "NAME='Alpine Linux'\nVERSION=3.19\n";
    facts.cpuinfo = "processor : 0\nHardware : BCM2835\n";
    facts.locale = "C.UTF-8";
    const OperatingSystem os(facts);
    EXPECT_EQ(os.Name(), "Alpine Linux 3.19");
    EXPECT_EQ(os.Major(), 5);
    EXPECT_EQ(os.Minor(), 10);
    EXPECT_EQ(os.Revision(), 0);
    EXPECT_FALSE(os.Is64BitOS());
    EXPECT_EQ(os.Language(), "");
    EXPECT_EQ(os.Processor(), "BCM2835");
    EXPECT_EQ(os.ProcessorCount(), 1);
    EXPECT_EQ(os.MemoryBytes(), 0u);

    const OperatingSystem bare{OsFacts{}};
    EXPECT_EQ(bare.Name(), "");
    EXPECT_EQ(bare.ToString(), "");
    EXPECT_EQ(bare.Major(), 0);
}

TEST(OsInfo, ReadsTheRunningSystem) {
    const OperatingSystem os;
    EXPECT_EQ(os.ToString().rfind("Linux ", 0), 0u) << os.ToString();
    EXPECT_FALSE(os.Name().empty());
    EXPECT_GT(os.Major(), 0);
    EXPECT_GT(os.ProcessorCount(), 0);
    EXPECT_GT(os.MemoryBytes(), 0u);
}

TEST(OsInfo, ProductTexts) {
    EXPECT_EQ(product_info_text(0), "[Unbekannt]");
    EXPECT_EQ(product_info_text(6), "Business");
    EXPECT_EQ(product_info_text(7), "Standard Server");
    EXPECT_EQ(product_info_text(25), "");
    EXPECT_EQ(product_info_text(0xABCDABCD), "[Unlizensiert]");
}
