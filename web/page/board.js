// The board's pixels on the canvas: the desktop board's geometry in CSS pixels, drawn at the
// device's resolution; its size and background as the program describes them. At ratios 1 and 2 the letters come from the glyph atlas, the desktop's own
// glyphs; at any other ratio from the browser's font at that size, made two-tone so they stay sharp.
import { GlyphAtlases } from "./atlas.js";

// The board uses a handful of colours, each many times: their texts are made once.
const cssColours = new Map();

function cssColour(colour) {
    colour = colour >>> 0;
    let text = cssColours.get(colour);
    if (text === undefined) {
        const rgb = ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
        text = "#" + rgb.toString(16).padStart(6, "0");
        cssColours.set(colour, text);
    }
    return text;
}

// An image's pixels made two-tone: those isInk(i) says are ink in the colour, the rest clear.
function tint(pixels, colour, isInk) {
    const rgb = parseInt(cssColour(colour).slice(1), 16), data = pixels.data;
    for (let i = 0; i * 4 < data.length; ++i) {
        const ink = isInk(i);
        data[i * 4] = ink ? rgb >> 16 : 0;
        data[i * 4 + 1] = ink ? (rgb >> 8) & 0xFF : 0;
        data[i * 4 + 2] = ink ? rgb & 0xFF : 0;
        data[i * 4 + 3] = ink ? 255 : 0;
    }
    return pixels;
}

export class Board {
    constructor(canvas) {
        this.canvas = canvas;
        this.context = canvas.getContext("2d", { alpha: false });
        this.ratio = 1;
        this.width = canvas.width;
        this.height = canvas.height;
        this.background = 0;
        this.atlases = new GlyphAtlases();
        this.glyphCache = new Map();
    }

    static ratioFor(scale) {
        const ratio = (window.devicePixelRatio || 1) * scale;
        return Math.abs(ratio - Math.round(ratio)) < 0.01 ? Math.round(ratio) : ratio;
    }

    loadAtlas(ratio, early = null) { return this.atlases.load(ratio, early); }

    // The board's size in CSS pixels and its background colour; the caller sets the ratio.
    describe({ width, height, background }) {
        this.width = width;
        this.height = height;
        this.background = background;
        this.canvas.style.width = width + "px";
        this.canvas.style.height = height + "px";
    }

    // Sets the device resolution; the caller repaints.
    setRatio(ratio) {
        this.ratio = ratio;
        this.glyphCache.clear();
        this.canvas.width = this.device(this.width);
        this.canvas.height = this.device(this.height);
        this.context.imageSmoothingEnabled = false;
        this.fillColour = undefined;  // a resized canvas forgets its fill style
    }

    device(x) { return Math.round(x * this.ratio); }

    fill(colour, left, top, right, bottom) {
        if (colour !== this.fillColour) {
            this.fillColour = colour;
            this.context.fillStyle = cssColour(colour);
        }
        this.context.fillRect(this.device(left), this.device(top), this.device(right) - this.device(left),
                              this.device(bottom) - this.device(top));
    }

    clear(colour) { this.fill(colour, 0, 0, this.width, this.height); }

    // Fill up to, not including, column right and row bottom; the text from (left + 2, top + 2),
    // the top of its character cell, clipped to the fill; the outline over both. The outline is
    // painted first as a whole rectangle and the fill and text inside it, clipped to within the
    // outline: the same pixels with fewer calls.
    drawCell(left, top, right, bottom, text, fontPixels, textColour, fill, outline) {
        const c = this.context;
        this.fill(outline, left, top, right + 1, bottom + 1);
        this.fill(fill, left + 1, top + 1, right, bottom);
        if (text === "" || text === " ") return;
        const x0 = this.device(left + 1), y0 = this.device(top + 1), x1 = this.device(right), y1 = this.device(bottom);
        this.clip = { x0, y0, x1, y1 };
        this.clipped = false;
        this.drawText(text, fontPixels, textColour, left + 2, top + 2);
        if (this.clipped) c.restore();
        this.clip = null;
    }

