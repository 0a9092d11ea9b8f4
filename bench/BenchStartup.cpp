// Start-up, memory and idle cost of kovna.exe against a bare dialog of the
// same template (BareDialog.exe): alternated starts, the median time from
// CreateProcess to the first painted window and the private bytes after
// start-up, then the CPU time and context switches of 60 idle seconds.
// What users get is the release build: scripts/bench-startup.sh builds this
// program beside it and its bare dialog, with the same flags, and runs it.
// Usage: BenchStartup [kovna.exe [BareDialog.exe [starts [idle seconds]]]]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

double NowMs()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct FindWindowOf {
    DWORD dwPid;
    HWND hWnd;
};

BOOL CALLBACK TakeCaptionedWindow(HWND hWnd, LPARAM lParam)
{
    auto* pFind = reinterpret_cast<FindWindowOf*>(lParam);
    DWORD dwPid = 0;
    ::GetWindowThreadProcessId(hWnd, &dwPid);
    if (dwPid != pFind->dwPid || !::IsWindowVisible(hWnd) || !(::GetWindowLongA(hWnd, GWL_STYLE) & WS_CAPTION))
        return TRUE;
    pFind->hWnd = hWnd;
    return FALSE;
}

// A started program with its window shown and painted.
struct Started {
    PROCESS_INFORMATION pi{};
    HWND hWnd = nullptr;
    double msToPaint = 0;
};

bool Start(const std::string& exe, Started& started)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string commandLine = "\"" + exe + "\"";
    const double start = NowMs();
    if (!::CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &started.pi))
        return false;
    ::WaitForInputIdle(started.pi.hProcess, 20000);
    // Painted: visible, and nothing left in its update region.
    for (const double deadline = start + 20000; NowMs() < deadline; ::Sleep(1)) {
        FindWindowOf find{started.pi.dwProcessId, nullptr};
        ::EnumWindows(TakeCaptionedWindow, reinterpret_cast<LPARAM>(&find));
        if (find.hWnd && !::GetUpdateRect(find.hWnd, nullptr, FALSE)) {
            started.hWnd = find.hWnd;
            started.msToPaint = NowMs() - start;
            return true;
        }
    }
    return false;
}

