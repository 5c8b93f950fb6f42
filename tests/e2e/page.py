#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Holds one connection to the page that chromium shows, through its debugging port (the
DevTools protocol over a WebSocket, with nothing but Python's standard library), for the whole
of a test, and answers the test's questions on 127.0.0.1:
    page.py DEVTOOLS_PORT PORT_FILE
writes the port it answers on into PORT_FILE once the page is reached, then takes one request a
connection: a line holding a JSON array, answered by one line, "=" and the value as JSON, or
"!" and what went wrong:
    ["eval", EXPRESSION]         its value, awaited, with `lib` (below) in reach
    ["call", METHOD, PARAMS]     a DevTools command's result (PARAMS a JSON text)
    ["shot", FILE, CLIP]         a PNG of the page, or of CLIP ({x, y, width, height} in CSS
                                 pixels, a JSON text, or ""), in the screen's own pixels
One connection, so that what is set on it (a phone's screen, its touch) lasts to the end: the
settings of the debugging port last as long as the connection that made them. It ends when
chromium closes it."""

import base64
import json
import os
import socket
import struct
import sys
import time
import urllib.request

# What the tests ask the page, in its own terms (the ids, classes and attributes that it gives):
# - windows(): the windows shown, the game first ({id: "game", title: the caption}), then every
#   `.window` ({id, title: its data-title}), each with whether it is active;
# - inside(id): [x, y, w, h] of a window's inside in CSS pixels, its corner at a whole screen
#   pixel and its size whole CSS pixels: a window's under its title bar; the game's from the
#   menu bar's top to the field's bottom, across the field;
# - point(id): [x, y] where a click lands on that window itself, or null;
# - says(): what the page shows instead of the game (#message), as a player reads it, or "";
# - box(selector): [x, y, w, h] of the element, or null if it is not shown;
# - labelled(selector, text): the shown element of those that SELECTOR finds whose words (its
#   `.label`'s, if it has one) are TEXT.
LIB = r"""
const lib = {
  shown(el) {
    return !!el && el.getClientRects().length > 0 && getComputedStyle(el).visibility !== 'hidden';
  },
  rect(el) { const r = el.getBoundingClientRect(); return [r.left, r.top, r.width, r.height]; },
  box(selector) { const el = document.querySelector(selector); return lib.shown(el) ? lib.rect(el) : null; },
  labelled(selector, text) {
    return [...document.querySelectorAll(selector)].filter(lib.shown)
      .find(el => (el.querySelector('.label') ?? el).textContent.trim() === text) ?? null;
  },
  within(el, id) { return !!el && !!el.closest(id === 'game' ? '#game' : '#' + CSS.escape(id)); },
  active(id) {
    const focused = document.activeElement;
    if (id !== 'game') return lib.within(focused, id);
    const boxes = [...document.querySelectorAll('.window.box')].filter(lib.shown);
    const inWindow = focused && focused.closest('.window');
    return boxes.length === 0 && !inWindow;
  },
  windows() {
    const list = [];
    if (lib.shown(document.getElementById('game')))
      list.push({id: 'game', title: document.title.replace(/\u00a0/g, ' '), active: lib.active('game')});
    for (const w of document.querySelectorAll('.window'))
      if (lib.shown(w)) list.push({id: w.id, title: w.dataset.title, active: lib.active(w.id)});
    return list;
  },
  inside(id) {
    // At whole screen pixels, as the page is drawn; at whole CSS pixels of size.
    const snap = v => Math.round(v * devicePixelRatio) / devicePixelRatio;
    if (id === 'game') {
      const field = document.getElementById('field').getBoundingClientRect();
      const bottom = snap(field.bottom), top = document.getElementById('menubar').getBoundingClientRect().top;
      const height = Math.round(bottom - top);
      return [snap(field.left), bottom - height, Math.round(field.width), height];
    }
    const w = document.getElementById(id), r = w.getBoundingClientRect();
    const left = r.left + w.clientLeft, top = w.querySelector('.title').getBoundingClientRect().bottom;
    return [snap(left), snap(top), Math.round(w.clientWidth), Math.round(r.top + w.clientTop + w.clientHeight - top)];
  },
  point(id) {
    const el = id === 'game' ? document.getElementById('field') : document.getElementById(id);
    if (!lib.shown(el)) return null;
    const r = el.getBoundingClientRect(), title = id === 'game' ? null : el.querySelector('.title');
    const spots = [[r.left + 3, r.bottom - 3], [r.right - 3, r.bottom - 3], [r.left + 3, r.top + 3], [r.right - 3, r.top + 3]];
    if (title) { const t = title.getBoundingClientRect(); spots.unshift([t.left + t.width / 2, t.top + t.height / 2]); }
    return spots.find(([x, y]) => lib.within(document.elementFromPoint(x, y), id))?.map(Math.round) ?? null;
  },
  says() {
    const message = document.getElementById('message');
    return lib.shown(message) ? message.innerText : '';
  },
};
"""


class Page:
    """One WebSocket to the page's target, and the commands sent on it."""

    def __init__(self, port):
        deadline = time.monotonic() + 20
        while True:
            try:
                with urllib.request.urlopen(f"http://127.0.0.1:{port}/json", timeout=5) as answer:
                    targets = json.load(answer)
                url = next(t["webSocketDebuggerUrl"] for t in targets if t.get("type") == "page")
                break
            except (OSError, StopIteration, ValueError):
                if time.monotonic() > deadline:
                    raise
                time.sleep(0.1)
        path = url.split(str(port), 1)[1]
        self.sock = socket.create_connection(("127.0.0.1", port), timeout=30)
        key = base64.b64encode(os.urandom(16)).decode()
        self.sock.sendall((f"GET {path} HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\nUpgrade: websocket\r\n"
                           f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\n"
                           "Sec-WebSocket-Version: 13\r\n\r\n").encode())
        reply = b""
        while b"\r\n\r\n" not in reply:
            part = self.sock.recv(4096)
            if not part:
                raise OSError("chromium closed the debugging connection")
            reply += part
        if b" 101 " not in reply.split(b"\r\n", 1)[0]:
            raise OSError("no WebSocket: " + reply.split(b"\r\n", 1)[0].decode())
        self.number = 0

    def send(self, text):
        data = text.encode()
        head = bytes([0x81])  # one text frame
        mask = os.urandom(4)
        if len(data) < 126:
            head += bytes([0x80 | len(data)])
        elif len(data) < 65536:
            head += bytes([0x80 | 126]) + struct.pack(">H", len(data))
        else:
            head += bytes([0x80 | 127]) + struct.pack(">Q", len(data))
        self.sock.sendall(head + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(data)))

    def exactly(self, n):
        data = b""
        while len(data) < n:
            part = self.sock.recv(n - len(data))
            if not part:
                raise EOFError("chromium closed the debugging connection")
            data += part
        return data

    def receive(self):
        message = b""
        while True:
            first, second = self.exactly(2)
            length = second & 0x7F
            if length == 126:
                length = struct.unpack(">H", self.exactly(2))[0]
            elif length == 127:
                length = struct.unpack(">Q", self.exactly(8))[0]
            message += self.exactly(length)
            if first & 0x80:  # the last frame of the message
                return message.decode()

    def command(self, method, params=None):
        """The result of one command; an error raises ValueError with chromium's words. Events
        (none is asked for, but a few come unasked) are passed over."""
        self.number += 1
        self.send(json.dumps({"id": self.number, "method": method, "params": params or {}}))
        while True:
            answer = json.loads(self.receive())
            if answer.get("id") == self.number:
                if "error" in answer:
                    raise ValueError(f"{method}: {answer['error'].get('message')}")
                return answer.get("result", {})

    def evaluate(self, expression):
        result = self.command("Runtime.evaluate", {
            "expression": f"(async () => {{ {LIB}\nreturn ({expression}); }})()",
            "returnByValue": True, "awaitPromise": True})
        if "exceptionDetails" in result:
            details = result["exceptionDetails"]
            raise ValueError(details.get("exception", {}).get("description") or details.get("text"))
        return result["result"].get("value")

    def screenshot(self, path, clip=None):
        params = {"format": "png"}
        if clip:
            params["clip"] = dict(clip, scale=1)
        for attempt in range(20):
            try:
                picture = self.command("Page.captureScreenshot", params)
                break
            except ValueError as error:  # right after a navigation: "Not attached to an active page"
                if "attached" not in str(error) or attempt == 19:
                    raise
                time.sleep(0.1)
        with open(path, "wb") as out:
            out.write(base64.b64decode(picture["data"]))
        return True

    def answer(self, request):
        verb, *words = json.loads(request)
        if verb == "eval":
            return self.evaluate(words[0])
        if verb == "call":
            return self.command(words[0], json.loads(words[1]) if len(words) > 1 and words[1] else {})
        if verb == "shot":
            return self.screenshot(words[0], json.loads(words[1]) if len(words) > 1 and words[1] else None)
        raise ValueError(f"no such request: {verb}")


def main():
    page = Page(int(sys.argv[1]))
    server = socket.socket()
    server.bind(("127.0.0.1", 0))
    server.listen(4)
    with open(sys.argv[2] + ".new", "w") as out:
        out.write(f"{server.getsockname()[1]}\n")
    os.replace(sys.argv[2] + ".new", sys.argv[2])
    while True:
        client, _ = server.accept()
        with client, client.makefile("rwb") as stream:
            request = stream.readline().decode()
            if not request:
                continue
            try:
                reply = "=" + json.dumps(page.answer(request), ensure_ascii=False)
            except (OSError, ValueError, KeyError, IndexError) as error:
                reply = "!" + " ".join(str(error).split())
            except EOFError:
                stream.write(b"!chromium has closed the debugging connection\n")
                return 1
            stream.write(reply.encode() + b"\n")


if __name__ == "__main__":
    try:
        sys.exit(main())
    except (OSError, ValueError, EOFError, KeyboardInterrupt) as error:
        print(f"page.py: {error}", file=sys.stderr)
        sys.exit(1)