    // Glyphs that lie wholly inside the cell are drawn as they are; the clip is set only for one
    // that reaches beyond.
    ensureClip(x, y, width, height) {
        const clip = this.clip;
        if (!clip || this.clipped || (x >= clip.x0 && y >= clip.y0 && x + width <= clip.x1 && y + height <= clip.y1)) return;
        const c = this.context;
        c.save();
        c.beginPath();
        c.rect(clip.x0, clip.y0, clip.x1 - clip.x0, clip.y1 - clip.y0);
        c.clip();
        this.clipped = true;
    }

    drawText(text, fontPixels, colour, x, y) {
        if (text === "" || text === " ") return;
        const atlas = this.atlases.loaded(this.ratio);
        const face = atlas && atlas.faces[String(fontPixels)];
        const characters = Array.from(text);
        if (face && characters.every(ch => face.glyphs[ch.codePointAt(0)])) {
            // The desktop's layout: pen steps of advance plus kerning, each glyph at the whole
            // device pixel left of its pen.
            const k = this.ratio;
            const baseline = (y + face.ascent) * k;
            let pen = x;
            for (let i = 0; i < characters.length; ++i) {
                const code = characters[i].codePointAt(0);
                const glyph = face.glyphs[code];
                if (glyph.width > 0) {
                    const x = Math.floor(pen * k + atlas.placementDelta) + glyph.left, y = baseline + glyph.top;
                    this.ensureClip(x, y, glyph.width, glyph.height);
                    if ((colour >>> 0) === 0)
                        this.context.drawImage(face.sheet, glyph.x, 0, glyph.width, glyph.height, x, y, glyph.width, glyph.height);
                    else
                        this.context.drawImage(this.glyphImage(atlas, fontPixels, code, glyph, colour), x, y);
                }
                pen += glyph.advance;
                if (i + 1 < characters.length) {
                    pen += face.kerning[code + "," + characters[i + 1].codePointAt(0)] || 0;
                }
            }
            return;
        }
        this.drawFontText(text, fontPixels, colour, x, y);
    }

    glyphImage(atlas, fontPixels, code, glyph, colour) {
        const key = atlas.ratio + "/" + fontPixels + "/" + code + "/" + colour;
        let image = this.glyphCache.get(key);
        if (image) return image;
        image = document.createElement("canvas");
        image.width = glyph.width;
        image.height = glyph.height;
        const c = image.getContext("2d");
        const pixels = c.createImageData(glyph.width, glyph.height);
        c.putImageData(tint(pixels, colour, i => glyph.bits.charCodeAt(i >> 3) & (0x80 >> (i & 7))), 0, 0);
        this.glyphCache.set(key, image);
        return image;
    }

    // The browser's "Arial" at the device size, every pixel either ink or not.
    drawFontText(text, fontPixels, colour, x, y) {
        const key = "font/" + this.ratio + "/" + fontPixels + "/" + colour + "/" + text;
        let entry = this.glyphCache.get(key);
        if (!entry) {
            const size = fontPixels * this.ratio;
            const font = size + 'px "Liberation Sans", Arimo, Arial, Helvetica, sans-serif';
            const scratch = document.createElement("canvas");
            const c = scratch.getContext("2d", { willReadFrequently: true });
            c.font = font;
            const metrics = c.measureText(text);
            const ascent = Math.ceil(metrics.fontBoundingBoxAscent || size * 0.905);
            scratch.width = Math.max(1, Math.ceil(metrics.width) + 4);
            scratch.height = Math.ceil(size * 1.3) + 2;
            c.font = font;
            c.fillStyle = "#000";
            c.textBaseline = "alphabetic";
            c.fillText(text, 0, ascent);
            const pixels = c.getImageData(0, 0, scratch.width, scratch.height);
            c.putImageData(tint(pixels, colour, i => pixels.data[i * 4 + 3] >= 128), 0, 0);
            entry = scratch;
            this.glyphCache.set(key, entry);
        }
        this.ensureClip(this.device(x), this.device(y), entry.width, entry.height);
        this.context.drawImage(entry, this.device(x), this.device(y));
    }
}
