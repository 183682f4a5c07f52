// What every front-end's main window is given and how it fills in the rest: the services a test
// or the entry point passes, and the toolkit's own where none was passed.
#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "util/file_opener.h"
#include "window/game_window.h"

namespace lumera {

// The settings store is required; a null service is replaced by the toolkit's own.
template <typename Form>
struct FrontEndServices {
    ISettingsStore* store = nullptr;
    IDialogs* dialogs = nullptr;
    ISound* sound = nullptr;
    IRandom* random = nullptr;
    IClock* clock = nullptr;
    IFileOpener* files = nullptr;  // default: the system's files
    // The splash, About, the donation reminder and help, made by the entry point for the window
    // once it exists; without it, none of them.
    std::function<std::unique_ptr<IShell>(Form&)> shell;
};

// Keeps the services a front-end made for itself for as long as the window lives.
class ServiceOwner {
public:
    // The given service, or a new Made built from args and kept here.
    template <typename Made, typename Port, typename... Args>
    Port& Use(Port* given, Args&&... args) {
        if (given) return *given;
        auto made = std::make_shared<Made>(std::forward<Args>(args)...);
        owned_.push_back(made);
        return *made;
    }
    static IFileOpener& Files(IFileOpener* given) { return given ? *given : util::SystemFileOpener(); }
    template <typename Form>
    IShell& Shell(const FrontEndServices<Form>& services, Form& form) {
        std::unique_ptr<IShell> shell = services.shell ? services.shell(form) : nullptr;
        if (!shell) shell = std::make_unique<NullShell>();
        std::shared_ptr<IShell> kept = std::move(shell);
        owned_.push_back(kept);
        return *kept;
    }

private:
    std::vector<std::shared_ptr<void>> owned_;
};

}  // namespace lumera
