// The puzzle files that the player chose from the device, kept in local storage for the next
// visits: newest first, at most kKeptFileLimit, each also put where the game opens it by name.
// A device file under the bundled collection's name is turned away unless it is that collection:
// files are known here by name alone, and it would take the collection's place for good.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "util/page_files.h"
#include "util/page_storage.h"

namespace lumera::web {

inline constexpr char kBundledFile[] = "Lumera8.dat";
inline constexpr char kKeptFilesStorageName[] = "lumera8.files";
inline constexpr std::size_t kKeptFileLimit = 8;

struct KeptFile {
    std::string name;   // UTF-8, as the picker gave it
    std::string bytes;
    bool operator==(const KeptFile&) const = default;
};

// The stored form of the list: a header line, then for each file the lengths of its name and its
// contents in code units, a line break, the name and the contents one unit per byte.
std::u16string KeptFilesText(const std::vector<KeptFile>& files);
// Nothing for text that is not such a list.
std::optional<std::vector<KeptFile>> ParseKeptFiles(const std::u16string& text);

class KeptFiles {
public:
    enum class Outcome { Kept, PlayedNotKept, Refused };

    KeptFiles(IPageStorage& storage, PageFiles& files) : storage_(storage), files_(files) {}

    // Puts the files kept by earlier visits where the game opens them. The bundled collection
    // must be there already. A list that cannot be read counts as empty and is left alone
    // until a file is kept.
    void Restore();
    // A file picked from the device: put first in the list and where the game opens it, and
    // stored with the others; when it does not fit in storage, it is played but not kept and
    // the stored list stays as it was.
    Outcome Take(const std::string& name, std::string bytes);
    // What the player is told of an outcome other than Kept.
    static std::string Message(Outcome outcome, const std::string& name);
    // The names the file chooser lists: the bundled collection first, then the list's order.
    std::vector<std::string> Names() const;

private:
    IPageStorage& storage_;
    PageFiles& files_;
    std::vector<KeptFile> kept_;        // newest first, as stored
    std::vector<std::string> names_;    // the chosen files the game holds, newest first, kept or not
};

// The one list of the page.
KeptFiles& TheKeptFiles();

}  // namespace lumera::web
