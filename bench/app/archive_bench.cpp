// Times opening an archive into the main window's list box and saving the
// list box back to disk, for 1,000 and 100,000 sites, with the peak memory
// each step adds. Runs without a display; settings go to a temporary folder.
//
// Targets: 1,000 sites under 50 ms per step; 100,000 sites under 1 s per
// step with a peak memory under ten times the archive's text size.

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <vector>
#include <fstream>
#include <string>

#include "app/main_window.h"
#include "bench/app/bench_app.h"
#include "archive/storage/safe_save.h"
#include "core/pw_list.h"
#include "support/modal_result.h"
#include "support/msg_dlg.h"

namespace {

const char kPassword[] = "bench password";

// Site lines in numeric order, which is not collation order ("Site 10"
// sorts before "Site 2"), as another tool might write them.
std::string MakeSiteText(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    text += "Site " + n + " example=user" + n + "@mail.example\tpw" + n + "!Xy7#q\thttps://site" +
            n + ".example/login\tnote for site " + n + "\r\n";
  }
  return text;
}

// The same lines in the order this program writes them.
std::string SortedAsSaved(const std::string& text) {
  TqelPwList list;
  list.LoadFromText(text);
  return list.SaveToText();
}

// The same lines in a random order.
std::string Shuffled(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t end = text.find("\r\n", pos);
    lines.push_back(text.substr(pos, end + 2 - pos));
    pos = end + 2;
  }
  std::shuffle(lines.begin(), lines.end(), std::mt19937(1));
  std::string out;
  out.reserve(text.size());
  for (const std::string& line : lines) out += line;
  return out;
}

enum class TOrder { Saved, Numeric, Shuffled };

// The process's peak resident memory in KiB (VmHWM).
long PeakKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

// Starts a new peak measurement from the current resident size.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

struct Step {
  double ms;
  double cpuMs;  // processor time: on a busy machine, the wall clock overstates
  long peakKiB;
};

double CpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

template <class F>
Step Measure(F&& step) {
  ResetPeak();
  const long before = PeakKiB();
  QElapsedTimer timer;
  timer.start();
  const double cpu = CpuMs();
  step();
  const double ms = timer.nsecsElapsed() / 1e6;
  return {ms, CpuMs() - cpu, PeakKiB() - before};
}

void Report(const char* what, int sites, const Step& step, double limitMs, double textKiB) {
  const bool fast = step.ms < limitMs;
  std::printf(
      "%-5s %7d sites: %9.1f ms (target < %.0f ms: %s; processor %.1f ms), peak +%ld KiB = %.1fx "
      "text\n",
      what, sites, step.ms, limitMs, fast ? "met" : "MISSED", step.cpuMs, step.peakKiB,
      step.peakKiB / textKiB);
}

void Run(const QString& folder, int sites, double limitMs, TOrder order) {
  const std::string text = order == TOrder::Saved      ? SortedAsSaved(MakeSiteText(sites))
                           : order == TOrder::Shuffled ? Shuffled(MakeSiteText(sites))
                                                       : MakeSiteText(sites);
  std::printf("%s archive:\n", order == TOrder::Saved      ? "Sorted (as saved by Vornix)"
                               : order == TOrder::Shuffled ? "Shuffled (another tool)"
                                                           : "Unsorted (another tool)");
  const QString path = folder + QString("/bench-%1.zip").arg(sites);
  SaveDataArchive(QFile::encodeName(path).toStdString(), kPassword, text);
  const double textKiB = text.size() / 1024.0;

  TfrmMain window;
  window.SetOpenPasswordPrompt([](QString& password) {
    password = kPassword;
    return int(mrOk);
  });
  TqelMsgDlg::SetAnswerer([path](const TMsgRequest& request) -> QVariant {
    if (request.kind == TMsgRequest::OpenFile) return path;
    return int(mrNo);
  });
  const Step open = Measure([&window] { window.findChild<QAction*>("mmiFileOpen")->trigger(); });
  window.SetModified(true);
  const Step save = Measure([&window] { window.findChild<QAction*>("mmiFileSave")->trigger(); });
  Report("open", sites, open, limitMs, textKiB);
  Report("save", sites, save, limitMs, textKiB);
  if (sites >= 100000) {
    const long worst = std::max(open.peakKiB, save.peakKiB);
    std::printf("      text %.0f KiB, peak memory target < %.0f KiB: %s\n", textKiB, 10 * textKiB,
                worst < 10 * textKiB ? "met" : "MISSED");
  }
  window.SetModified(false);
}

}  // namespace

int main(int argc, char* argv[]) {
  const TBenchApp app(OffscreenUnlessNamed(argc), argv);
  if (argc > 1) {
    // vornix_archive_bench SITES...: saved and shuffled order at each size.
    for (int i = 1; i < argc; ++i) {
      Run(app.Folder(), std::atoi(argv[i]), 1500, TOrder::Saved);
      Run(app.Folder(), std::atoi(argv[i]), 1500, TOrder::Shuffled);
    }
  } else {
    Run(app.Folder(), 1000, 50, TOrder::Saved);
    Run(app.Folder(), 100000, 1000, TOrder::Saved);
    Run(app.Folder(), 100000, 1000, TOrder::Numeric);
  }
  TqelMsgDlg::SetAnswerer(nullptr);
  return 0;
}
