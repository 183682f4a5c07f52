// The game's four sounds, the same WAV files as the desktop's. A sound that cannot play is
// left out; a synchronous one then ends at once.

export class SoundPlayer {
    constructor() { this.sounds = new Map(); }

    play(name, synchronous) {
        let audio = this.sounds.get(name);
        if (!audio) {
            audio = new Audio(name.toLowerCase() + ".wav");
            audio.preload = "auto";
            this.sounds.set(name, audio);
        }
        audio.currentTime = 0;
        const playing = audio.play();
        if (!synchronous) {
            if (playing) playing.catch(() => {});
            return Promise.resolve();
        }
        return new Promise(resolve => {
            let timer = 0;
            const done = () => {
                clearTimeout(timer);
                audio.removeEventListener("ended", done);
                audio.removeEventListener("error", done);
                resolve();
            };
            audio.addEventListener("ended", done);
            audio.addEventListener("error", done);
            // Should "ended" never come, the sound's own length (or a few seconds) is the limit.
            const limit = () => { timer = setTimeout(done, (isFinite(audio.duration) ? audio.duration * 1000 : 3000) + 500); };
            if (playing) playing.then(limit, done);
            else limit();
        });
    }
}
