// Tests of the settings store: the registry export text, the store file on disk under writes,
// crashes, concurrent writers and failures, and calendar day numbers.
#include "util/days.h"
#include "util/registry_store.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;
using lumera::util::ParseRegistryFile;
using lumera::util::RegDocument;
using lumera::util::RegistryStore;
using lumera::util::RegValue;
using lumera::util::SerializeRegistryFile;

namespace {

const std::string kMachineKey = "HKEY_LOCAL_MACHINE\\Software\\Lumera800";
const std::string kUserKey = "HKEY_CURRENT_USER\\Software\\lumera8\\DonateForm";

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteAll(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

RegValue Binary(std::vector<std::uint8_t> bytes) { RegValue v; v.type = RegValue::Type::Binary; v.bytes = std::move(bytes); return v; }
RegValue Dword(std::uint32_t dword) { RegValue v; v.type = RegValue::Type::Dword; v.dword = dword; return v; }
RegValue Text(std::string text) { RegValue v; v.type = RegValue::Type::Text; v.text = std::move(text); return v; }

// The value under key and name; a missing one fails the test by exception, not by a crash.
RegValue Found(const RegDocument& document, const std::string& key, const std::string& name) {
    const RegValue* value = document.Find(key, name);
    if (value == nullptr) throw std::out_of_range("no value " + key + " " + name);
    return *value;
}

// The keys and values of a document by meaning, not by how the file spelled them.
std::string Content(const RegDocument& document) {
    std::ostringstream out;
    for (const auto& key : document.keys) {
        out << '[' << key.path << "]\n";
        for (const auto& [name, v] : key.entries) {
            out << name << '|' << static_cast<int>(v.type) << '|' << v.bytes.size() << ':'
                << std::string(v.bytes.begin(), v.bytes.end()) << '|' << v.dword << '|' << v.text.size() << ':'
                << v.text << '|' << (v.type == RegValue::Type::Other ? v.raw : "") << '\n';
        }
    }
    return out.str();
}

// Parses, and checks the two round-trip properties of whatever parsed; tells whether it did.
bool ExpectRoundTrip(const std::string& bytes) {
    const auto first = ParseRegistryFile(bytes);
    if (!first) return false;
    const std::string written = SerializeRegistryFile(*first);
    const auto second = ParseRegistryFile(written);
    EXPECT_TRUE(second.has_value()) << written;
    EXPECT_EQ(Content(*first), Content(second.value_or(RegDocument{})));
    EXPECT_EQ(SerializeRegistryFile(second.value_or(RegDocument{})), written);
    return true;
}

// Sets (or with nullptr unsets) an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name), had_(std::getenv(name) != nullptr) {
        if (had_) old_ = std::getenv(name);
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
        ::tzset();
    }
    ~ScopedEnv() {
        had_ ? ::setenv(name_, old_.c_str(), 1) : ::unsetenv(name_);
        ::tzset();
    }

private:
    const char* name_;
    bool had_;
    std::string old_;
};

std::string Utf16(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return bytes;
}

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "registry-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        file = folder / "lumera8" / "registry.reg";
    }
    void TearDown() override { fs::remove_all(folder); }

    std::vector<fs::path> SetAsideFiles() const {
        std::vector<fs::path> found;
        for (const auto& item : fs::directory_iterator(file.parent_path())) {
            if (item.path().filename().string().starts_with("registry.reg.bad-")) found.push_back(item.path());
        }
        return found;
    }

    fs::path folder;
    fs::path file;
};

}  // namespace

// ---- The file text ------------------------------------------------------------------------

TEST(RegistryText, WritesRegistryExportTextForEachType) {
    RegDocument document;
    RegValue record = Binary({});
    for (int i = 0; i < 50; ++i) record.bytes.push_back(static_cast<std::uint8_t>(i * 9));
    document.Set(kMachineKey, "fRegInfo", record);
    document.Set(kUserKey, "DonateStatus", Dword(4));
    document.Set(kUserKey, "DonateLastPrompt", Dword(0xb51c));
    document.Set(kUserKey, "", Text("say \"hi\" in C:\\games"));
    document.Set(kUserKey, "Empty", Binary({}));

    const std::string expected =
        "REGEDIT4\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Lumera800]\r\n"
        "\"fRegInfo\"=hex:00,09,12,1b,24,2d,36,3f,48,51,5a,63,6c,75,7e,87,90,99,a2,ab,b4,\\\r\n"
        "  bd,c6,cf,d8,e1,ea,f3,fc,05,0e,17,20,29,32,3b,44,4d,56,5f,68,71,7a,83,8c,95,\\\r\n"
        "  9e,a7,b0,b9\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\lumera8\\DonateForm]\r\n"
        "\"DonateStatus\"=dword:00000004\r\n"
        "\"DonateLastPrompt\"=dword:0000b51c\r\n"
        "@=\"say \\\"hi\\\" in C:\\\\games\"\r\n"
        "\"Empty\"=hex:\r\n"
        "\r\n";
    EXPECT_EQ(SerializeRegistryFile(document), expected);
    EXPECT_EQ(Content(ParseRegistryFile(expected).value()), Content(document));
}

