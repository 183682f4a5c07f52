#!/usr/bin/python3
# The first visit in WebKitGTK as a player makes it: a fresh profile opens the site, the
# first-visit information message is answered DELAY ms after it is up, and the time from that
# answer to the board's first frame (the page's "lumera-board-shown" mark) and to the two frames
# after it is printed. ACCELERATED=1 asks for hardware acceleration; WIDTH sets the window's width.
# Usage (under X, e.g. xvfb-run): webkit_first_board.py URL [RUNS] [DELAY]
import os
import sys

import gi
gi.require_version("Gtk", "3.0")
gi.require_version("WebKit2", "4.1")
from gi.repository import GLib, Gtk, WebKit2  # noqa: E402

PROBE_TEMPLATE = """
(() => {
    let answered = 0, answerAt = 0, presented = 0;
    const poll = setInterval(() => {
        const ok = document.querySelector(".backdrop [role=alertdialog] button");
        if (ok && !answered) {
            answerAt = answerAt || performance.now() + DELAY;
            if (performance.now() >= answerAt) { answered = performance.now(); ok.click(); }
        }
        const shown = performance.getEntriesByName("lumera-board-shown")[0];
        if (!answered || !shown || presented) return;
        clearInterval(poll);
        // The frame after the board's first one: the board has reached the screen.
        let painted = 0;
        requestAnimationFrame(() => { painted = performance.now(); requestAnimationFrame(() => {
            presented = performance.now();
            const marks = performance.getEntriesByType("mark").map(m => m.name + "=" + m.startTime.toFixed(0)).join(" ");
            window.webkit.messageHandlers.probe.postMessage(
                (shown.startTime - answered).toFixed(0) + " ms to the board's frame, " + (presented - answered).toFixed(0) +
                " ms to the second frame after it; first after it " + (painted - answered).toFixed(0) + " ms (answered at " + answered.toFixed(0) + "; " + marks + ")");
        }); });
    }, 5);
})();
"""
PROBE = PROBE_TEMPLATE.replace("DELAY", sys.argv[3] if len(sys.argv) > 3 else "0")


def run(url, runs):
    results = []

    def once():
        manager = WebKit2.WebsiteDataManager.new_ephemeral()
        context = WebKit2.WebContext.new_with_website_data_manager(manager)
        content = WebKit2.UserContentManager()
        content.add_script(WebKit2.UserScript.new(PROBE, WebKit2.UserContentInjectedFrames.TOP_FRAME,
                                                  WebKit2.UserScriptInjectionTime.END, None, None))
        window = Gtk.Window(default_width=int(os.environ.get("WIDTH", "900")), default_height=640)
        view = WebKit2.WebView(web_context=context, user_content_manager=content)
        if os.environ.get("ACCELERATED"):
            view.get_settings().set_hardware_acceleration_policy(WebKit2.HardwareAccelerationPolicy.ALWAYS)
        window.add(view)
        window.show_all()

        def received(_manager, message):
            results.append(message.to_string() if hasattr(message, "to_string") else message.get_js_value().to_string())
            print("run %d: %s" % (len(results), results[-1]), flush=True)
            window.destroy()
            if len(results) < runs:
                GLib.idle_add(once)
            else:
                Gtk.main_quit()

        content.connect("script-message-received::probe", received)
        content.register_script_message_handler("probe")
        view.load_uri(url)

    GLib.timeout_add_seconds(60 * runs, Gtk.main_quit)
    once()
    Gtk.main()
    return results


if __name__ == "__main__":
    run(sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 5)
