#!/usr/bin/env python3
"""A small stand-in for Quorvane's browser remote server, for testing the page.

It serves remote.html and speaks the page's messages (src/web/RemoteMessages.h)
over a WebSocket, with the same token and Origin rules (the page itself comes
without a token): a key press shows the key's name on the display's second
line, in the status box and as a new row of the hit log (an alert row for
key_scan); "listen" gets a 440 Hz tone in 100 ms frames, or, after SIGUSR2,
the answer that there is no sound input.

    remote_stand_in.py PAGE [--port N]

prints one JSON line {"port": N, "control": TOKEN, "view": TOKEN} when it
listens on 127.0.0.1, and runs until it is killed. SIGUSR1 makes it act as
a restarted program: new tokens (printed as before) and every socket closed.
"""
import argparse
import asyncio
import base64
import hashlib
import json
import math
import secrets
import signal
import struct
import sys
import time
import urllib.parse

WS_GUID = b"258EAFA5-E914-47DA-95CA-C5AB0DC85B11"
HEADERS = (
    b"Cache-Control: no-store\r\nReferrer-Policy: no-referrer\r\nX-Content-Type-Options: nosniff\r\n"
    b"X-Frame-Options: DENY\r\nContent-Security-Policy: default-src 'none'; script-src 'unsafe-inline'; "
    b"style-src 'unsafe-inline'; connect-src 'self'; img-src data:; base-uri 'none'; form-action 'none'; "
    b"frame-ancestors 'none'\r\n"
)
COLUMNS = ["System / Group", "Channel", "Frequency", "Tone / ID", "Start Time", "End Time", "Date"]


