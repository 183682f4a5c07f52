// The settings store under other processes and a failing disk: two games writing at once, a
// writer killed at random moments, and a file system that is full when the store is written.
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <iostream>
#include <random>
#include <thread>

#include "reliability.h"

using namespace lumera;
using namespace lumera::reliability;
using lumera::testing::TempDir;
using lumera::util::ParseRegistryFile;
using lumera::util::RegDocument;
using lumera::util::RegistryStore;
using lumera::util::RegValue;

namespace {

const std::string kUserKey = "HKEY_CURRENT_USER\\Software\\lumera8\\DonateForm";

// Runs body in a child process; its exit status is 0 when body returned.
template <typename Body>
pid_t Spawn(Body body) {
    const pid_t child = ::fork();
    if (child != 0) return child;
    try {
        body();
    } catch (...) {
        ::_exit(1);
    }
    ::_exit(0);
}

bool ExitedCleanly(pid_t child) {
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::uint32_t RecordIndex(const RegValue& value) {
    const auto& r = value.bytes;
    return r[148] | r[149] << 8 | r[150] << 16 | std::uint32_t(r[151]) << 24;
}

}  // namespace

TEST(StoreProcesses, TwoProcessesWritingAThousandTimesEachLoseNoValue) {
    TempDir dir;
    const fs::path file = dir.path / "registry.reg";
    constexpr int kWrites = 1000;
    const pid_t first = Spawn([&] {
        RegistryStore store(file);
        for (int i = 0; i < kWrites; ++i) store.WriteDword(kUserKey, "A" + std::to_string(i), i);
    });
    const pid_t second = Spawn([&] {
        RegistryStore store(file);
        for (int i = 0; i < kWrites; ++i) store.WriteText(kUserKey, "B" + std::to_string(i), "value " + std::to_string(i));
    });
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    EXPECT_TRUE(ExitedCleanly(first));
    EXPECT_TRUE(ExitedCleanly(second));

    const auto document = ParseRegistryFile(ReadAll(file));
    ASSERT_TRUE(document.has_value());
    for (int i = 0; i < kWrites; ++i) {
        const RegValue* a = document->Find(kUserKey, "A" + std::to_string(i));
        const RegValue* b = document->Find(kUserKey, "B" + std::to_string(i));
        ASSERT_TRUE(a && b) << "value " << i << " was lost";
        EXPECT_EQ(a->dword, static_cast<std::uint32_t>(i));
        EXPECT_EQ(b->text, "value " + std::to_string(i));
    }
    // The writers really took turns: the file order switches between them many times.
    int switches = 0;
    const auto& entries = document->keys.at(0).entries;
    for (std::size_t i = 1; i < entries.size(); ++i) switches += entries[i].name[0] != entries[i - 1].name[0];
    EXPECT_GT(switches, 10);
    std::cout << "switches between the writers in the file: " << switches << "\n";
}

TEST(StoreProcesses, AGameKilledWhileWritingLeavesTheOldOrTheNewRecord) {
    TempDir dir;
    const fs::path file = dir.path / "registry.reg";
    const std::string puzzles = dir.Write("puzzles.dat", "ONE\nTWO\n");
    {
        // Other programs' keys make each write long enough to be hit in the middle.
        RegDocument document;
        for (int i = 0; i < 2000; ++i) {
            RegValue value;
            value.type = RegValue::Type::Dword;
            value.dword = static_cast<std::uint32_t>(i);
            document.Set("HKEY_CURRENT_USER\\Software\\Other\\K" + std::to_string(i), "v", value);
        }
        WriteAll(file, util::SerializeRegistryFile(document));
    }
    std::mt19937 random(31337);
    std::uint32_t seen = 0;
    int killedWithTemporary = 0;
    for (int round = 0; round < 200; ++round) {
        const pid_t child = Spawn([&] {
            StoreRig rig(file);
            rig.game.DefaultPuzzleFile = puzzles;
            rig.game.LoadSettings();
            rig.game.PuzzleIndex = static_cast<std::uint16_t>(GetPuzzleIndex(rig.game.RegInfo));
            for (;;) rig.game.SavePosition();  // stores the index, then counts on
        });
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 60'000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        killedWithTemporary += fs::exists(fs::path(file) += ".tmp");

        const auto document = ParseRegistryFile(ReadAll(file));
        ASSERT_TRUE(document.has_value()) << "round " << round;
        // Under load a writer may be killed before its first write in any round, not only the first.
        ASSERT_EQ(document->keys.size(), document->Find(kSettingsKey, kSettingsValueName) ? 2001u : 2000u) << "round " << round;
        ASSERT_EQ(document->Find("HKEY_CURRENT_USER\\Software\\Other\\K1999", "v")->dword, 1999u);
        if (const RegValue* record = document->Find(kSettingsKey, kSettingsValueName)) {
            ASSERT_EQ(record->bytes.size(), 152u) << "round " << round;
            const std::uint32_t index = RecordIndex(*record);
            ASSERT_GE(index, seen) << "round " << round;  // never older than a finished write
            seen = index;
        }
    }
    EXPECT_GT(seen, 20u);                // many writes finished
    EXPECT_GT(killedWithTemporary, 10);  // and many kills landed inside one
    std::cout << "writes finished: " << seen << ", kills inside a write: " << killedWithTemporary << "\n";
    for (const auto& item : fs::directory_iterator(dir.path))
        EXPECT_FALSE(item.path().filename().string().starts_with("registry.reg.bad-")) << item.path();
    // A write after all that finds its way through the leftover temporary file.
    RegistryStore(file).WriteDword(kUserKey, "After", 1);
    EXPECT_FALSE(fs::exists(fs::path(file) += ".tmp"));
    EXPECT_EQ(RegistryStore(file).ReadValue(kUserKey, "After").value().dword, 1u);
}

// A store folder on a file system that can be filled: a 64 KB tmpfs where mounting is allowed,
// else a file-size limit (writes past it fail with EFBIG instead of ENOSPC).
class FullDisk {
public:
    explicit FullDisk(const fs::path& folder) : folder_(folder) {
        fs::create_directories(folder);
        mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") == 0;
    }
    ~FullDisk() {
        MakeRoom();
        if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
    }
    bool Mounted() const { return mounted_; }
    int Error() const { return mounted_ ? ENOSPC : EFBIG; }
    void Fill() {
        if (!mounted_) {
            ::getrlimit(RLIMIT_FSIZE, &saved_);
            oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
            rlimit small = saved_;
            small.rlim_cur = 64;
            ::setrlimit(RLIMIT_FSIZE, &small);
            limited_ = true;
            return;
        }
        std::FILE* filler = std::fopen((folder_ / "filler").c_str(), "wb");
        const std::string block(1024, 'x');
        while (filler && std::fwrite(block.data(), 1, block.size(), filler) == block.size() && std::fflush(filler) == 0) {
        }
        if (filler) std::fclose(filler);
    }
    void MakeRoom() {
        if (limited_) {
            ::setrlimit(RLIMIT_FSIZE, &saved_);
            ::signal(SIGXFSZ, oldHandler_);
            limited_ = false;
        }
        fs::remove(folder_ / "filler");
    }

private:
    fs::path folder_;
    bool mounted_ = false;
    bool limited_ = false;
    rlimit saved_{};
    sighandler_t oldHandler_ = SIG_DFL;
};

TEST(StoreProcesses, AFullDiskFailsTheWriteWithTheSystemTextAndKeepsTheOldFile) {
    TempDir dir;
    const std::string puzzles = dir.Write("puzzles.dat", "ONE\nTWO\nTHREE\n");
    FullDisk disk(dir.path / "config");
    const fs::path file = dir.path / "config" / "lumera8" / "registry.reg";
    StoreRig rig(file);
    rig.game.DefaultPuzzleFile = puzzles;
    rig.game.InitGame();
    ASSERT_TRUE(rig.game.SoundOn);
    const std::string before = ReadAll(file);

    // A value larger than the whole file system, then the game's own small record.
    if (disk.Mounted()) {
        EXPECT_THROW(rig.store.WriteBinary(kUserKey, "Huge", std::vector<std::uint8_t>(100'000, 1)), std::runtime_error);
        EXPECT_EQ(ReadAll(file), before);
    }
    disk.Fill();
    try {
        rig.game.ToggleSound();
        ADD_FAILURE() << "the write should fail on a full disk";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find(std::strerror(disk.Error())), std::string::npos) << error.what();
    }
    disk.MakeRoom();
    EXPECT_EQ(ReadAll(file), before);
    EXPECT_FALSE(fs::exists(fs::path(file) += ".tmp"));
    // The game goes on with the option it was given, and the next write stores it.
    EXPECT_FALSE(rig.game.SoundOn);
    rig.game.menuNewClick();
    EXPECT_EQ(rig.game.LineBuf, "TWO");
    StoreRig next(file);
    next.game.LoadSettings();
    EXPECT_EQ(next.game.RegInfo.Sound, 0);
    EXPECT_EQ(GetPuzzleIndex(next.game.RegInfo), 0u);
}
