// The stand-ins of a private capture: one real value, one stand-in, whichever record it comes in
// (an association path with doubled backslashes, a device identifier, an interface path in small
// letters); a place-made device instance and a disk without a signature are no secret and stay.

#include "capture/ProfilePrivacy.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ProfilePrivacyTest, OneSerialGetsOneStandInInEveryRecordAndPlaceMadeInstancesStay)
{
    ProfilePrivacy privacy(false);
    EXPECT_EQ(privacy.ObjectPath(
                  LR"(\\JSMITH-PC\root\cimv2:Win32_PnPEntity.DeviceID="USB\\VID_0781&PID_5567\\4C5300012207")"),
              LR"(\\COMPUTER1\root\cimv2:Win32_PnPEntity.DeviceID="USB\\VID_0781&PID_5567\\SERIAL1")");
    EXPECT_EQ(privacy.DeviceId(L"USB\\VID_0781&PID_5567\\4C5300012207"), L"USB\\VID_0781&PID_5567\\SERIAL1");
    EXPECT_EQ(
        privacy.DevicePath(L"\\\\?\\usbstor#disk&ven_sandisk#4c5300012207&0#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}"),
        L"\\\\?\\usbstor#disk&ven_sandisk#serial1&0#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}");
    EXPECT_EQ(privacy.DeviceId(L"USB\\VID_1058&PID_1021\\57442D5743"), L"USB\\VID_1058&PID_1021\\SERIAL2");
    EXPECT_EQ(privacy.DeviceId(L"USB\\ROOT_HUB\\4&2F1E0B7D&0"), L"USB\\ROOT_HUB\\4&2F1E0B7D&0");
    EXPECT_EQ(privacy.DevicePath(L"\\\\?\\ide#diskst500#5&2a7e6b0e&0&0.0.0#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}"),
              L"\\\\?\\ide#diskst500#5&2a7e6b0e&0&0.0.0#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}");
    EXPECT_EQ(privacy.ObjectPath(L"\\\\jsmith-pc\\root\\cimv2:Win32_PnPEntity.DeviceID=\"USB\\\\ROOT_HUB\\\\4&2F&0\""),
              L"\\\\COMPUTER1\\root\\cimv2:Win32_PnPEntity.DeviceID=\"USB\\\\ROOT_HUB\\\\4&2F&0\"");
}

TEST(ProfilePrivacyTest, SignaturesPartitionIdsAndFoldersGetStandInsUnlessTheRealValuesAreKept)
{
    std::vector<winapi::BYTE> sector(512, 0);
    sector[440] = 0x75;
    sector[441] = 0x2E;
    sector[442] = 0xC1;
    sector[443] = 0x5E;
    std::vector<winapi::BYTE> blank(512, 0);
    const winapi::GUID id{0xA11CE001, 0x7C3E, 0x4B5A, {0x9D, 0x1F, 0x2E, 0x8C, 0x4B, 0x6A, 0x0F, 0x13}};

    ProfilePrivacy kept(true);
    std::vector<winapi::BYTE> same = sector;
    kept.Sector0(same);
    EXPECT_EQ(same, sector);
    EXPECT_EQ(kept.PartitionId(id).Data1, id.Data1);
    EXPECT_EQ(kept.MountFolder(L"C:\\", L"Users\\jsmith\\Photos\\"), L"Users\\jsmith\\Photos\\");
    EXPECT_EQ(kept.DeviceId(L"USB\\VID_0781&PID_5567\\4C5300012207"), L"USB\\VID_0781&PID_5567\\4C5300012207");

    ProfilePrivacy privacy(false);
    std::vector<winapi::BYTE> replaced = sector;
    privacy.Sector0(replaced);
    EXPECT_EQ(std::vector<winapi::BYTE>(replaced.begin() + 440, replaced.begin() + 444),
              (std::vector<winapi::BYTE>{1, 0, 0, 0}));
    privacy.Sector0(blank);
    EXPECT_EQ(blank, std::vector<winapi::BYTE>(512, 0));
    const winapi::GUID standIn = privacy.PartitionId(id);
    EXPECT_EQ(standIn.Data1, 0u);
    EXPECT_EQ(standIn.Data4[7], 1);
    EXPECT_EQ(privacy.PartitionId(id).Data4[7], 1);
    EXPECT_EQ(privacy.MountFolder(L"C:\\", L"Users\\jsmith\\Photos\\"), L"MountedFolder1\\");
    EXPECT_EQ(privacy.MountFolder(L"c:\\", L"users\\JSMITH\\photos\\"), L"MountedFolder1\\");
    EXPECT_EQ(privacy.MountFolder(L"D:\\", L"Users\\jsmith\\Photos\\"), L"MountedFolder2\\");
}

}  // namespace
