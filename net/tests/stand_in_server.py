#!/usr/bin/env python3
"""A stand-in for the design web service, on 127.0.0.1 only, for the tests.

    stand_in_server.py --port-file FILE --log-dir DIR [--max-requests N] [--max-seconds S]

Listens on a free port and writes its number to FILE. Every request is kept in DIR as
request-<n>.txt: its request line, headers, a blank line and its body, as received.

The service path /zorv/services/server.php answers the XML-RPC calls: download.getContainers
with three structs (parent ids 2, 2 and 5), download.getItem with a 50 x 20 PNG picture.
Other paths answer as they say:
    /status/<code>     that status, with a small HTML page
    /size/<n>          n bytes with their Content-Length
    /lie/<n>           a Content-Length of n, then 100 bytes, and the connection closed
    /nolength/<n>      n bytes without a Content-Length (the connection closed after them)
    /reply             the body of the last /control/reply request, as text/xml
    /control/mode?m=M  the service path's answers from now on: normal, 404, slow (its
                       reply in pieces of 500 bytes, 300 ms apart), or garbage (the item is
                       bytes that are no picture)
    /control/reply     keeps the body for /reply
    /control/quit      ends the server
The server ends by itself after N requests (default 1000) or S seconds (default 600).
"""
import argparse
import http.server
import os
import random
import re
import socketserver
import struct
import sys
import threading
import time
import zlib

SERVICE = '/zorv/services/server.php'


def png(width, height, rgb):
    """A picture of the colour with a fine grain, so that it is some kilobytes long."""
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)
    grain = random.Random(7)
    rows = b''.join(b'\x00' + bytes(min(255, c + grain.randrange(24)) for _ in range(width) for c in rgb)
                    for _ in range(height))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))


def member(name, value):
    return '<member><name>%s</name><value><string>%s</string></value></member>' % (name, value)


def containers():
    structs = ''.join('<value><struct>%s%s%s</struct></value>' % (member('id', i), member('name', n), member('parentid', p))
                      for i, n, p in (('11', 'Birthday cakes', '2'), ('12', 'Wedding cakes', '2'),
                                      ('13', 'Hidden folder', '5')))
    return ('<?xml version="1.0"?>\r\n<methodResponse><params><param><value><array><data>%s'
            '</data></array></value></param></params></methodResponse>\r\n' % structs).encode()


ITEM = png(50, 20, (200, 30, 40))


class State:
    lock = threading.Lock()
    count = 0
    mode = 'normal'
    reply = b''
    log_dir = '.'
    max_requests = 1000


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.0'

    def log_message(self, fmt, *args):
        pass

    def keep(self, body):
        with State.lock:
            State.count += 1
            n = State.count
        head = ''.join('%s: %s\r\n' % (k, v) for k, v in self.headers.items())
        text = (self.requestline + '\r\n' + head + '\r\n').encode('latin-1') + body
        path = os.path.join(State.log_dir, 'request-%d.txt' % n)
        with open(path + '.part', 'wb') as f:
            f.write(text)
        os.replace(path + '.part', path)
        return n

    def send(self, status, body, kind='text/xml', length=None):
        self.send_response(status)
        self.send_header('Content-Type', kind)
        self.send_header('Content-Length', str(len(body) if length is None else length))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        self.do_POST()

    def do_POST(self):
        length = int(self.headers.get('Content-Length') or 0)
        body = self.rfile.read(min(length, 1 << 20)) if length > 0 else b''
        n = self.keep(body)
        if n > State.max_requests:
            self.send(503, b'too many requests')
            threading.Thread(target=self.server.shutdown, daemon=True).start()
            return
        path = self.path
        m = re.fullmatch(r'/control/mode\?m=(\w+)', path)
        if m:
            State.mode = m.group(1)
            return self.send(200, b'ok', 'text/plain')
        if path == '/control/reply':
            State.reply = body
            return self.send(200, b'ok', 'text/plain')
        if path == '/control/quit':
            self.send(200, b'bye', 'text/plain')
            threading.Thread(target=self.server.shutdown, daemon=True).start()
            return
        if path == '/reply':
            return self.send(200, State.reply)
        m = re.fullmatch(r'/status/(\d+)', path)
        if m:
            return self.send(int(m.group(1)), b'<html><body>Not here</body></html>', 'text/html')
        m = re.fullmatch(r'/size/(\d+)', path)
        if m:
            return self.send(200, bytes(i % 251 for i in range(int(m.group(1)))), 'application/octet-stream')
        m = re.fullmatch(r'/lie/(\d+)', path)
        if m:
            self.send(200, b'x' * 100, 'application/octet-stream', length=int(m.group(1)))
            self.close_connection = True
            return
        m = re.fullmatch(r'/nolength/(\d+)', path)
        if m:
            self.send_response(200)
            self.send_header('Content-Type', 'application/octet-stream')
            self.end_headers()
            left = int(m.group(1))
            block = b'y' * 65536
            while left > 0:
                self.wfile.write(block[:min(left, len(block))])
                left -= min(left, len(block))
            self.close_connection = True
            return
        if path != SERVICE or State.mode == '404':
            return self.send(404, b'<html><body>Not found</body></html>', 'text/html')
        if b'download.getContainers' in body:
            reply, kind = containers(), 'text/xml'
        elif b'download.getItem' in body and State.mode == 'garbage':
            reply, kind = b'this is no picture ' * 20, 'image/png'
        elif b'download.getItem' in body:
            reply, kind = ITEM, 'image/png'
        else:
            reply, kind = b'<?xml version="1.0"?><methodResponse><fault/></methodResponse>', 'text/xml'
        if State.mode != 'slow':
            return self.send(200, reply, kind)
        self.send_response(200)
        self.send_header('Content-Type', kind)
        self.send_header('Content-Length', str(len(reply)))
        self.end_headers()
        for i in range(0, len(reply), 500):
            self.wfile.write(reply[i:i + 500])
            self.wfile.flush()
            time.sleep(0.3)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True


def main():
    p = argparse.ArgumentParser()
    p.add_argument('--port-file', required=True)
    p.add_argument('--log-dir', required=True)
    p.add_argument('--max-requests', type=int, default=1000)
    p.add_argument('--max-seconds', type=float, default=600)
    a = p.parse_args()
    State.log_dir = a.log_dir
    State.max_requests = a.max_requests
    os.makedirs(a.log_dir, exist_ok=True)
    server = Server(('127.0.0.1', 0), Handler)
    with open(a.port_file + '.part', 'w') as f:
        f.write('%d\n' % server.server_address[1])
    os.replace(a.port_file + '.part', a.port_file)
    # The test program's output is not the server's: a caller waiting for its end of file
    # (the test command) must not wait for the server too.
    null = os.open(os.devnull, os.O_RDWR)
    for fd in (0, 1, 2):
        os.dup2(null, fd)
    timer = threading.Timer(a.max_seconds, server.shutdown)
    timer.daemon = True
    timer.start()
    server.serve_forever()
    timer.cancel()


if __name__ == '__main__':
    sys.exit(main())
