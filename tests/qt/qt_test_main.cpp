// The Qt backend's tests run on the offscreen platform against one backend
// (and one QApplication) for the whole run.

#include "runtime/qt/qt_platform.h"

#include "runtime/process.h"

#include <gtest/gtest.h>

namespace {
int qtArgc = 1;
char qtProgramName[] = "qt_backend_tests";
char* qtArgv[] = {qtProgramName, nullptr};

// An environment rather than code in main(): listing the tests (as CTest's
// discovery does) then needs no display and no QApplication.
class QtBackendEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        RuntimeSelectBackend(CreateQtPlatform(qtArgc, qtArgv, {TAMZEL_RESOURCES_DIR}));
        RuntimeInit();
    }
    // Qt must go before static destruction begins.
    void TearDown() override { RuntimeSelectBackend(nullptr); }
};
} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new QtBackendEnvironment);
    return RUN_ALL_TESTS();
}
