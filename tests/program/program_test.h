#pragma once
// Runs the whole program on the scripted backend: a test writes the script,
// runs, and reads the journal. Each test runs in a process of its own
// (gtest_discover_tests), since a run leaves the runtime's state behind.

#include "app/startup.h"
#include "runtime/scripted/scripted_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto platform = std::make_unique<ScriptedPlatform>();
        script = platform.get();
        tmp =
            std::filesystem::temp_directory_path() / ("tamzel-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(tmp / "Desktop");
        script->SetDesktop((tmp / "Desktop").string()).SetResources(TAMZEL_RESOURCES_DIR);
        RuntimeSelectBackend(std::move(platform));
    }
    void TearDown() override { std::filesystem::remove_all(tmp); }

    // A resources folder holding only `files` (copied from the real one).
    void UseResources(const std::vector<std::string>& files) {
        auto dir = tmp / "resources";
        std::filesystem::create_directories(dir);
        for (const auto& f : files)
            std::filesystem::copy_file(std::filesystem::path(TAMZEL_RESOURCES_DIR) / f, dir / f);
        script->SetResources(dir.string());
    }

    int Run() { return RunProgram(); }
    // The journal lines from `from` on.
    std::vector<std::string> JournalFrom(std::size_t from) const {
        const auto& j = script->Journal();
        return {j.begin() + static_cast<std::ptrdiff_t>(std::min(from, j.size())), j.end()};
    }
    std::vector<std::string> Commands() const { return script->Lines("shell "); }
    std::size_t Count(const std::string& prefix) const { return script->Lines(prefix).size(); }
    static std::string Chime() {
        return std::string("sound: ") + TAMZEL_RESOURCES_DIR "/Mac_Chime.m4a";
    }

    ScriptedPlatform* script = nullptr;
    std::filesystem::path tmp;
};

#include <unistd.h>
