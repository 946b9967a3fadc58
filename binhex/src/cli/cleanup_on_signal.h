// Removes a named temporary file when a signal ends the program, then lets the
// signal end it as it would have. That is every signal whose default action
// ends the program and which can be caught: the ones a user or the system
// sends (SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGALRM, SIGXCPU, the
// real-time ones, ...) and the faults. (A temporary without a name needs none
// of this: the kernel drops it with the last descriptor.)
#pragma once

#include <csignal>

namespace binhex::cli {

// Installs the handlers; call once, before any temporary file exists. A signal
// that is not at its default action is left as it is: one ignored by whoever
// started us (nohup, a shell's background job) stays ignored, and one that a
// runtime inside the program already handles (a sanitizer's fault handler)
// stays with it.
void install_cleanup_handlers();

// From now on a signal removes `name` in `directory_fd`. The name is copied;
// names longer than 255 bytes are not accepted (false).
bool arm_cleanup(int directory_fd, const char* name);

// The temporary is gone or published; a signal now removes nothing.
void disarm_cleanup();

// Holds off the signals above, in this thread, while a temporary's name and
// the handler's idea of it are out of step.
class CleanupSignalsHeld {
  public:
    CleanupSignalsHeld();
    ~CleanupSignalsHeld();
    CleanupSignalsHeld(const CleanupSignalsHeld&) = delete;
    CleanupSignalsHeld& operator=(const CleanupSignalsHeld&) = delete;

  private:
    sigset_t previous_;
};

} // namespace binhex::cli