TEST(RegistryText, ReadsContinuedHexAndKeepsUnknownTypesVerbatim) {
    const std::string text =
        "REGEDIT4\n\n; exported by hand\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lumera800]\n"
        "\"fRegInfo\"=hex:0A,4c,75,\\\n    6d, 65,\\\n  72\n"
        "\"Path\"=hex(2):25,00,41,00,\\\n  00,00\n"
        "\"List\"=hex(7):41,00,00,00,00,00\n"
        "\"Big\"=hex(b):01,00,00,00,00,00,00,00\n"
        "\"Text\"=hex(1):6f,6b,00\n";
    const auto document = ParseRegistryFile(text);
    ASSERT_TRUE(document.has_value());
    EXPECT_EQ(Found(*document, kMachineKey, "fReginfo").bytes, (std::vector<std::uint8_t>{0x0a, 0x4c, 0x75, 0x6d, 0x65, 0x72}));
    EXPECT_EQ(Found(*document, kMachineKey, "Path").raw, "hex(2):25,00,41,00,00,00");
    EXPECT_EQ(Found(*document, kMachineKey, "Big").type, RegValue::Type::Other);
    EXPECT_EQ(Found(*document, kMachineKey, "Text").text, "ok");
    const std::string written = SerializeRegistryFile(*document);
    EXPECT_NE(written.find("\"List\"=hex(7):41,00,00,00,00,00\r\n"), std::string::npos);
    ExpectRoundTrip(text);
}

TEST(RegistryText, Hex3IsBinaryAndIsWrittenAsHex) {
    const std::string text =
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Lumera800]\r\n"
        "\"fRegInfo\"=hex(3):0a,4c,\\\r\n  75\r\n\"Empty\"=hex(03):\r\n\"Bad\"=hex(3):4c,7\r\n";
    EXPECT_FALSE(ParseRegistryFile(text).has_value());  // a broken list is refused as with hex:
    const auto document = ParseRegistryFile(text.substr(0, text.find("\"Bad\"")));
    ASSERT_TRUE(document.has_value());
    EXPECT_EQ(Found(*document, kMachineKey, "fRegInfo").type, RegValue::Type::Binary);
    EXPECT_EQ(Found(*document, kMachineKey, "fRegInfo").bytes, (std::vector<std::uint8_t>{0x0a, 0x4c, 0x75}));
    EXPECT_EQ(Found(*document, kMachineKey, "Empty").type, RegValue::Type::Binary);
    EXPECT_TRUE(Found(*document, kMachineKey, "Empty").bytes.empty());
    const std::string written = SerializeRegistryFile(*document);
    EXPECT_NE(written.find("\"fRegInfo\"=hex:0a,4c,75\r\n\"Empty\"=hex:\r\n"), std::string::npos) << written;
    ExpectRoundTrip(text.substr(0, text.find("\"Bad\"")));
}

TEST(RegistryText, RefusesWhatIsNotARegistryExport) {
    const std::string head = "REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n";
    for (const std::string& bad : {std::string(), std::string("REGEDIT5\r\n"), std::string("\nREGEDIT4\n"),
                                  std::string("REGEDIT4\r\n\"a\"=dword:00000001\r\n"), head + "\"a\"=dword:1\r\n",
                                  head + "\"a\"=dword:0000000g\r\n", head + "\"a\"=hex:1,2\r\n",
                                  head + "\"a\"=hex:01,\\\r\n", head + "\"a\"=\"x\\n\"\r\n",
                                  head + "\"a\"=\"open\r\n", head + "\"a\"=qword:00\r\n", head + "junk\r\n",
                                  head + "[HKEY_OPEN\r\n", head + "[Software\\X]\r\n", std::string("\xFF\xFE\x52"),
                                  head + "\"a\"=dword:00000001 ; note\r\n"}) {
        EXPECT_FALSE(ParseRegistryFile(bad).has_value()) << bad;
    }
}

