// The glyph atlas: the desktop's own glyphs for device ratios 1 and 2, fetched once per ratio,
// each face's glyphs put into one sheet of black masks that the board copies from.

export class GlyphAtlases {
    constructor() {
        this.atlases = new Map();   // ratio -> atlas, or the promise of it while it loads
    }

    // The atlas for a ratio, fetched once (early: a fetch already under way for it).
    load(ratio, early = null) {
        if (ratio !== 1 && ratio !== 2) return Promise.resolve(null);
        if (!this.atlases.has(ratio)) {
            const loading = (early || fetch("atlas-" + ratio + ".json")).then(response => {
                if (!response) throw new Error("The glyph atlas could not be loaded");
                if (!response.ok) throw new Error("The glyph atlas could not be loaded (" + response.status + ")");
                return response.json();
            }).then(atlas => {
                for (const face of Object.values(atlas.faces)) makeSheet(face);
                atlas.loaded = true;
                return atlas;
            });
            loading.catch(() => this.atlases.delete(ratio));
            this.atlases.set(ratio, loading);
            loading.then(atlas => this.atlases.set(ratio, atlas), () => {});
        }
        return Promise.resolve(this.atlases.get(ratio));
    }

    // The atlas for a ratio once it has loaded, else null.
    loaded(ratio) {
        const atlas = this.atlases.get(ratio);
        return atlas && atlas.loaded ? atlas : null;
    }
}

function makeSheet(face) {
    let width = 0, height = 1;
    for (const [code, [advance, left, top, w, h, bits]] of Object.entries(face.glyphs)) {
        face.glyphs[code] = { advance, left, top, width: w, height: h, bits: atob(bits), x: width };
        width += w;
        height = Math.max(height, h);
    }
    face.sheet = document.createElement("canvas");
    face.sheet.width = Math.max(1, width);
    face.sheet.height = height;
    const c = face.sheet.getContext("2d");
    const pixels = c.createImageData(face.sheet.width, height);
    // One 32-bit word a pixel; a glyph's mask is its rows' bits one after another, and most of
    // its bytes are blank.
    const words = new Uint32Array(pixels.data.buffer);
    const ink = new Uint8Array([0, 0, 0, 255]);
    const black = new Uint32Array(ink.buffer)[0];
    for (const glyph of Object.values(face.glyphs)) {
        const bits = glyph.bits, count = glyph.width * glyph.height;
        for (let byte = 0; byte < bits.length; ++byte) {
            const value = bits.charCodeAt(byte);
            if (value === 0) continue;
            for (let bit = 0; bit < 8; ++bit) {
                const i = byte * 8 + bit;
                if (i >= count) break;
                if (value & (0x80 >> bit)) {
                    const row = (i / glyph.width) | 0;
                    words[row * face.sheet.width + glyph.x + i - row * glyph.width] = black;
                }
            }
        }
    }
    c.putImageData(pixels, 0, 0);
}
