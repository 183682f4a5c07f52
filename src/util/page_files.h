// The puzzle files of the page, held in memory by name: the bundled collection that the page
// fetched and the files the player chose (and those kept from earlier visits). The engine opens
// them through its file opener port, as on the desktop it opens files on disk.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "engine/ports.h"

namespace lumera::web {

class PageFiles final : public IFileOpener {
public:
    // Puts a file under its name, replacing one of that name. A file already open keeps
    // reading what it held when it was opened.
    void Put(const std::string& name, std::string bytes);
    // The bytes under a name, or null.
    const std::string* Find(const std::string& name) const;
    // Throws std::runtime_error with the C library's text for a name that holds no file.
    std::unique_ptr<IFileReader> OpenForReading(const std::string& name) override;

private:
    std::map<std::string, std::shared_ptr<const std::string>> files_;
};

// The one set of files of the page.
PageFiles& ThePageFiles();

}  // namespace lumera::web