TEST(RegistryText, AnyBytesGiveADocumentThatRoundTripsOrARefusal) {
    const std::string valid =
        "REGEDIT4\r\n\r\n[HKEY_A\\B]\r\n\"n\"=hex:01,02,\\\r\n  03\r\n@=\"t\\\\x\"\r\n\"d\"=dword:0000000a\r\n"
        "\"o\"=hex(2):41,00\r\n\"s\"=hex(1):41,0a,00\r\n";
    std::mt19937 random(12345);
    const std::string alphabet = "\"\\[]@=:,;\r\n \t0aFxhe(2)HKEY_\x80\xFF";
    int parsed = 0;
    for (int round = 0; round < 6000; ++round) {
        std::string bytes = valid;
        for (int edits = 1 + random() % 2; edits > 0 && !bytes.empty(); --edits) {
            const std::size_t at = random() % bytes.size();
            if (random() % 2) bytes[at] = alphabet[random() % alphabet.size()];
            else bytes.erase(at, 1 + random() % 3);
        }
        if (round % 5 == 0) {  // free text after a valid header
            bytes = "REGEDIT4\r\n[HKEY_A]\r\n";
            for (int n = random() % 60; n > 0; --n) bytes += alphabet[random() % alphabet.size()];
        }
        if (round % 3 == 0) bytes = Utf16(std::u16string(bytes.begin(), bytes.end()));  // also as UTF-16
        parsed += ExpectRoundTrip(bytes);
    }
    EXPECT_GT(parsed, 300);  // the mutations must also reach the writer, not only the refusals
}

TEST(RegistryText, LargeInputsParseInLinearTime) {
    RegDocument document;
    document.Set(kMachineKey, "Huge", Binary(std::vector<std::uint8_t>(10'000'000, 0x5a)));
    for (int i = 0; i < 10'000; ++i) document.Set("HKEY_CURRENT_USER\\K" + std::to_string(i), "v", Dword(7));
    const auto start = std::chrono::steady_clock::now();
    const auto parsed = ParseRegistryFile(SerializeRegistryFile(document));
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(Found(*parsed, kMachineKey, "Huge").bytes.size(), 10'000'000u);
    EXPECT_EQ(parsed->keys.size(), 10'001u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));  // quadratic work would take hours
}

TEST(RegistryText, TextWithLineBreaksIsWrittenInHexForm) {
    for (bool utf16 : {false, true}) {
        RegDocument document;
        document.utf16 = utf16;
        document.Set(kUserKey, "Note", Text("two\r\nlines \x80"));
        const auto parsed = ParseRegistryFile(SerializeRegistryFile(document));
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(Found(*parsed, kUserKey, "note").type, RegValue::Type::Text);
        EXPECT_EQ(Found(*parsed, kUserKey, "note").text, "two\r\nlines \x80");
    }
}

// ---- The store on disk ----------------------------------------------------------------------

TEST_F(RegistryStoreTest, WritesAndReadsBackWithNamesMatchingInAnyCase) {
    fs::create_directories(file.parent_path());
    WriteAll(file, "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\LUMERA800]\r\n\"FREGINFO\"=hex:01\r\n");
    RegistryStore store(file);
    ASSERT_TRUE(store.OpenKey(kMachineKey));
    EXPECT_EQ(store.ReadValue(kMachineKey, "fRegInfo").value().bytes, std::vector<std::uint8_t>{1});
    store.WriteBinary(kMachineKey, "fRegInfo", {2, 3});
    store.WriteText(kUserKey, "Name", "Ren\xE9");
    EXPECT_EQ(ReadAll(file), "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\LUMERA800]\r\n\"FREGINFO\"=hex:02,03\r\n"
                             "\r\n[" + kUserKey + "]\r\n\"Name\"=\"Ren\xE9\"\r\n\r\n");
    EXPECT_EQ(store.ReadValue(kUserKey, "NAME").value().text, "Ren\xE9");
    EXPECT_FALSE(store.ReadValue(kUserKey, "Missing").has_value());
    EXPECT_FALSE(RegistryStore(folder / "none" / "registry.reg").ReadValue(kUserKey, "Name").has_value());
}

TEST_F(RegistryStoreTest, UnknownKeysTypesAndHeaderSurviveWrites) {
    fs::create_directories(file.parent_path());
    const std::string original =
        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_USERS\\Other]\r\n\"Path\"=hex(2):25,00,00,00\r\n"
        "\"Q\"=hex(b):ff,00,00,00,00,00,00,00\r\n\r\n[" + kUserKey + "]\r\n\"DonateStatus\"=\"3\"\r\n";
    WriteAll(file, original);
    RegistryStore(file).WriteDword(kUserKey, "DonateLastPrompt", 46364);
    const auto before = ParseRegistryFile(original);
    const auto after = ParseRegistryFile(ReadAll(file));
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->header, "Windows Registry Editor Version 5.00");
    EXPECT_EQ(Found(*after, "hkey_users\\other", "path").raw, "hex(2):25,00,00,00");
    EXPECT_EQ(Found(*after, "HKEY_USERS\\Other", "Q").raw, "hex(b):ff,00,00,00,00,00,00,00");
    EXPECT_EQ(Found(*after, kUserKey, "DonateStatus").text, "3");
    EXPECT_EQ(Found(*after, kUserKey, "DonateLastPrompt").dword, 46364u);
    EXPECT_EQ(after->keys[1].entries.size(), before->keys[1].entries.size() + 1);
}

