// The kept puzzle files: their order, their limit, their stored form and the bundled
// collection's name guarded.
#include "util/kept_files.h"

#include <algorithm>

namespace lumera::web {

namespace {

constexpr char16_t kHeader[] = u"Lumera 8.0 puzzle files\n";

void AppendNumber(std::u16string& text, std::size_t number) {
    for (const char c : std::to_string(number)) text += static_cast<char16_t>(c);
}

// A decimal number ended by the given unit; false when there is none.
bool ReadNumber(const std::u16string& text, std::size_t& at, char16_t end, std::size_t& number) {
    const std::size_t start = at;
    number = 0;
    while (at < text.size() && text[at] >= u'0' && text[at] <= u'9' && at - start < 10) number = number * 10 + (text[at++] - u'0');
    if (at == start || at >= text.size() || text[at] != end) return false;
    ++at;
    return true;
}

}  // namespace

std::u16string KeptFilesText(const std::vector<KeptFile>& files) {
    std::u16string text = kHeader;
    for (const KeptFile& file : files) {
        const std::u16string name = StorageUnits(file.name);
        AppendNumber(text, name.size());
        text += u' ';
        AppendNumber(text, file.bytes.size());
        text += u'\n';
        text += name;
        for (const char byte : file.bytes) text += static_cast<char16_t>(static_cast<unsigned char>(byte));
    }
    return text;
}

std::optional<std::vector<KeptFile>> ParseKeptFiles(const std::u16string& text) {
    const std::u16string_view header = kHeader;
    if (text.compare(0, header.size(), header) != 0) return std::nullopt;
    std::vector<KeptFile> files;
    for (std::size_t at = header.size(); at < text.size();) {
        std::size_t nameLength = 0, size = 0;
        if (!ReadNumber(text, at, u' ', nameLength) || !ReadNumber(text, at, u'\n', size)) return std::nullopt;
        if (nameLength > text.size() - at || size > text.size() - at - nameLength) return std::nullopt;
        KeptFile file;
        file.name = StorageBytes(std::u16string_view(text).substr(at, nameLength));
        at += nameLength;
        file.bytes.reserve(size);
        for (std::size_t i = 0; i < size; ++i, ++at) {
            if (text[at] > 0xFF) return std::nullopt;
            file.bytes += static_cast<char>(text[at]);
        }
        files.push_back(std::move(file));
    }
    return files;
}

void KeptFiles::Restore() {
    std::optional<std::u16string> text;
    try {
        text = storage_.Read(kKeptFilesStorageName);
    } catch (const StorageRefused&) {
        return;
    }
    const auto files = text ? ParseKeptFiles(*text) : std::nullopt;
    if (!files) return;
    kept_ = *files;
    for (const KeptFile& file : kept_) {
        if (file.name == kBundledFile) continue;
        files_.Put(file.name, file.bytes);
        names_.push_back(file.name);
    }
}

KeptFiles::Outcome KeptFiles::Take(const std::string& name, std::string bytes) {
    if (name == kBundledFile) {
        const std::string* bundled = files_.Find(kBundledFile);
        if (bundled == nullptr || *bundled != bytes) return Outcome::Refused;
        return Outcome::Kept;  // the collection itself, which is always there
    }
    files_.Put(name, bytes);
    names_.erase(std::remove(names_.begin(), names_.end(), name), names_.end());
    names_.insert(names_.begin(), name);
    if (names_.size() > kKeptFileLimit) names_.resize(kKeptFileLimit);

    std::vector<KeptFile> kept = kept_;
    kept.erase(std::remove_if(kept.begin(), kept.end(), [&](const KeptFile& f) { return f.name == name; }), kept.end());
    kept.insert(kept.begin(), KeptFile{name, std::move(bytes)});
    if (kept.size() > kKeptFileLimit) kept.resize(kKeptFileLimit);
    try {
        storage_.Write(kKeptFilesStorageName, KeptFilesText(kept));
    } catch (const StorageRefused&) {
        // The stored list is left as it was: the others stay kept, and this one is not.
        return Outcome::PlayedNotKept;
    }
    kept_ = std::move(kept);
    return Outcome::Kept;
}

std::string KeptFiles::Message(Outcome outcome, const std::string& name) {
    if (outcome == Outcome::Refused)
        return std::string(kBundledFile) + " is the name of the puzzle collection that comes with the game. "
               "To play your file here, give it another name.";
    if (outcome == Outcome::PlayedNotKept)
        return name + " is played now, but this browser cannot keep it for the next visit.";
    return "";
}

std::vector<std::string> KeptFiles::Names() const {
    std::vector<std::string> names;
    if (files_.Find(kBundledFile) != nullptr) names.push_back(kBundledFile);
    for (const std::string& name : names_)
        if (name != kBundledFile) names.push_back(name);
    return names;
}

}  // namespace lumera::web
