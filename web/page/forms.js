// The form renderer: a form described by the program (the splash, About, the donation dialog)
// as a window of positioned parts — pictures, labels, links, buttons, a radio group, panels.
import { element } from "./dom.js";
import { PageWindow } from "./windows.js";

export class FormRenderer {
    // windows: the window layer; openDocument: opens a link's address.
    constructor(windows, openDocument) {
        this.windows = windows;
        this.openDocument = openDocument;
    }

    build(description) {
        const window = new PageWindow(this.windows, {
            caption: description.caption, titleBar: description.titleBar, width: description.width,
            height: description.height, background: description.background, modal: description.modal !== false,
            name: description.name, topmost: description.name === "splashForm",
        });
        window.client.classList.add("form-client");
        window.client.style.fontSize = description.fontPixels + "px";
        const result = { window, selected: () => 0 };
        const close = () => window.onclose && window.onclose();
        const addParts = (container, parts) => {
            for (const part of parts) {
                const node = this.part(part, close, result);
                if (part.kind === "panel") addParts(node, part.parts);
                container.appendChild(node);
            }
        };
        addParts(window.client, description.parts);
        if (window.closeBox) window.closeBox.addEventListener("click", close);
        return result;
    }

    part(part, close, result) {
        let node;
        switch (part.kind) {
            case "picture":
                node = element("img", "part picture");
                node.src = part.picture;
                node.alt = "";
                node.draggable = false;
                break;
            case "label":
            case "link":
                node = element(part.kind === "link" && part.url ? "a" : "div", "part label", part.text);
                if (part.kind === "link") node.classList.add("link");
                if (part.url) {
                    node.href = part.url;
                    node.target = "_blank";
                    node.rel = "noopener";
                    node.addEventListener("click", event => { event.preventDefault(); this.openDocument(part.url); });
                }
                break;
            case "button":
                node = element("button", "part button");
                node.type = "button";
                if (part.glyph) {
                    const glyph = element("img", "glyph");
                    glyph.src = part.glyph;
                    glyph.alt = "";
                    glyph.width = glyph.height = part.glyphPixels;
                    node.appendChild(glyph);
                }
                node.appendChild(element("span", null, part.text));
                if (part.focusable === false) {
                    node.tabIndex = -1;
                    node.setAttribute("aria-label", part.text === "X" ? this.windows.texts.close : part.text);
                    node.addEventListener("mousedown", event => event.preventDefault());
                }
                break;
            case "radiogroup": {
                node = element("div", "part radiogroup");
                node.setAttribute("role", "radiogroup");
                const group = "group-" + (++PageWindow.count);
                const radios = part.items.map((text, index) => {
                    const label = element("label", "radio");
                    label.style.left = part.itemLeft + "px";
                    label.style.top = part.itemTop + index * part.itemPitch + "px";
                    label.style.width = part.itemWidth + "px";
                    const radio = element("input");
                    radio.type = "radio";
                    radio.name = group;
                    radio.value = String(index);
                    radio.checked = index === part.selected;
                    label.append(radio, element("span", null, text));
                    node.appendChild(label);
                    return radio;
                });
                radios[part.selected].autofocus = true;
                result.selected = () => Math.max(0, radios.findIndex(r => r.checked));
                break;
            }
            case "panel":
                node = element("div", "part panel");
                node.style.borderColor = `${part.light} ${part.shadow} ${part.shadow} ${part.light}`;
                node.style.outlineColor = part.shadow;
                break;
            default:
                node = element("div", "part");
        }
        node.dataset.name = part.name;
        node.style.left = part.left + "px";
        node.style.top = part.top + "px";
        node.style.width = part.width + "px";
        node.style.height = part.height + "px";
        if (part.fontPixels) node.style.fontSize = part.fontPixels + "px";
        if (part.bold) node.style.fontWeight = "bold";
        if (part.underline) node.style.textDecoration = "underline";
        if (part.colour) node.style.color = part.colour;
        if (part.background) node.style.background = part.background;
        if (part.align) node.style.textAlign = part.align;
        if (part.wrap) node.classList.add("wrap");
        if (part.visible === false) node.hidden = true;
        if (part.action === "close") node.addEventListener("click", close);
        return node;
    }

    // A modal form; the answer is the index of the selected item of its radio group (0 without one).
    show(description) {
        return new Promise(resolve => {
            const form = this.build(description);
            if (description.name === "splashForm") this.windows.splashForm = form.window;
            form.window.onclose = () => {
                const answer = form.selected();
                form.window.close();
                resolve(answer);
            };
            form.window.show();
        });
    }

    // The start-up splash: not modal, above everything but the about window, centred on the page.
    showSplash(description) {
        const form = this.build(Object.assign({}, description, { modal: false }));
        form.window.frame.classList.add("topmost");
        form.window.onclose = () => form.window.frame.classList.add("closed");
        this.windows.splashForm = form.window;
        this.windows.splash = form.window;
        form.window.show(true);
    }

    closeSplash() {
        if (this.windows.splashForm) this.windows.splashForm.close();
    }
}
