// The Qt side of the engine's ports: dialogs, sound, the settings store on disk and the clock.
#pragma once

#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <memory>

#include "engine/ports.h"
#include "util/qt/qt_text.h"
#include "util/registry_store.h"
#include "util/store_settings_port.h"

class QWidget;

namespace lumera {

// Shows the stop-icon message of an error that escaped a handler; `what` is the error's
// text in the local encoding.
void ShowErrorReport(QWidget* parent, const std::string& what);
// Runs a handler; an exception that escapes it is shown in the error report.
void RunHandler(QWidget* parent, const std::function<void()>& handler);

class QtDialogs final : public IDialogs {
public:
    // beforeModal runs before any modal window opens, so that pending cell redraws show.
    QtDialogs(QWidget* parent, std::function<void()> beforeModal);
    void ShowInformation(const std::string& text) override;
    void ShowMessage(const std::string& text, const std::string& caption) override;
    bool InputBox(const std::string& caption, const std::string& prompt, std::string& text) override;
    std::optional<std::string> ChooseFile(const std::string& filter, const std::string& defaultExtension) override;

private:
    QWidget* parent_;
    std::function<void()> beforeModal_;
};

class SoundPlayer;

// Plays the built-in WAV resources. The audio module (and with it the audio libraries) is
// loaded when a sound first plays; without the module, sounds are silently left out.
class QtSound final : public ISound {
public:
    explicit QtSound(std::function<void()> beforePlay);
    ~QtSound() override;
    void PlaySound(const std::string& name, bool synchronous) override;
    // Whether the audio module was loaded and a player made from it (after a first play).
    bool ModuleLoaded() const { return player_ != nullptr; }

private:
    std::function<void()> beforePlay_;
    std::unique_ptr<SoundPlayer> player_;
    bool triedModule_ = false;
};

class SystemClock final : public IClock {
public:
    std::uint64_t SeedValue() override;
    int Today() override;
};

// Length of a WAV resource in milliseconds, read from its header; 0 when unreadable.
int WaveLengthMs(const QString& resourcePath);

}  // namespace lumera
