#include "forecast/installation.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>
#include <sys/wait.h>

extern char** environ;

namespace fs = std::filesystem;

namespace meridan {
namespace {

constexpr std::string_view kSetupScript = "meridan-diru-setup";

fs::path ProgramFolder() {
  std::error_code ec;
  return fs::read_symlink("/proc/self/exe", ec).parent_path();
}

// The installed program directory the user's is set up from: the staged
// one the program stands in, else the installed data.
fs::path InstalledProgramDir() {
  const fs::path folder = ProgramFolder();
  std::error_code ec;
  if (!folder.empty() && fs::is_directory(folder / "System", ec)) return folder;
  return MERIDAN_INSTALLED_DATA_DIR;
}

struct Pipe {
  int ends[2] = {-1, -1};
  Pipe() {
    if (::pipe2(ends, O_CLOEXEC) != 0)
      throw std::runtime_error(std::string("cannot start the setup: ") + std::strerror(errno));
  }
  ~Pipe() {
    for (const int end : ends)
      if (end >= 0) ::close(end);
  }
  void CloseWriteEnd() {
    ::close(ends[1]);
    ends[1] = -1;
  }
};

struct Finished {
  int status = 0;
  std::string out, err;
};

// Runs the program with the arguments and collects both its outputs whole.
Finished Run(const std::vector<std::string>& arguments) {
  Pipe out, err;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out.ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err.ends[1], STDERR_FILENO);
  // The programs ignore SIGPIPE and SIGXFSZ for their own writes; the
  // script's tools expect them as usual.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGXFSZ);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = ::posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (spawned != 0)
    throw std::runtime_error("cannot start " + arguments[0] + ": " + std::strerror(spawned));
  out.CloseWriteEnd();
  err.CloseWriteEnd();

  Finished finished;
  pollfd reading[] = {{out.ends[0], POLLIN, 0}, {err.ends[0], POLLIN, 0}};
  std::string* into[] = {&finished.out, &finished.err};
  int open = 2;
  while (open > 0) {
    if (::poll(reading, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (reading[i].fd < 0 || reading[i].revents == 0) continue;
      char buffer[4096];
      const ssize_t got = ::read(reading[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        into[i]->append(buffer, static_cast<size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        reading[i].fd = -1;  // negative: poll passes it over
        --open;
      }
    }
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  finished.status = status;
  return finished;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace

fs::path PrivateProgramFile(std::string_view name) {
  const fs::path folder = ProgramFolder();
  const fs::path beside = folder / name;
  std::error_code ec;
  if (!folder.empty() && fs::exists(fs::symlink_status(beside, ec))) return beside;
  return fs::path(MERIDAN_INSTALLED_MODULE_DIR) / name;
}

UserProgramDir SetUpUserProgramDir() {
  const Finished run =
      Run({PrivateProgramFile(kSetupScript).string(), InstalledProgramDir().string()});
  std::vector<std::string> lines = Lines(run.out);
  if (!WIFEXITED(run.status) || WEXITSTATUS(run.status) != 0 || lines.empty() ||
      lines.front().empty()) {
    std::string why = run.err;
    while (!why.empty() && why.back() == '\n') why.pop_back();
    if (why.empty()) why = "the setup script failed";
    throw std::runtime_error(why);
  }
  UserProgramDir user{lines.front(), {}};
  user.keptFiles.assign(lines.begin() + 1, lines.end());
  return user;
}

}  // namespace meridan
