#pragma once
// Shared pieces of the desktop program tests: a program directory that is
// also the current directory, and recorders in place of the message boxes.

#include <QDir>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

#include "app/gui/error_box.h"
#include "support/program_dir.h"

namespace meridan::testing {

// A temporary program directory made current for the life of the object, as
// the program expects to be started in it.
class CurrentProgramDir {
 public:
  explicit CurrentProgramDir(bool withData = true);
  ~CurrentProgramDir();
  const std::filesystem::path& root() const { return dir_.root(); }
  std::filesystem::path system() const { return dir_.system(); }
  std::filesystem::path output() const { return dir_.output(); }
  // The directory as the program names it: the current directory plus "/".
  QString rootText() const;

 private:
  ProgramDir dir_;
  QString previous_;
};

// Records what the windows would have shown in the error and notice boxes.
class MessageRecorder {
 public:
  MessageRecorder();
  ~MessageRecorder();
  QStringList errors;
  QStringList notices;

 private:
  MessageHandler previousError_;
  MessageHandler previousNotice_;
};

// Test base: a recorder is in place for every test of the desktop program.
class GuiTest : public ::testing::Test {
 protected:
  MessageRecorder messages;
};

// Runs the function once the next modal window has come up (from within its
// event loop), so a test can look at it and close it.
void WhenModalShows(std::function<void()> work);

}  // namespace meridan::testing