// Both dialogs leave through their Cancel command (Kovna's Exit).
void Stop(Started& started)
{
    ::PostMessageA(started.hWnd, WM_COMMAND, IDCANCEL, 0);
    if (::WaitForSingleObject(started.pi.hProcess, 5000) != WAIT_OBJECT_0)
        ::TerminateProcess(started.pi.hProcess, 1);
    ::CloseHandle(started.pi.hThread);
    ::CloseHandle(started.pi.hProcess);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string ReadLinuxFile(const std::string& path)
{
    std::string text;
    const HANDLE hFile = ::CreateFileA(("Z:" + path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return text;
    char buffer[4096];
    DWORD dwRead = 0;
    while (::ReadFile(hFile, buffer, sizeof buffer, &dwRead, nullptr) && dwRead)
        text.append(buffer, dwRead);
    ::CloseHandle(hFile);
    return text;
}

// Under Wine a Windows process is a Linux one whose first argument is the
// exe's full Windows path, as CreateProcess got it; the scheduler's own
// counts live in /proc there.
std::string LinuxProcOf(const std::string& exe)
{
    WIN32_FIND_DATAA found;
    const HANDLE hFind = ::FindFirstFileA("Z:\\proc\\*", &found);
    std::string match;
    if (hFind == INVALID_HANDLE_VALUE)
        return match;
    do {
        if (!std::isdigit(static_cast<unsigned char>(found.cFileName[0])))
            continue;
        const std::string dir = std::string("/proc/") + found.cFileName;
        if (_stricmp(ReadLinuxFile(dir + "/cmdline").c_str(), exe.c_str()) == 0)
            match = dir;
    } while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);
    return match;
}

// CPU milliseconds (all threads) and context switches (all threads) so far.
struct LinuxCounts {
    double cpuMs = 0;
    long switches = 0;
};

LinuxCounts CountsOf(const std::string& proc)
{
    LinuxCounts counts;
    const std::string stat = ReadLinuxFile(proc + "/stat");
    const size_t afterName = stat.rfind(')');
    if (afterName != std::string::npos) {
        // Fields after the name: state is the 3rd field, utime the 14th, stime the 15th.
        unsigned long utime = 0, stime = 0;
        std::sscanf(stat.c_str() + afterName + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime,
                    &stime);
        counts.cpuMs = (utime + stime) * 10.0;  // USER_HZ is 100 on Linux
    }
    WIN32_FIND_DATAA found;
    const HANDLE hFind = ::FindFirstFileA(("Z:" + proc + "/task/*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return counts;
    do {
        if (!std::isdigit(static_cast<unsigned char>(found.cFileName[0])))
            continue;
        const std::string status = ReadLinuxFile(proc + "/task/" + found.cFileName + "/status");
        for (const char* key : {"voluntary_ctxt_switches:", "nonvoluntary_ctxt_switches:"}) {
            const size_t at = status.find(key);
            if (at != std::string::npos && (at == 0 || status[at - 1] == '\n'))
                counts.switches += std::atol(status.c_str() + at + std::strlen(key));
        }
    } while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);
    return counts;
}

// Private bytes: Wine leaves PrivateUsage at 0, so under Wine the private
// resident pages of the Linux process stand in for it.
double PrivateKb(const Started& started, const std::string& exe)
{
    const std::string proc = LinuxProcOf(exe);
    if (proc.empty()) {
        PROCESS_MEMORY_COUNTERS_EX counters{};
        ::GetProcessMemoryInfo(started.pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                               sizeof counters);
        return static_cast<double>(counters.PrivateUsage) / 1024.0;
    }
    const std::string rollup = ReadLinuxFile(proc + "/smaps_rollup");
    double kb = 0;
    for (const char* key : {"\nPrivate_Clean:", "\nPrivate_Dirty:"}) {
        const size_t at = rollup.find(key);
        if (at != std::string::npos)
            kb += std::atof(rollup.c_str() + at + std::strlen(key));
    }
    return kb;
}

// The file's size and whether it is stripped, as the release build is (the
// test builds keep their symbols), from its PE header.
struct ExeFacts {
    DWORD cb = 0;
    bool bStripped = false;
};

ExeFacts FactsOf(const std::string& exe)
{
    ExeFacts facts;
    const HANDLE hFile =
        ::CreateFileA(exe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return facts;
    facts.cb = ::GetFileSize(hFile, nullptr);
    IMAGE_DOS_HEADER dos{};
    IMAGE_FILE_HEADER file{};
    DWORD dwRead = 0;
    DWORD dwSignature = 0;
    if (::ReadFile(hFile, &dos, sizeof dos, &dwRead, nullptr) && dwRead == sizeof dos &&
        ::SetFilePointer(hFile, dos.e_lfanew, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
        ::ReadFile(hFile, &dwSignature, sizeof dwSignature, &dwRead, nullptr) &&
        dwSignature == IMAGE_NT_SIGNATURE && ::ReadFile(hFile, &file, sizeof file, &dwRead, nullptr) &&
        dwRead == sizeof file)
        facts.bStripped = file.PointerToSymbolTable == 0 && file.NumberOfSymbols == 0;
    ::CloseHandle(hFile);
    return facts;
}

std::string FullPath(const char* pszPath)
{
    char path[MAX_PATH];
    ::GetFullPathNameA(pszPath, MAX_PATH, path, nullptr);
    return path;
}

std::string NextToSelf(const char* pszName)
{
    char path[MAX_PATH];
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of("\\/") + 1) + pszName;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string exes[2] = {argc > 1 ? FullPath(argv[1]) : NextToSelf("kovna.exe"),
                                 argc > 2 ? FullPath(argv[2]) : NextToSelf("BareDialog.exe")};
    const int nStarts = argc > 3 ? std::atoi(argv[3]) : 15;
    const int nIdleSeconds = argc > 4 ? std::atoi(argv[4]) : 60;
    for (const std::string& exe : exes) {
        const ExeFacts facts = FactsOf(exe);
        std::printf("%s: %lu bytes, %s\n", exe.c_str(), static_cast<unsigned long>(facts.cb),
                    facts.bStripped ? "stripped (a release build)" : "with symbols: a test build, not what users get");
    }

    // One unmeasured start of each warms the file cache and the Wine server.
    std::vector<double> paintMs[2], privateKb[2];
    for (int i = -1; i < nStarts; ++i) {
        for (int k = 0; k < 2; ++k) {
            Started started;
            if (!Start(exes[k], started)) {
                std::printf("%s did not show a painted window\n", exes[k].c_str());
                return 1;
            }
            ::Sleep(500);  // let start-up settle before counting memory
            if (i >= 0) {
                paintMs[k].push_back(started.msToPaint);
                privateKb[k].push_back(PrivateKb(started, exes[k]));
            }
            Stop(started);
        }
    }
    const double paint[2] = {Median(paintMs[0]), Median(paintMs[1])};
    const double memory[2] = {Median(privateKb[0]), Median(privateKb[1])};
    std::printf("%d alternated starts each, medians\n", nStarts);
    std::printf("%-16s %10s %14s\n", "", "paint ms", "private KB");
    std::printf("%-16s %10.1f %14.0f\n", "kovna", paint[0], memory[0]);
    std::printf("%-16s %10.1f %14.0f\n", "bare dialog", paint[1], memory[1]);
    std::printf("%-16s %9.2fx %13.2fx   (goals 1.15x, 1.2x)\n", "ratio", paint[0] / paint[1], memory[0] / memory[1]);

    // Idle: both running side by side, counted from Linux's side of Wine.
    Started idle[2];
    std::string proc[2];
    LinuxCounts before[2];
    for (int k = 0; k < 2; ++k) {
        if (!Start(exes[k], idle[k]))
            return 1;
    }
    ::Sleep(1000);
    for (int k = 0; k < 2; ++k) {
        proc[k] = LinuxProcOf(exes[k]);
        before[k] = CountsOf(proc[k]);
    }
    if (proc[0].empty() || proc[1].empty()) {
        std::printf("idle: the Linux processes were not found (not under Wine?)\n");
    } else {
        ::Sleep(static_cast<DWORD>(nIdleSeconds) * 1000);
        std::printf("%d idle seconds: %10s %18s\n", nIdleSeconds, "CPU ms", "context switches");
        const char* names[2] = {"kovna", "bare dialog"};
        for (int k = 0; k < 2; ++k) {
            const LinuxCounts after = CountsOf(proc[k]);
            std::printf("%-16s %10.0f %18ld\n", names[k], after.cpuMs - before[k].cpuMs,
                        after.switches - before[k].switches);
        }
    }
    for (Started& started : idle)
        Stop(started);
    return 0;
}
