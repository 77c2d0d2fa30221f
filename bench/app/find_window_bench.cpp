// Times the find box in the real window: for each of 50 keys (letters and
// Backspace) posted to the find box as the window system would deliver
// them, from the key event's arrival to the end of the list's next paint
// that shows the rows of the new query. Needs a display (run it under
// Xvfb); the sites are listed through the window, as an open does, and the
// memory they add is reported per site.
//
//   vornix_find_window_bench [SITES...]   (default 10000 100000 1000000)
//
// Targets: 100,000 sites within one frame (16 ms) a key, 1,000,000 within
// 100 ms.

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/site_list_box.h"
#include "bench/app/bench_app.h"
#include "core/pw_list.h"

namespace {

// The lines of an archive, as FSites hands them to the list.
std::vector<std::string> MakeSites(int count) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    lines.push_back("Site " + n + " example=user" + n + "@mail.example\tpw" + n +
                    "!Xy7#q\thttps://site" + n + ".example/login\tnote for site " + n);
  }
  return lines;
}

// Processor time of this thread: unlike the wall clock, it leaves out the
// time other processes on a busy machine take.
double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

// The keys: queries typed and deleted again, 50 keys, half of them Backspace.
std::vector<QChar> Keys() {
  std::vector<QChar> keys;
  for (const char* query : {"site 1234", "example", "user99", "zzz"}) {
    const QString text = QString::fromLatin1(query);
    for (const QChar c : text) keys.push_back(c);
    for (int i = 0; i < text.size(); ++i) keys.push_back(QChar(0x08));
  }
  return keys;
}

// Records when a key reaches the find box and when a paint of the list's
// viewport ends; the paint is run from here so its end can be seen.
class TWatch : public QObject {
 public:
  TWatch(QWidget* box, QWidget* viewport) : viewport_(viewport) {
    box->installEventFilter(this);
    viewport->installEventFilter(this);
    clock_.start();
  }
  qint64 keyAt = -1;
  qint64 paintEndAt = -1;
  double keyCpu = 0;       // this thread's processor time at the key, ms
  double paintEndCpu = 0;  // and at the end of the last paint
  qint64 Now() const { return clock_.nsecsElapsed(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && watched != viewport_) {
      keyAt = Now();
      keyCpu = ThreadCpuMs();
    }
    if (event->type() == QEvent::Paint && watched == viewport_) {
      static_cast<QObject*>(viewport_)->event(event);
      paintEndAt = Now();
      paintEndCpu = ThreadCpuMs();
      return true;
    }
    return false;
  }

 private:
  QWidget* viewport_;
  QElapsedTimer clock_;
};

void Post(QWidget* box, QChar key) {
  const bool back = key == QChar(0x08);
  // Letters, digits and space: the key code is the character's capital.
  const int code = back ? int(Qt::Key_Backspace) : int(key.toUpper().unicode());
  const QString text = back ? QString() : QString(key);
  QCoreApplication::postEvent(box, new QKeyEvent(QEvent::KeyPress, code, Qt::NoModifier, text));
  QCoreApplication::postEvent(box, new QKeyEvent(QEvent::KeyRelease, code, Qt::NoModifier, text));
}

void Settle(int ms) {
  QElapsedTimer settle;
  settle.start();
  while (settle.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

void Run(int count) {
  TfrmMain window;
  window.show();
  Settle(300);  // the window's first show starts a new, empty archive
  auto* list = window.findChild<TSiteListBox*>("lbxSiteList");
  auto* box = window.findChild<QLineEdit*>("edtFind");
  const long before = ResidentKiB();
  list->AddLines(MakeSites(count));
  const long added = ResidentKiB() - before;
  std::printf("%d sites: the list holds %.0f bytes a site (resident memory added by the lines and the list)\n", count,
              added * 1024.0 / count);
  box->setFocus();
  Settle(300);

  TWatch watch(box, list->viewport());
  std::vector<double> ms;
  std::vector<double> cpu;
  int unpainted = 0;  // keys whose rows needed no repaint
  for (const QChar key : Keys()) {
    watch.keyAt = -1;
    watch.paintEndAt = -1;
    Post(box, key);
    // Until the rows of the new query have been painted (or 5 s).
    QElapsedTimer wait;
    wait.start();
    qint64 shownAt = -1;
    double shownCpu = 0;
    while (wait.elapsed() < 5000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents);
      if (watch.keyAt < 0 || list->Searching()) continue;
      if (shownAt < 0) {
        shownAt = watch.Now();
        shownCpu = ThreadCpuMs();
      }
      if (watch.paintEndAt > shownAt) break;
      if (watch.Now() - shownAt > 200'000'000) break;  // nothing to repaint
    }
    ms.push_back((std::max(watch.paintEndAt, shownAt) - watch.keyAt) / 1e6);
    cpu.push_back((watch.paintEndAt > shownAt ? watch.paintEndCpu : shownCpu) - watch.keyCpu);
    if (watch.paintEndAt < shownAt) ++unpainted;
    if (qEnvironmentVariableIsSet("VORNIX_BENCH_KEYS")) {
      std::printf("    \"%s\" %d shown, %.2f ms\n", qPrintable(box->text()), list->ShownCount(), ms.back());
    }
    // A typist's pause before the next key.
    while (wait.elapsed() < 40 + ms.back()) QCoreApplication::processEvents();
  }
  std::vector<double> sorted = ms;
  std::sort(sorted.begin(), sorted.end());
  double letters = 0, backs = 0;
  const std::vector<QChar> keys = Keys();
  for (std::size_t i = 0; i < keys.size(); ++i) {
    double& slowest = keys[i] == QChar(0x08) ? backs : letters;
    slowest = std::max(slowest, ms[i]);
  }
  std::printf("  %zu keys, key to painted rows: median %.1f ms, slowest %.1f ms "
              "(slowest letter %.1f, slowest Backspace %.1f; %d keys repainted nothing)\n",
              ms.size(), sorted[sorted.size() / 2], sorted.back(), letters, backs, unpainted);
  std::sort(cpu.begin(), cpu.end());
  std::printf("  processor time of the window's thread for the same: median %.1f ms, slowest %.1f ms\n",
              cpu[cpu.size() / 2], cpu.back());

  window.SetModified(false);
}

}  // namespace

int main(int argc, char* argv[]) {
  const TBenchApp app(argc, argv);
  std::vector<int> counts;
  for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
  if (counts.empty()) counts = {10000, 100000, 1000000};
  for (const int count : counts) Run(count);
  return 0;
}
