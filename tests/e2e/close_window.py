#!/usr/bin/env python3
"""Asks an X11 window to close, as a window manager does when the user clicks
its close box: a WM_DELETE_WINDOW client message. `xdotool windowclose`
destroys the window instead, which the toolkit never sees as a close request,
and a bare Xvfb has no window manager to send the message for us.

Usage: close_window.py WINDOW_ID   (DISPLAY must name a local display)
"""
import os
import socket
import struct
import sys


def pad(n):
    return (4 - n % 4) % 4


def read_exact(sock, n):
    data = b""
    while len(data) < n:
        chunk = sock.recv(n - len(data))
        if not chunk:
            raise SystemExit("close_window: the X server closed the connection")
        data += chunk
    return data


def reply(sock):
    head = read_exact(sock, 32)
    if head[0] == 0:
        raise SystemExit("close_window: X error %d" % head[1])
    extra = struct.unpack("<I", head[4:8])[0] if head[0] == 1 else 0
    return head + read_exact(sock, extra * 4)


def connect(display):
    number = display.split(":", 1)[1].split(".", 1)[0]
    sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    sock.connect("/tmp/.X11-unix/X" + number)
    # Little-endian, protocol 11.0, no authorization: the test's own Xvfb runs
    # without an -auth file, so local clients are let in.
    sock.sendall(struct.pack("<BxHHHHxx", 0x6C, 11, 0, 0, 0))
    head = read_exact(sock, 8)
    length = struct.unpack("<H", head[6:8])[0]
    read_exact(sock, length * 4)
    if head[0] != 1:
        raise SystemExit("close_window: the X server refused the connection")
    return sock


def intern_atom(sock, name):
    raw = name.encode()
    sock.sendall(struct.pack("<BBHHxx", 16, 0, 2 + (len(raw) + pad(len(raw))) // 4, len(raw))
                 + raw + b"\0" * pad(len(raw)))
    return struct.unpack("<I", reply(sock)[8:12])[0]


def main():
    window = int(sys.argv[1], 0)
    sock = connect(os.environ["DISPLAY"])
    protocols = intern_atom(sock, "WM_PROTOCOLS")
    delete = intern_atom(sock, "WM_DELETE_WINDOW")
    event = struct.pack("<BBHII5I", 33, 32, 0, window, protocols, delete, 0, 0, 0, 0)
    sock.sendall(struct.pack("<BBHII", 25, 0, 11, window, 0) + event)
    # GetInputFocus as a round trip: its reply proves the event was accepted.
    sock.sendall(struct.pack("<BxH", 43, 1))
    reply(sock)
    sock.close()


main()
