// Picking apart the files the machine probe reads.
#include <gtest/gtest.h>

#include <string>

#include "report/probe_files.h"

namespace vellum {
namespace {

TEST(ProbeFiles, KeyValuesOfCpuinfoAndOsRelease) {
  const std::string cpuinfo =
      "processor\t: 0\nvendor_id\t: AuthenticAMD\nmodel name\t: AMD EPYC 7B13\ncpu MHz\t\t: 2449.998\n";
  EXPECT_EQ(keyValue(cpuinfo, "model name", ':'), "AMD EPYC 7B13");
  EXPECT_EQ(leadingNumber(keyValue(cpuinfo, "cpu MHz", ':')), 2449);
  EXPECT_EQ(keyValue(cpuinfo, "flags", ':'), "");
  EXPECT_EQ(keyValue(cpuinfo, "model", ':'), "");  // "model name" is another key
  const std::string osRelease = "NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n";
  EXPECT_EQ(unquoted(keyValue(osRelease, "PRETTY_NAME", '=')), "Debian GNU/Linux 12 (bookworm)");
  EXPECT_EQ(unquoted("'x'"), "x");
  EXPECT_EQ(unquoted("\""), "\"");
  const std::string meminfo = "MemTotal:       16318480 kB\nMemFree:          512000 kB\n";
  EXPECT_EQ(leadingNumber(keyValue(meminfo, "MemTotal", ':')), 16318480);
  EXPECT_EQ(leadingNumber(""), 0);
  EXPECT_EQ(leadingNumber("99999999999999999999999"), 999999999999999999);
}

std::string memoryRecord(size_t length, uint16_t size, uint16_t speed, uint32_t extendedSize = 0) {
  std::string r(length, '\0');
  r[0] = 17;
  r[1] = static_cast<char>(length);
  r[0x0C] = static_cast<char>(size & 0xFF);
  r[0x0D] = static_cast<char>(size >> 8);
  if (length >= 0x17) {
    r[0x15] = static_cast<char>(speed & 0xFF);
    r[0x16] = static_cast<char>(speed >> 8);
  }
  if (length >= 0x20) {
    for (int i = 0; i < 4; ++i) r[0x1C + static_cast<size_t>(i)] = static_cast<char>(extendedSize >> (8 * i));
  }
  return r + std::string("DIMM 0\0\0", 8);  // the strings after the formatted part
}

TEST(ProbeFiles, MemoryDeviceRecords) {
  MemoryModule m;
  ASSERT_TRUE(memoryModuleFromRecord(memoryRecord(0x28, 8192, 3200), m));
  EXPECT_EQ(m.capacityBytes, 8192ull << 20);
  EXPECT_EQ(m.speed, "3200");
  ASSERT_TRUE(memoryModuleFromRecord(memoryRecord(0x28, 0x7FFF, 0, 65536), m));
  EXPECT_EQ(m.capacityBytes, 65536ull << 20);
  EXPECT_EQ(m.speed, "");
  ASSERT_TRUE(memoryModuleFromRecord(memoryRecord(0x15, 0x8000 | 512, 0), m));  // kilobytes, no speed field
  EXPECT_EQ(m.capacityBytes, 512ull << 10);
  EXPECT_FALSE(memoryModuleFromRecord(memoryRecord(0x28, 0, 3200), m));  // empty slot
  EXPECT_FALSE(memoryModuleFromRecord("", m));
  std::string other = memoryRecord(0x28, 8192, 3200);
  other[0] = 16;
  EXPECT_FALSE(memoryModuleFromRecord(other, m));
  // A length byte larger than the record is held to the record.
  std::string cut = memoryRecord(0x28, 8192, 3200).substr(0, 0x10);
  ASSERT_TRUE(memoryModuleFromRecord(cut, m));
  EXPECT_EQ(m.speed, "");
}

TEST(ProbeFiles, SoundCards) {
  const std::string cards =
      " 0 [PCH            ]: HDA-Intel - HDA Intel PCH\n"
      "                      HDA Intel PCH at 0xf7f10000 irq 31\n"
      " 1 [NVidia         ]: HDA-Intel - HDA NVidia\n"
      "                      HDA NVidia at 0xf7080000 irq 17\n";
  const auto list = soundCardsFromList(cards);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].manufacturer, "HDA-Intel");
  EXPECT_EQ(list[0].description, "HDA Intel PCH");
  EXPECT_EQ(list[1].description, "HDA NVidia");
  EXPECT_TRUE(soundCardsFromList("--- no soundcards ---\n").empty());
}

TEST(ProbeFiles, PciNames) {
  const std::string ids =
      "# comment\n"
      "1002  Advanced Micro Devices, Inc. [AMD/ATI]\n"
      "\t15bf  Phoenix1\n"
      "\t\t1002 0124  subsystem\n"
      "10de  NVIDIA Corporation\n"
      "\t2330  GH100 [H100 SXM5 80GB]\n"
      "\t15bf  not this one\n";
  EXPECT_EQ(pciNameFromIds(ids, 0x10de, 0x2330), "NVIDIA Corporation GH100 [H100 SXM5 80GB]");
  EXPECT_EQ(pciNameFromIds(ids, 0x1002, 0x15bf), "Advanced Micro Devices, Inc. [AMD/ATI] Phoenix1");
  EXPECT_EQ(pciNameFromIds(ids, 0x1002, 0x0124), "");
  EXPECT_EQ(pciNameFromIds(ids, 0x8086, 0x15bf), "");
  EXPECT_EQ(pciDeviceName("", ""), "");
  EXPECT_EQ(pciDeviceName("0xzz", "0x1"), "");
  // Either the system's list knows the device or the ids are written out.
  EXPECT_FALSE(pciDeviceName("0x1234", "0xabcd").empty());
}

}  // namespace
}  // namespace vellum
