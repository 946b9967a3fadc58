// The temporary and the final name: nothing visible until publish(), the
// first free name taken even when many writers race for it, and nothing left
// behind by a failure or a signal.
#include "cleanup_on_signal.h"
#include "output_file.h"

#include "temp_dir.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <set>
#include <sys/resource.h>
#include <thread>

namespace binhex::cli {
namespace {

using Names = std::vector<std::string>;

class OutputFileTest : public ::testing::TestWithParam<OutputFile::Temporary> {
  protected:
    OutputFileTest() : dir_fd_(::open(dir_.path().c_str(), O_RDONLY | O_DIRECTORY)) {}

    std::string write_and_publish(const std::string& text) {
        OutputFile out(dir_fd_.get(), dir_.path(), "report.pdf", GetParam());
        out.write_all(text.data(), text.size());
        return out.publish();
    }

    // Writes part of a file, then receives `signal_number`; returns only if
    // the signal did not end the program.
    void stopped_mid_file(int signal_number) {
        const rlimit no_core_file = {0, 0};
        ::setrlimit(RLIMIT_CORE, &no_core_file);
        std::signal(signal_number, SIG_DFL);
        install_cleanup_handlers();
        OutputFile out(dir_fd_.get(), dir_.path(), "report.pdf", GetParam());
        out.write_all("abc", 3);
        // A test of the named temporary that did not make one shows nothing.
        if (GetParam() == OutputFile::Temporary::named && dir_.names().size() != 1) {
            std::_Exit(3);
        }
        std::raise(signal_number);
    }

