// The frames a real window manager gives the program's windows, on a virtual X display
// with IceWM running: the main window is an ordinary window that can be minimized and
// maximized, a fixed dialog offers neither. What the window manager allows is read back
// from the window with xprop, as any other client would see it.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <QApplication>
#include <QWidget>
#include <chrono>
#include <csignal>
#include <string>
#include <thread>

#include "MainWindowFixture.h"
#include "app/fSelectLanguage.h"
#include "unicode/Peers.h"

extern char** environ;

namespace {

// IceWM on the test's display for the life of the object.
class TRunningWindowManager {
public:
  TRunningWindowManager() {
    char name[] = "icewm";
    char* argv[] = {name, nullptr};
    if (posix_spawnp(&FPid, name, nullptr, nullptr, argv, environ) != 0) FPid = 0;
  }
  ~TRunningWindowManager() {
    if (FPid == 0) return;
    kill(FPid, SIGTERM);
    waitpid(FPid, nullptr, 0);
  }
  bool Started() const { return FPid != 0; }

private:
  pid_t FPid = 0;
};

// An X property of a window (or of the root window for 0), as xprop prints it.
std::string FrameProperty(WId window, const char* property) {
  const std::string target = window == 0 ? "-root" : "-id " + std::to_string(window);
  std::string output;
  RunPeer("xprop " + target + " " + property, "", output);
  return output;
}

// Waits, letting the program answer the window manager, until the property is set.
std::string AwaitFrameProperty(WId window, const char* property) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  std::string value = FrameProperty(window, property);
  while (value.find("not found") != std::string::npos && std::chrono::steady_clock::now() < end) {
    QApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    value = FrameProperty(window, property);
  }
  return value;
}

// The window manager's actions on a window, by the words a user knows them by.
std::string AllowedActions(WId window) {
  const std::string actions = AwaitFrameProperty(window, "_NET_WM_ALLOWED_ACTIONS");
  std::string shown;
  for (const auto& [atom, word] :
       {std::pair{"_NET_WM_ACTION_MINIMIZE", "minimize"}, std::pair{"_NET_WM_ACTION_MAXIMIZE_HORZ", "maximize"},
        std::pair{"_NET_WM_ACTION_CLOSE", "close"}})
    if (actions.find(atom) != std::string::npos) shown += shown.empty() ? word : std::string(" ") + word;
  return shown;
}

class MainWindowFrame : public MainWindow {};

TEST_F(MainWindowFrame, MainWindowMinimizesAndMaximizesUnderX) {
  if (QGuiApplication::platformName() != "xcb")
    GTEST_FAIL() << "window frames need an X display: run the Screenshots test entry, which starts one";
  std::string peer;
  if (!RunPeer("command -v icewm && command -v xprop", "", peer))
    GTEST_FAIL() << "IceWM and xprop are missing: scripts/setup.sh installs them (packages icewm, x11-utils)";
  TRunningWindowManager windowManager;
  ASSERT_TRUE(windowManager.Started());
  ASSERT_NE(AwaitFrameProperty(0, "_NET_SUPPORTING_WM_CHECK").find("window id"), std::string::npos)
      << "IceWM did not start";

  TfrmMain& w = Create();
  TfrmSelectLanguage dialog(nullptr);
  dialog.Show();
  struct TWindowCase {
    const char* Name;
    WId Window;
    const char* Type;
    const char* Actions;
  };
  const TWindowCase cases[] = {
      {"main window", w.Widget()->winId(), "_NET_WM_WINDOW_TYPE_NORMAL", "minimize maximize close"},
      {"language dialog", dialog.Widget()->winId(), "_NET_WM_WINDOW_TYPE_DIALOG", "close"},
  };
  for (const TWindowCase& window : cases) {
    SCOPED_TRACE(window.Name);
    EXPECT_EQ(AllowedActions(window.Window), window.Actions);
    EXPECT_NE(FrameProperty(window.Window, "_NET_WM_WINDOW_TYPE").find(window.Type), std::string::npos);
  }
  dialog.Hide();
}

}  // namespace
