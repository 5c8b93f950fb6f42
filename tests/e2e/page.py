#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Asks the page that chromium shows, through its debugging port (the DevTools protocol over a
WebSocket, with nothing but Python's standard library):
    page.py PORT EXPRESSION          prints the value of a JavaScript expression, as JSON
    page.py PORT --inside ID         prints "X Y W H", the inside of the window ID of those the
                                     page lists (gromzaks.shown): of the game window, from its
                                     top to the playfield's bottom and across the playfield
    page.py PORT --picture ID FILE   writes a PNG picture of that inside
Exit 0 done, 1 when the page cannot be reached or the expression throws."""

import base64
import json
import os
import socket
import struct
import sys
import urllib.request


def page_socket(port):
    with urllib.request.urlopen(f"http://127.0.0.1:{port}/json", timeout=5) as answer:
        targets = json.load(answer)
    url = next(t["webSocketDebuggerUrl"] for t in targets if t.get("type") == "page")
    path = url.split(str(port), 1)[1]
    sock = socket.create_connection(("127.0.0.1", port), timeout=10)
    key = base64.b64encode(os.urandom(16)).decode()
    sock.sendall((f"GET {path} HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\nUpgrade: websocket\r\n"
                  f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\n"
                  "Sec-WebSocket-Version: 13\r\n\r\n").encode())
    reply = b""
    while b"\r\n\r\n" not in reply:
        reply += sock.recv(4096)
    if b" 101 " not in reply.split(b"\r\n", 1)[0]:
        raise OSError("no WebSocket: " + reply.split(b"\r\n", 1)[0].decode())
    return sock


def send(sock, text):
    data = text.encode()
    head = bytes([0x81])  # one text frame
    mask = os.urandom(4)
    if len(data) < 126:
        head += bytes([0x80 | len(data)])
    elif len(data) < 65536:
        head += bytes([0x80 | 126]) + struct.pack(">H", len(data))
    else:
        head += bytes([0x80 | 127]) + struct.pack(">Q", len(data))
    sock.sendall(head + mask + bytes(b ^ mask[i % 4] for i, b in enumerate(data)))


def receive(sock):
    def exactly(n):
        data = b""
        while len(data) < n:
            part = sock.recv(n - len(data))
            if not part:
                raise OSError("the page closed the connection")
            data += part
        return data

    message = b""
    while True:
        first, second = exactly(2)
        length = second & 0x7F
        if length == 126:
            length = struct.unpack(">H", exactly(2))[0]
        elif length == 127:
            length = struct.unpack(">Q", exactly(8))[0]
        message += exactly(length)
        if first & 0x80:  # the last frame of the message
            return message.decode()


def ask(sock, number, method, params):
    send(sock, json.dumps({"id": number, "method": method, "params": params}))
    while True:
        answer = json.loads(receive(sock))
        if answer.get("id") == number:
            return answer.get("result", {})


def main():
    port = int(sys.argv[1])
    try:
        sock = page_socket(port)
        if sys.argv[2] not in ("--inside", "--picture"):
            result = ask(sock, 1, "Runtime.evaluate", {"expression": sys.argv[2], "returnByValue": True})
            if "exceptionDetails" in result or "result" not in result:
                print(f"page.py: {json.dumps(result)}", file=sys.stderr)
                return 1
            print(json.dumps(result["result"].get("value")))
            return 0
        shown = ask(sock, 1, "Runtime.evaluate", {"expression": "JSON.stringify(gromzaks.shown)",
                                                  "returnByValue": True})
        window = next(w for w in json.loads(shown["result"]["value"]) if w["id"] == sys.argv[3])
        field = window.get("field")
        clip = ({"x": field["x"], "y": window["y"], "width": field["w"],
                 "height": field["y"] + field["h"] - window["y"]} if field else
                {"x": window["x"], "y": window["y"], "width": window["w"], "height": window["h"]})
        if sys.argv[2] == "--inside":
            print(clip["x"], clip["y"], clip["width"], clip["height"])
            return 0
        picture = ask(sock, 2, "Page.captureScreenshot", {"format": "png", "clip": dict(clip, scale=1)})
        with open(sys.argv[4], "wb") as out:
            out.write(base64.b64decode(picture["data"]))
        return 0
    except (OSError, StopIteration, ValueError, KeyError) as error:
        print(f"page.py: {error}", file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main())
