// The alarm's sound: the ring file of the system's Windows folder where it is
// there, the program's own wave where it is not, both looping until a stop.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <windows.h>
#include <mmsystem.h>

#include "kit/Controls.h"
#include "kit/Recorder.h"
#include "res/resource.h"
#include "schedule/AlarmSound.h"

namespace {

constexpr uintptr_t kLooping = SND_ASYNC | SND_LOOP | SND_NODEFAULT;

std::string OwnRing()
{
    const HMODULE hModule = ::GetModuleHandleA(nullptr);
    const HRSRC hRes = ::FindResourceA(hModule, MAKEINTRESOURCEA(IDR_ALARM_RING), "WAVE");
    if (!hRes)
        return {};
    return std::string(static_cast<const char*>(::LockResource(::LoadResource(hModule, hRes))),
                       ::SizeofResource(hModule, hRes));
}

} // namespace

// PlaySoundW with SND_RESOURCE looks for the type "WAVE".
TEST(AlarmSound, TheOwnRingIsASmallPcmWaveResource)
{
    const std::string wave = OwnRing();
    ASSERT_GT(wave.size(), 44u);
    EXPECT_LT(wave.size(), 2048u);  // the 32-bit exe stays within 300 KB
    EXPECT_EQ("RIFF", wave.substr(0, 4));
    EXPECT_EQ("WAVEfmt ", wave.substr(8, 8));
    WORD wFormat = 0;
    std::memcpy(&wFormat, &wave[20], sizeof wFormat);
    EXPECT_EQ(WAVE_FORMAT_PCM, wFormat);
}

TEST(AlarmSound, TheSystemsRingFileWhereItIsTheOwnRingElse)
{
    char szWindows[MAX_PATH];
    const UINT nWindows = ::GetSystemWindowsDirectoryA(szWindows, MAX_PATH);
    ASSERT_GT(nWindows, 0u);
    const std::string media = std::string(szWindows, nWindows) + "\\Media";
    const std::string file = media + "\\ringin.wav";
    wchar_t szFile[MAX_PATH];
    ASSERT_TRUE(AlarmSoundFile(szFile));
    ASSERT_EQ(file, GbkText(szFile));

    // The prefix's own file, if any, is set aside for the test.
    struct SetAside {
        std::string file, aside;
        bool bMoved;
        ~SetAside()
        {
            ::DeleteFileA(file.c_str());
            if (bMoved)
                ::MoveFileA(aside.c_str(), file.c_str());
        }
    } setAside{file, file + ".aside", ::MoveFileA(file.c_str(), (file + ".aside").c_str()) != FALSE};

    CRecordingApi api;
    api.bPlaySoundResult = TRUE;
    CScopedSystemApi scope(&api);
    EXPECT_TRUE(StartAlarmSound());
    auto plays = api.CallsNamed("PlaySoundW");
    ASSERT_EQ(1u, plays.size());
    EXPECT_EQ("#" + std::to_string(IDR_ALARM_RING), plays[0].text);
    EXPECT_EQ((std::vector<uintptr_t>{reinterpret_cast<uintptr_t>(::GetModuleHandleA(nullptr)),
                                      SND_RESOURCE | kLooping}),
              plays[0].args);

    ::CreateDirectoryA(media.c_str(), nullptr);
    const std::string wave = OwnRing();
    const HANDLE hFile = ::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    DWORD dwWritten = 0;
    ::WriteFile(hFile, wave.data(), static_cast<DWORD>(wave.size()), &dwWritten, nullptr);
    ::CloseHandle(hFile);
    api.Clear();
    EXPECT_TRUE(StartAlarmSound());
    plays = api.CallsNamed("PlaySoundW");
    ASSERT_EQ(1u, plays.size());
    EXPECT_EQ(file, plays[0].text);
    EXPECT_EQ((std::vector<uintptr_t>{0, SND_FILENAME | kLooping}), plays[0].args);
}