TEST_F(RegistryStoreTest, Utf16FileIsReadAsWindows1252AndWrittenBackAsUtf16) {
    fs::create_directories(file.parent_path());
    WriteAll(file, Utf16(u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Caf\u00e9]\r\n"
                         u"\"Sign\"=\"\u4e2d \u20ac\"\r\n\"Plain\"=\"Caf\u00e9\"\r\n"));
    RegistryStore store(file);
    EXPECT_EQ(store.ReadValue("HKEY_CURRENT_USER\\Caf\xC3\xA9", "Plain").value().text, "Caf\xE9");
    EXPECT_EQ(store.ReadValue("HKEY_CURRENT_USER\\Caf\xC3\xA9", "Sign").value().text, "? \x80");
    store.WriteText(kUserKey, "Name", "\x80 5");
    EXPECT_EQ(ReadAll(file), Utf16(u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Caf\u00e9]\r\n"
                                   u"\"Sign\"=\"\u4e2d \u20ac\"\r\n\"Plain\"=\"Caf\u00e9\"\r\n\r\n[") +
                                 Utf16(u"HKEY_CURRENT_USER\\Software\\lumera8\\DonateForm]\r\n\"Name\"=\"\u20ac 5\"\r\n\r\n").substr(2));
}

TEST_F(RegistryStoreTest, UnparseableFileIsSetAsideAndNeverOverwritten) {
    fs::create_directories(file.parent_path());
    WriteAll(file, "not a registry file");
    RegistryStore store(file);
    EXPECT_FALSE(store.ReadValue(kUserKey, "a").has_value());
    EXPECT_EQ(ReadAll(file), "not a registry file");  // reading leaves it in place
    store.WriteDword(kUserKey, "a", 1);
    WriteAll(file, "second bad file");
    store.WriteDword(kUserKey, "b", 2);
    const auto aside = SetAsideFiles();
    ASSERT_EQ(aside.size(), 2u);
    EXPECT_NE(ReadAll(aside[0]), ReadAll(aside[1]));
    for (const auto& path : aside) EXPECT_TRUE(ReadAll(path) == "not a registry file" || ReadAll(path) == "second bad file");
    EXPECT_FALSE(store.ReadValue(kUserKey, "a").has_value());  // the store started empty
    EXPECT_EQ(store.ReadValue(kUserKey, "b").value().dword, 2u);
}

