// Start-up benchmark: how long a window program takes from process creation to its running event loop
// (its window is up, the catalogue is in the list, and a message sent to the window is answered), and
// its peak working set by then.
// Runs mirravel.exe, the bare window and the main window without catalogue in turn, and prints medians,
// differences and the ratios that the start-up goals speak of.
//   startup <mirravel.exe> <bare_window.exe> <main_window_only.exe> [runs] [catalogue text] [packed block]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Sample {
  double milliseconds = 0;
  double peakKilobytes = 0;
};

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindListControl(HWND window, LPARAM context) {
  if (::GetDlgCtrlID(window) != 8) return TRUE;
  *reinterpret_cast<HWND*>(context) = window;
  return FALSE;
}

// The program's list (control 8) holds the catalogue.
bool CatalogueShown(HWND window) {
  HWND list = nullptr;
  ::EnumChildWindows(window, FindListControl, reinterpret_cast<LPARAM>(&list));
  DWORD_PTR lines = 0;
  return list != nullptr &&
         ::SendMessageTimeoutW(list, EM_GETLINECOUNT, 0, 0, SMTO_ABORTIFHUNG, 20000, &lines) != 0 && lines > 1;
}

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<WindowSearch*>(context);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !::IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f{};
    ::QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter{};
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// One start: false when the program did not come up within 20 s.
bool MeasureOnce(const std::string& program, bool withCatalogue, Sample& sample) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string commandLine = "\"" + program + "\"";
  const double start = Now();
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  WindowSearch search{process.dwProcessId, nullptr};
  bool ready = false;
  while (Now() - start < 20000 && !ready) {
    if (search.found == nullptr) ::EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    DWORD_PTR answer = 0;
    // The loop answers sent messages once start-up, catalogue loading included, is over.
    ready = search.found != nullptr &&
            ::SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 20000, &answer) != 0 &&
            (!withCatalogue || CatalogueShown(search.found));
    if (!ready) ::Sleep(1);
  }
  sample.milliseconds = Now() - start;
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (ready && ::GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters)) {
    sample.peakKilobytes = static_cast<double>(counters.PeakWorkingSetSize) / 1024.0;
  }
  if (search.found != nullptr) ::PostMessageA(search.found, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) ::TerminateProcess(process.hProcess, 1);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return ready;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

long long FileSize(const char* path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return -1;
  return static_cast<long long>(data.nFileSizeLow) | static_cast<long long>(data.nFileSizeHigh) << 32;
}

struct Subject {
  const char* name;
  std::string program;
  bool withCatalogue;
  std::vector<double> times;
  std::vector<double> peaks;
};

void PrintDifference(const char* what, const Subject& a, const Subject& b, double& addedTime, double& addedPeak) {
  addedTime = Median(a.times) - Median(b.times);
  addedPeak = Median(a.peaks) - Median(b.peaks);
  std::printf("%s: %+.1f ms, %+.0f KB\n", what, addedTime, addedPeak);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::printf("usage: startup <mirravel.exe> <bare_window.exe> <main_window_only.exe> [runs] [catalogue text] "
                "[packed block]\n");
    return 2;
  }
  const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 10;
  Subject subjects[3] = {{"mirravel", argv[1], true, {}, {}},
                         {"bare window", argv[2], false, {}, {}},
                         {"main window without catalogue", argv[3], false, {}, {}}};
  Sample sample;
  for (const Subject& subject : subjects) MeasureOnce(subject.program, subject.withCatalogue, sample);  // warm-up
  for (int run = 0; run < runs; ++run) {
    for (Subject& subject : subjects) {
      if (!MeasureOnce(subject.program, subject.withCatalogue, sample)) {
        std::printf("%s did not reach its event loop\n", subject.name);
        return 1;
      }
      subject.times.push_back(sample.milliseconds);
      subject.peaks.push_back(sample.peakKilobytes);
    }
  }
  std::printf("start-up to a running event loop, and peak working set (medians of %d runs):\n", runs);
  for (const Subject& subject : subjects) {
    std::printf("  %-30s %7.1f ms  %7.0f KB\n", subject.name, Median(subject.times), Median(subject.peaks));
  }
  double addedTime = 0;
  double addedPeak = 0;
  PrintDifference("mirravel against the bare window", subjects[0], subjects[1], addedTime, addedPeak);
  PrintDifference("the catalogue's share (against the main window without it)", subjects[0], subjects[2], addedTime,
                  addedPeak);
  const double bareTime = Median(subjects[1].times);
  const double startRatio = Median(subjects[0].times) / bareTime;
  std::printf("start-up time against the bare window: mirravel %.2f times, the main window without catalogue %.2f"
              " times; goal for mirravel at most 1.4: %s\n",
              startRatio, Median(subjects[2].times) / bareTime, startRatio <= 1.4 ? "met" : "NOT met");
  const long long textSize = argc > 5 ? FileSize(argv[5]) : -1;
  const long long blockSize = argc > 6 ? FileSize(argv[6]) : -1;
  if (textSize > 0) {
    const double ratio = addedPeak * 1024.0 / static_cast<double>(textSize);
    std::printf("catalogue text %lld KB; the catalogue adds %.2f times that to the peak working set; goal at most"
                " 1.3: %s\n", textSize / 1024, ratio, ratio <= 1.3 ? "met" : "NOT met");
    if (blockSize > 0) {
      // Both executables carry the block, and Wine reads every section of an image whose file alignment is
      // below the page size into private memory at load, so the difference above does not show it.
      std::printf("with its packed block (%lld KB, resident from load in both executables under Wine): %.2f times\n",
                  blockSize / 1024, (addedPeak * 1024.0 + static_cast<double>(blockSize)) / static_cast<double>(textSize));
    }
  }
  return 0;
}
