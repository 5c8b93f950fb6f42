#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Asks the page that chromium shows, through its debugging port (the DevTools protocol over a
WebSocket, with nothing but Python's standard library):
    page.py PORT EXPRESSION          prints the value of a JavaScript expression, as JSON
    page.py PORT FILE X Y W H        writes a PNG picture of that rectangle of the page
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


def main():
    port = int(sys.argv[1])
    if len(sys.argv) == 7:
        x, y, w, h = (int(a) for a in sys.argv[3:])
        request = ("Page.captureScreenshot",
                   {"format": "png", "clip": {"x": x, "y": y, "width": w, "height": h, "scale": 1}})
    else:
        request = ("Runtime.evaluate", {"expression": sys.argv[2], "returnByValue": True})
    try:
        sock = page_socket(port)
        send(sock, json.dumps({"id": 1, "method": request[0], "params": request[1]}))
        while True:
            answer = json.loads(receive(sock))
            if answer.get("id") == 1:
                break
    except (OSError, StopIteration, ValueError) as error:
        print(f"page.py: {error}", file=sys.stderr)
        return 1
    result = answer.get("result", {})
    if len(sys.argv) == 7 and "data" in result:
        with open(sys.argv[2], "wb") as picture:
            picture.write(base64.b64decode(result["data"]))
        return 0
    if "exceptionDetails" in result or "result" not in result:
        print(f"page.py: {json.dumps(result)}", file=sys.stderr)
        return 1
    print(json.dumps(result["result"].get("value")))
    return 0


if __name__ == "__main__":
    sys.exit(main())
