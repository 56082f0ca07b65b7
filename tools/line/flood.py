#!/usr/bin/env python3
"""A serial line that delivers nothing but random bytes, as fast as it can.

Prints the pseudo-terminal's path on the first line, then floods it until the given number
of seconds has passed and prints the rate it managed. Used to measure how the window and
the command line hold up under a hostile line:

    tools/line/flood.py 20 &   # prints /dev/pts/N
    /usr/bin/time -v build/vandorelle-cli --port /dev/pts/N monitor
"""
import os
import pty
import sys
import time
import tty

seconds = float(sys.argv[1]) if len(sys.argv) > 1 else 20.0
master, slave = pty.openpty()
tty.setraw(slave)
print(os.ttyname(slave), flush=True)
noise = os.urandom(1 << 20)
os.set_blocking(master, False)
sent = 0
start = time.monotonic()
while time.monotonic() - start < seconds:
    try:
        sent += os.write(master, noise)
    except BlockingIOError:
        time.sleep(0.0001)
    # Whatever the tool writes is read and dropped, so its writes never block.
    try:
        while os.read(master, 65536):
            pass
    except (BlockingIOError, OSError):
        pass
elapsed = time.monotonic() - start
print(f"flooded {sent / elapsed / 1e6:.1f} MB/s for {elapsed:.0f} s", file=sys.stderr, flush=True)
