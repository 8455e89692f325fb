#include "host/guard.h"
#include "host/gxtk_app.h"

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

namespace {

int Guarded(void (*body)(), std::string* printed) {
    testing::internal::CaptureStdout();
    int status = RunGuarded(body);
    *printed = testing::internal::GetCapturedStdout();
    return status;
}

// Runs in a death-test child: the runtime-error lines go to standard output,
// which is joined to standard error so the matcher sees them.
void RaiseWithHandlers(int sig) {
    dup2(STDERR_FILENO, STDOUT_FILENO);
    InstallSignalHandlers();
    std::raise(sig);
}

} // namespace

TEST(Guard, EscapedExceptions) {
    std::string printed;
    EXPECT_EQ(Guarded([] {}, &printed), 0);
    EXPECT_EQ(printed, "");
    EXPECT_EQ(Guarded(
                  [] {
                      static ThrowableObject thrown;
                      throw &thrown;
                  },
                  &printed),
              -1);
    EXPECT_EQ(printed, "Cobalt Runtime Error : Uncaught Cobalt Exception\n");
    EXPECT_EQ(Guarded([] { throw ThrowableObject(); }, &printed), -1);
    EXPECT_EQ(printed, "Cobalt Runtime Error : Uncaught Cobalt Exception\n");
    EXPECT_EQ(Guarded([] { throw "quit"; }, &printed), 0);
    EXPECT_EQ(printed, "");
}

TEST(GuardDeathTest, SignalsEnterTheRuntimeErrorExit) {
    EXPECT_EXIT(RaiseWithHandlers(SIGSEGV), testing::ExitedWithCode(255),
                "Cobalt Runtime Error : Memory access violation\n\n");
    EXPECT_EXIT(RaiseWithHandlers(SIGILL), testing::ExitedWithCode(255),
                "Cobalt Runtime Error : Illegal instruction\n");
    EXPECT_EXIT(RaiseWithHandlers(SIGFPE), testing::ExitedWithCode(255),
                "Cobalt Runtime Error : Floating point exception\n");
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            sighandle(SIGUSR1);
        },
        testing::ExitedWithCode(255), "Cobalt Runtime Error : Unknown signal\n");
}
