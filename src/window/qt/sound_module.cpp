// The audio module lumera8_sound: the one part of the game that links QtMultimedia. It plays
// the program's WAV resources with QSoundEffect; the game opens it with dlopen on first use.
#include <QEventLoop>
#include <QObject>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <map>
#include <memory>

#include "window/qt/sound_module.h"

namespace {

class EffectPlayer final : public lumera::SoundPlayer {
public:
    void Play(const QString& qrcPath, bool synchronous, int lengthMs) override {
        // A later request replaces a sound that is still playing.
        for (auto& [other, effect] : effects_) effect->stop();
        std::unique_ptr<QSoundEffect>& slot = effects_[qrcPath];
        if (!slot) {
            slot = std::make_unique<QSoundEffect>();
            slot->setSource(QUrl("qrc" + qrcPath));
        }
        QSoundEffect* effect = slot.get();
        effect->play();
        if (!synchronous) return;

        // Wait for the end, without letting the player's input through; without an audio
        // device the effect may never report its end, so the wait is bounded by the length.
        QEventLoop loop;
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(effect, &QSoundEffect::playingChanged, &loop, [&] {
            if (!effect->isPlaying() && effect->status() != QSoundEffect::Loading) loop.quit();
        });
        QObject::connect(effect, &QSoundEffect::statusChanged, &loop, [&] {
            if (effect->status() == QSoundEffect::Error) loop.quit();
        });
        deadline.start(lengthMs + 150);
        if (effect->status() != QSoundEffect::Error) loop.exec(QEventLoop::ExcludeUserInputEvents);
    }

private:
    std::map<QString, std::unique_ptr<QSoundEffect>> effects_;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) lumera::SoundPlayer* lumera_sound_create_player() {
    return new EffectPlayer();
}