TEST_F(RegistryStoreTest, DefaultPathFollowsXdgConfigHomeAndAFolderThatCannotBeMadeIsIgnored) {
    {
        const ScopedEnv home("HOME", (folder / "home").c_str());
        const ScopedEnv unset("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(RegistryStore::DefaultPath(), folder / "home" / ".config" / "lumera8" / "registry.reg");
        const ScopedEnv config("XDG_CONFIG_HOME", (folder / "config").c_str());
        EXPECT_EQ(RegistryStore::DefaultPath(), folder / "config" / "lumera8" / "registry.reg");
    }
    WriteAll(folder / "plain", "a file, not a folder");
    const ScopedEnv config("XDG_CONFIG_HOME", (folder / "plain").c_str());
    RegistryStore store(RegistryStore::DefaultPath());
    EXPECT_FALSE(store.OpenKey(kUserKey));
    EXPECT_NO_THROW(store.WriteDword(kUserKey, "a", 1));
    EXPECT_FALSE(store.ReadValue(kUserKey, "a").has_value());
    EXPECT_EQ(ReadAll(folder / "plain"), "a file, not a folder");
}

TEST_F(RegistryStoreTest, FailingWriteThrowsSystemTextAndKeepsTheOldFile) {
    RegistryStore store(file);
    store.WriteText(kUserKey, "Keep", "old");
    const std::string before = ReadAll(file);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;  // writing beyond this fails with EFBIG
    ::setrlimit(RLIMIT_FSIZE, &small);
    try {
        store.WriteBinary(kMachineKey, "fRegInfo", std::vector<std::uint8_t>(5000, 1));
        ADD_FAILURE() << "the write should have failed";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find(std::strerror(EFBIG)), std::string::npos) << error.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(ReadAll(file), before);
    EXPECT_FALSE(fs::exists(fs::path(file) += ".tmp"));
}

TEST_F(RegistryStoreTest, WriterKilledAtAnyMomentLeavesOldOrNewValue) {
    RegistryStore store(file);
    store.WriteText(kUserKey, "Keep", "kept");
    std::mt19937 random(7);
    std::uint32_t seen = 0;
    for (int round = 0; round < 50; ++round) {
        const std::uint32_t start = seen + 1;
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                for (std::uint32_t i = start;; ++i) store.WriteDword(kMachineKey, "Counter", i);
            } catch (...) {
                ::_exit(1);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 6000));
        // On a busy machine no write may finish within those few milliseconds in any round;
        // the last round waits (up to ten seconds) for one, so that the check below means something.
        for (int wait = 0; round == 49 && seen == 0 && wait < 1000; ++wait) {
            const auto written = ParseRegistryFile(ReadAll(file));
            if (written && written->Find(kMachineKey, "Counter")) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const auto document = ParseRegistryFile(ReadAll(file));
        ASSERT_TRUE(document.has_value()) << "round " << round;
        EXPECT_EQ(Found(*document, kUserKey, "Keep").text, "kept");
        if (const RegValue* counter = document->Find(kMachineKey, "Counter")) {
            EXPECT_GE(counter->dword, seen);
            seen = counter->dword;
        }
    }
    EXPECT_GT(seen, 0u);
    EXPECT_TRUE(SetAsideFiles().empty());
}

TEST_F(RegistryStoreTest, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kWrites = 200;
    std::vector<pid_t> children;
    for (char writer : {'A', 'B'}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                RegistryStore store(file);
                for (int i = 0; i < kWrites; ++i) store.WriteDword(kUserKey, writer + std::to_string(i), i);
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    RegistryStore store(file);
    for (char writer : {'A', 'B'}) {
        for (int i = 0; i < kWrites; ++i) {
            const auto value = store.ReadValue(kUserKey, writer + std::to_string(i));
            ASSERT_TRUE(value.has_value()) << writer << i;
            EXPECT_EQ(value->dword, static_cast<std::uint32_t>(i));
        }
    }
}

// ---- Day numbers ------------------------------------------------------------------------------

TEST(Days, CountFromThe30thOfDecember1899) {
    using lumera::util::DayNumber;
    EXPECT_EQ(DayNumber(1899, 12, 30), 0);
    EXPECT_EQ(DayNumber(1899, 12, 31), 1);
    EXPECT_EQ(DayNumber(1900, 1, 1), 2);
    EXPECT_EQ(DayNumber(1900, 3, 1), 61);
    EXPECT_EQ(DayNumber(1970, 1, 1), 25569);
    EXPECT_EQ(DayNumber(2000, 2, 29), 36585);
    EXPECT_EQ(DayNumber(2026, 12, 8), 46364);
    EXPECT_EQ(DayNumber(1899, 1, 1), -363);
}

TEST(Days, TodayFollowsTheLocalCalendar) {
    for (int offsetHours : {0, 14, -12}) {
        // POSIX zone names count west positive: "ZZZ-14" is fourteen hours east of UTC.
        const ScopedEnv zone("TZ", ("ZZZ" + std::to_string(-offsetHours)).c_str());
        const std::time_t now = std::time(nullptr) + offsetHours * 3600;
        EXPECT_EQ(lumera::util::TodayDayNumber(), static_cast<int>(now / 86400) + 25569) << offsetHours;
    }
}
