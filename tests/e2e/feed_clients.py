"""The live feed against a WebSocket client nobody here wrote (Python's
websockets) and plain sockets: ended sessions give their places back, other
sites' pages are refused, an unmasked frame ends the connection, and an HTTP/1.0
poller is answered and let go. Usage: feed_clients.py PORT"""
import asyncio
import socket
import sys
import time

import websockets

PORT = int(sys.argv[1])
URL = f"ws://127.0.0.1:{PORT}/live"
PLACES = 32


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr)
    sys.exit(1)


async def sessions(count):
    """Opens and ends `count` sessions: a close frame, an abrupt end, and a
    connection closed without a close frame, in turn."""
    for i in range(count):
        client = await websockets.connect(URL, open_timeout=5)
        await asyncio.wait_for(client.recv(), 5)
        if i % 3 == 0:
            await client.close()
        elif i % 3 == 1:
            client.transport.abort()
        else:
            client.transport.close()


async def take_every_place():
    clients = []
    try:
        for _ in range(PLACES):
            clients.append(await websockets.connect(URL, open_timeout=5))
            await asyncio.wait_for(clients[-1].recv(), 5)
        return clients
    except (OSError, asyncio.TimeoutError, websockets.exceptions.WebSocketException):
        for client in clients:
            client.transport.abort()
        return None


async def every_place_is_free():
    """All places can be taken by live clients at once, and not one more. The
    program learns of a connection's end from the system a moment after it, so
    it has a few seconds to."""
    for _ in range(10):
        clients = await take_every_place()
        if clients:
            break
        await asyncio.sleep(0.5)
    else:
        fail(f"the {PLACES} places could not all be taken")
    try:
        extra = await websockets.connect(URL, open_timeout=3)
        await asyncio.wait_for(extra.recv(), 3)
        fail(f"a client past the {PLACES} places was served")
    except (OSError, asyncio.TimeoutError, websockets.exceptions.WebSocketException):
        pass
    for client in clients:
        await client.close()


async def origins():
    own = await websockets.connect(URL, origin=f"http://127.0.0.1:{PORT}", open_timeout=5)
    await asyncio.wait_for(own.recv(), 5)
    await own.close()
    try:
        await websockets.connect(URL, origin="http://example.com", open_timeout=5)
        fail("another site's page opened the live socket")
    except websockets.exceptions.InvalidStatusCode as refused:
        if refused.status_code != 403:
            fail(f"another site's page got {refused.status_code}, not 403")


def read_all(sock, seconds):
    """What the server sends until it closes, or None if it does not within `seconds`."""
    sock.settimeout(seconds)
    data = b""
    try:
        while chunk := sock.recv(65536):
            data += chunk
    except socket.timeout:
        return None
    return data


def unmasked_frame_ends_the_connection():
    sock = socket.create_connection(("127.0.0.1", PORT), timeout=5)
    sock.sendall(b"GET /live HTTP/1.1\r\nHost: x\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                 b"Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n")
    time.sleep(0.2)
    sock.sendall(b"\x81\x02hi")
    data = read_all(sock, 5)
    if data is None or not data.endswith(b"\x88\x02\x03\xea"):
        fail(f"an unmasked frame did not end the connection with 1002: {data[-20:] if data else data}")


def http10_poller_is_let_go():
    sock = socket.create_connection(("127.0.0.1", PORT), timeout=5)
    start = time.monotonic()
    sock.sendall(b"GET /state.json HTTP/1.0\r\n\r\n")
    data = read_all(sock, 5)
    if data is None:
        fail("an HTTP/1.0 answer left the connection open")
    if not data.startswith(b"HTTP/1.1 200 OK\r\n") or b'"homeScore"' not in data:
        fail(f"an HTTP/1.0 request got {data[:60]}")
    print(f"HTTP/1.0 poller done in {time.monotonic() - start:.3f} s")


async def main():
    started = time.monotonic()
    await sessions(1000)
    print(f"1000 sessions in {time.monotonic() - started:.1f} s")
    await every_place_is_free()
    await origins()
    unmasked_frame_ends_the_connection()
    http10_poller_is_let_go()
    await every_place_is_free()


asyncio.run(main())