class Remote:
    def __init__(self, page):
        self.page = page
        self.tokens = {secrets.token_hex(16): "control", secrets.token_hex(16): "view"}
        self.display = {"type": "display", "line1": "Stand-in", "line2": "Ready", "freq": " 154.4750",
                        "icons1": "SYS 1", "icons2": "GRP 1", "hit": False}
        self.status = {"type": "status", "text": ""}
        self.rows = []
        self.clients = {}  # writer -> listening
        self.sound_input = True

    def restart(self):
        self.tokens = {secrets.token_hex(16): "control", secrets.token_hex(16): "view"}
        print(json.dumps({role: token for token, role in self.tokens.items()}), flush=True)
        for writer in list(self.clients):
            writer.close()

    def no_sound_input(self):
        self.sound_input = False

    @staticmethod
    def token(query, headers):
        auth = headers.get("authorization", "")
        return auth[7:].strip() if auth.lower().startswith("bearer ") else \
            urllib.parse.parse_qs(query).get("token", [""])[0]

    def role(self, query, headers):
        return self.tokens.get(self.token(query, headers))

    async def handle(self, reader, writer):
        try:
            head = await asyncio.wait_for(reader.readuntil(b"\r\n\r\n"), 10)
        except (asyncio.IncompleteReadError, asyncio.LimitOverrunError, asyncio.TimeoutError, ConnectionError):
            writer.close()
            return
        lines = head.decode("latin-1").split("\r\n")
        method, target = (lines[0].split(" ") + ["", ""])[:2]
        headers = {k.strip().lower(): v.strip() for k, _, v in (l.partition(":") for l in lines[1:] if l)}
        url = urllib.parse.urlsplit(target)
        origin = headers.get("origin")
        if url.path == "/ws" and origin is not None and origin != "http://" + headers.get("host", ""):
            return self.answer(writer, 403, b"Other site")
        role = self.role(url.query, headers)
        if url.path == "/" and method == "GET" and not self.token(url.query, headers):
            return self.answer(writer, 200, self.page, b"text/html; charset=utf-8")
        if role is None:
            return self.answer(writer, 401, b"Token refused")
        if url.path == "/" and method == "GET":
            return self.answer(writer, 200, self.page, b"text/html; charset=utf-8")
        if url.path == "/ws" and headers.get("upgrade", "").lower() == "websocket":
            accept = base64.b64encode(hashlib.sha1(headers["sec-websocket-key"].encode() + WS_GUID).digest())
            writer.write(b"HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                         b"Sec-WebSocket-Accept: " + accept + b"\r\n\r\n")
            return await self.socket(reader, writer, role)
        return self.answer(writer, 404, b"Not found")

    def answer(self, writer, status, body, kind=b"text/plain"):
        writer.write(b"HTTP/1.1 %d X\r\n" % status + HEADERS + b"Content-Type: " + kind +
                     b"\r\nContent-Length: %d\r\nConnection: close\r\n\r\n" % len(body) + body)
        writer.close()

    @staticmethod
    def frame(payload, opcode=1):
        n = len(payload)
        size = struct.pack("!B", n) if n < 126 else struct.pack("!BH", 126, n) if n < 65536 else \
            struct.pack("!BQ", 127, n)
        return bytes([0x80 | opcode]) + size + payload

    def send(self, writer, message):
        writer.write(self.frame(json.dumps(message, ensure_ascii=False).encode()))

    def broadcast(self, message):
        for writer in list(self.clients):
            self.send(writer, message)

    async def socket(self, reader, writer, role):
        self.clients[writer] = False
        for message in ({"type": "hello", "version": 1, "role": role}, self.display, self.status,
                        {"type": "latches", "held": []}, {"type": "log", "columns": COLUMNS, "rows": [row for row, _ in self.rows],
                         "alerts": [r for r, (_, alert) in enumerate(self.rows) if alert]}):
            self.send(writer, message)
        try:
            while True:
                b0, b1 = await reader.readexactly(2)
                n = b1 & 0x7F
                if n == 126:
                    n = struct.unpack("!H", await reader.readexactly(2))[0]
                elif n == 127:
                    n = struct.unpack("!Q", await reader.readexactly(8))[0]
                mask = await reader.readexactly(4) if b1 & 0x80 else b"\0\0\0\0"
                data = bytes(c ^ mask[i % 4] for i, c in enumerate(await reader.readexactly(n)))
                opcode = b0 & 0x0F
                if opcode == 8:
                    break
                if opcode == 9:
                    writer.write(self.frame(data, 10))
                elif opcode == 1:
                    self.on_message(writer, role, data)
        except (asyncio.IncompleteReadError, ConnectionError):
            pass
        finally:
            self.clients.pop(writer, None)
            writer.close()

    def on_message(self, writer, role, data):
        try:
            m = json.loads(data)
        except ValueError:
            return self.send(writer, {"type": "refused", "key": "", "reason": "Not a message"})
        if m.get("type") == "listen":
            self.clients[writer] = bool(m.get("on")) and self.sound_input
            if m.get("on") and not self.sound_input:
                self.send(writer, {"type": "sound", "on": False, "reason": "No sound input on the computer"})
        elif m.get("type") == "key":
            if role != "control":
                return self.send(writer, {"type": "refused", "key": m.get("key", ""), "reason": "View only"})
            key = str(m.get("key", ""))
            self.display = dict(self.display, line2=key, hit=not self.display["hit"])
            self.status = {"type": "status", "text": "Pressed " + key}
            now = time.strftime("%H:%M:%S")
            row = ["Stand-in / Keys", key, " 154.4750", "", now, now, time.strftime("%m/%d/%Y")]
            alert = key == "key_scan"
            self.rows.insert(0, (row, alert))
            for message in (self.display, self.status, {"type": "hit", "row": row, "alert": alert}):
                self.broadcast(message)

    async def sound(self):
        frame_number = 0
        while True:
            await asyncio.sleep(0.1)
            samples = [int(8000 * math.sin(2 * math.pi * 440 * (frame_number * 1600 + i) / 16000))
                       for i in range(1600)]
            payload = struct.pack("<II", 16000, frame_number) + struct.pack("<1600h", *samples)
            frame_number += 1
            for writer, listening in list(self.clients.items()):
                if listening:
                    writer.write(self.frame(payload, 2))


async def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("page")
    parser.add_argument("--port", type=int, default=0)
    args = parser.parse_args()
    with open(args.page, "rb") as f:
        remote = Remote(f.read())
    server = await asyncio.start_server(remote.handle, "127.0.0.1", args.port, limit=16384)
    port = server.sockets[0].getsockname()[1]
    tokens = {role: token for token, role in remote.tokens.items()}
    print(json.dumps({"port": port, **tokens}), flush=True)
    asyncio.get_running_loop().add_signal_handler(signal.SIGUSR1, remote.restart)
    asyncio.get_running_loop().add_signal_handler(signal.SIGUSR2, remote.no_sound_input)
    asyncio.ensure_future(remote.sound())
    async with server:
        await server.serve_forever()


if __name__ == "__main__":
    try:
        asyncio.run(main())
    except KeyboardInterrupt:
        sys.exit(0)