    test::TempDir dir_;
    UniqueFd dir_fd_;
};

TEST_P(OutputFileTest, InvisibleUntilPublished) {
    OutputFile out(dir_fd_.get(), dir_.path(), "report.pdf", GetParam());
    out.write_all("abc", 3);
    if (GetParam() == OutputFile::Temporary::named) {
        ASSERT_EQ(dir_.names().size(), 1u);
        EXPECT_TRUE(dir_.names()[0].starts_with(".report.pdf.hqx.")) << dir_.names()[0];
        EXPECT_EQ(dir_.names()[0], out.temporary_name());
    } else {
        EXPECT_EQ(dir_.names(), Names{}) << "an unnamed temporary where the file system has them";
    }
    EXPECT_EQ(out.publish(), "report.pdf.hqx");
    EXPECT_EQ(dir_.names(), Names{"report.pdf.hqx"});
    EXPECT_EQ(test::read_file(dir_.path() / "report.pdf.hqx"), "abc");
}

TEST_P(OutputFileTest, TakesTheNextFreeNameAndReplacesNothing) {
    dir_.write("report.pdf.hqx", "first");
    dir_.write("report.pdf 3.hqx", "third");
    EXPECT_EQ(write_and_publish("new 2"), "report.pdf 2.hqx");
    EXPECT_EQ(write_and_publish("new 4"), "report.pdf 4.hqx");
    EXPECT_EQ(test::read_file(dir_.path() / "report.pdf.hqx"), "first");
    EXPECT_EQ(test::read_file(dir_.path() / "report.pdf 3.hqx"), "third");
    EXPECT_EQ(test::read_file(dir_.path() / "report.pdf 2.hqx"), "new 2");
    EXPECT_EQ(dir_.names(), (Names{"report.pdf 2.hqx", "report.pdf 3.hqx", "report.pdf 4.hqx",
                                   "report.pdf.hqx"}));
}

TEST_P(OutputFileTest, RacingWritersEachGetTheirOwnName) {
    constexpr int kWriters = 12;
    std::vector<std::string> taken(kWriters);
    std::vector<std::thread> threads;
    for (int i = 0; i < kWriters; ++i) {
        threads.emplace_back([&, i] { taken[i] = write_and_publish(std::to_string(i)); });
    }
    for (auto& t : threads) {
        t.join();
    }
    std::set<std::string> expected = {"report.pdf.hqx"};
    for (int i = 2; i <= kWriters; ++i) {
        expected.insert("report.pdf " + std::to_string(i) + ".hqx");
    }
    EXPECT_EQ(std::set<std::string>(taken.begin(), taken.end()), expected);
    for (int i = 0; i < kWriters; ++i) {
        EXPECT_EQ(test::read_file(dir_.path() / taken[i]), std::to_string(i));
    }
}

TEST_P(OutputFileTest, LeavesNothingWhenNotPublished) {
    {
        OutputFile out(dir_fd_.get(), dir_.path(), "report.pdf", GetParam());
        out.write_all("abc", 3);
    }
    EXPECT_EQ(dir_.names(), Names{});
}

// Every signal that would end the program and can be caught, the faults
// included. The child starts each one at its default action, as a freshly
// started program has it (the test runner may have some ignored, a sanitizer
// may have taken the faults).
TEST_P(OutputFileTest, EverySignalThatEndsTheProgramLeavesNothing) {
    GTEST_FLAG_SET(death_test_style, "fast");
    std::vector<int> signals = {SIGHUP,  SIGINT,  SIGQUIT, SIGILL,   SIGTRAP,   SIGABRT,
                                SIGBUS,  SIGFPE,  SIGUSR1, SIGSEGV,  SIGUSR2,   SIGPIPE,
                                SIGALRM, SIGTERM, SIGXCPU, SIGXFSZ,  SIGVTALRM, SIGPROF,
                                SIGIO,   SIGPWR,  SIGSYS,  SIGSTKFLT};
    for (int s = SIGRTMIN; s <= SIGRTMAX; ++s) {
        signals.push_back(s);
    }
    for (const int signal_number : signals) {
        // The child must be a fork of this very test, writing into the
        // directory checked below: the re-executing style would make a
        // directory of its own.
        EXPECT_EXIT(stopped_mid_file(signal_number), ::testing::KilledBySignal(signal_number), "")
            << strsignal(signal_number);
        EXPECT_EQ(dir_.names(), Names{}) << strsignal(signal_number);
    }
}

// Whoever started the program may have it ignore a signal (nohup): it then
// goes on, and the temporary with it.
TEST_P(OutputFileTest, AnIgnoredSignalStaysIgnored) {
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(
        {
            std::signal(SIGHUP, SIG_IGN);
            install_cleanup_handlers();
            OutputFile out(dir_fd_.get(), dir_.path(), "report.pdf", GetParam());
            out.write_all("abc", 3);
            std::raise(SIGHUP);
            out.publish();
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(dir_.names(), Names{"report.pdf.hqx"});
}

TEST_P(OutputFileTest, WithdrawTakesOnlyItsOwnFileAway) {
    dir_.write("report.pdf.hqx", "first");
    {
        OutputFile out(dir_fd_.get(), dir_.path(), "report.pdf", GetParam());
        out.write_all("abc", 3);
        EXPECT_EQ(out.publish(), "report.pdf 2.hqx");
        out.withdraw();
        EXPECT_EQ(dir_.names(), Names{"report.pdf.hqx"}) << "the older file stays";
    }
    OutputFile out(dir_fd_.get(), dir_.path(), "report.pdf", GetParam());
    EXPECT_EQ(out.publish(), "report.pdf 2.hqx");
    // Another program puts a file of its own in its place first.
    std::filesystem::rename(dir_.path() / "report.pdf.hqx", dir_.path() / "report.pdf 2.hqx");
    out.withdraw();
    EXPECT_EQ(dir_.names(), Names{"report.pdf 2.hqx"});
    EXPECT_EQ(test::read_file(dir_.path() / "report.pdf 2.hqx"), "first");
}

INSTANTIATE_TEST_SUITE_P(BothTemporaries, OutputFileTest,
                         ::testing::Values(OutputFile::Temporary::automatic,
                                           OutputFile::Temporary::named),
                         [](const ::testing::TestParamInfo<OutputFile::Temporary>& p) {
                             return p.param == OutputFile::Temporary::named ? "named" : "automatic";
                         });

// A name of 251 bytes or more leaves no room for ".hqx", " 2.hqx" or the
// temporary's ".NAME.hqx.XXXXXX": each is shortened to what the file system
// takes, and the file is still published, again and again.
TEST_P(OutputFileTest, LongNamesAreShortenedToFit) {
    const std::size_t limit = name_max(dir_fd_.get());
    for (std::size_t length = limit - 4; length <= limit; ++length) {
        const std::string file_name =
            std::to_string(length) + std::string(length - 7, 'x') + ".txt";
        std::vector<std::string> published;
        for (int copy = 0; copy < 2; ++copy) {
            OutputFile out(dir_fd_.get(), dir_.path(), file_name, GetParam());
            out.write_all(file_name.data(), file_name.size());
            if (GetParam() == OutputFile::Temporary::named) {
                const std::string& temporary = out.temporary_name();
                EXPECT_LE(temporary.size(), limit) << temporary;
                EXPECT_TRUE(temporary.starts_with("." + file_name.substr(0, 200))) << temporary;
                EXPECT_EQ(temporary.substr(temporary.size() - 15, 9), ".txt.hqx.") << temporary;
            }
            published.push_back(out.publish());
            EXPECT_LE(published.back().size(), limit) << published.back();
            EXPECT_TRUE(published.back().starts_with(file_name.substr(0, 200))) << published.back();
            EXPECT_EQ(test::read_file(dir_.path() / published.back()), file_name);
        }
        EXPECT_NE(published[0], published[1]);
        EXPECT_TRUE(published[0].ends_with(".txt.hqx")) << published[0];
        EXPECT_TRUE(published[1].ends_with(".txt 2.hqx")) << published[1];
    }
}

TEST(OutputFileNames, CountFromTwo) {
    EXPECT_EQ(OutputFile::candidate_name("report.pdf", 1), "report.pdf.hqx");
    EXPECT_EQ(OutputFile::candidate_name("report.pdf", 2), "report.pdf 2.hqx");
    EXPECT_EQ(OutputFile::candidate_name("-x", 10), "-x 10.hqx");
}

TEST(OutputFileNames, FitTheLimit) {
    EXPECT_EQ(OutputFile::candidate_name("report.pdf", 1, 13), "repor.pdf.hqx");
    EXPECT_EQ(OutputFile::candidate_name("report.pdf", 2, 13), "rep.pdf 2.hqx");
    EXPECT_EQ(OutputFile::candidate_name("report.pdf", 10, 13), "re.pdf 10.hqx");
}

} // namespace
} // namespace binhex::cli
