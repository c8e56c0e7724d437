// Runs code in a child process whose files cannot grow beyond a limit, the way a full
// disk stops a write, without needing a small file system.
#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <exception>
#include <string>

// Runs `body` (returning a std::string, such as the message of what it caught) in a
// child whose writes beyond `limitBytes` of a file fail with EFBIG (SIGXFSZ ignored).
// Returns the child's text ("escaped: " and the message for an exception the body let
// out), or "child died" when it did not end normally.
template <typename Body>
std::string RunWithFileSizeLimit(rlim_t limitBytes, Body body) {
  int channel[2];
  if (pipe(channel) != 0) return "no pipe";
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{limitBytes, limitBytes};
    setrlimit(RLIMIT_FSIZE, &limit);
    // Nothing may leave the child but its text: an escaping exception would run the
    // rest of the test program here a second time.
    std::string text;
    try {
      text = body();
    } catch (const std::exception& e) {
      text = std::string("escaped: ") + e.what();
    } catch (...) {
      text = "escaped";
    }
    const ssize_t written = write(channel[1], text.data(), text.size());
    _exit(written == static_cast<ssize_t>(text.size()) ? 0 : 1);
  }
  close(channel[1]);
  std::string text;
  char chunk[256];
  for (ssize_t n; (n = read(channel[0], chunk, sizeof chunk)) > 0;) text.append(chunk, static_cast<size_t>(n));
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? text : "child died";
}
