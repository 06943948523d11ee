#!/usr/bin/env python3
"""Serves the browser edition to the tablets of a class from the teacher's computer.

    lan.py --site DIR [--port N] [--address A]... [--service BIN --state DIR]
    lan.py --site DIR --local [--port N] [--service BIN --state DIR]

serves DIR on every network of this computer, prints the addresses a tablet opens (each of
them, or only the given ones) and draws a QR code of the first in the terminal; with --local,
only to this computer, at localhost (`./web.sh serve`). The files are sent as the school's
server sends them: those named after their content (zifferix.3f9a1c2e.wasm) to be kept for
good, since a new build names its own anew, and the rest (the page, the worker, the manifest)
with Cache-Control: no-cache, revalidated at every visit.

With --service, the class service (zifferix-klassen) serves the site and the classes' results
in one process, with its state in the --state folder, and the code drawn is the one of the
teacher's page (lehrer.html), where a class is opened; without it, Python's own server serves
the site alone.
"""

import argparse
import functools
import http.server
import ipaddress
import re
import shutil
import signal
import subprocess
import sys
import threading

import qrcode


def addresses():
    """This computer's IPv4 addresses that another device on its network can reach."""
    found = subprocess.run(["hostname", "--all-ip-addresses"], capture_output=True, text=True).stdout.split()
    usable = []
    for text in found:
        try:
            address = ipaddress.ip_address(text)
        except ValueError:
            continue
        if address.version == 4 and not (address.is_loopback or address.is_link_local):
            usable.append(text)
    return usable


def terminal_code(text):
    """The QR code of text, in half blocks: two rows of modules to a line of the terminal."""
    code = qrcode.QRCode(error_correction=qrcode.constants.ERROR_CORRECT_M, border=4)
    code.add_data(text)
    code.make(fit=True)
    rows = code.get_matrix()
    if len(rows) % 2:
        rows.append([False] * len(rows[0]))
    # Light modules are drawn, dark ones left blank, on a dark background.
    blocks = {(False, False): "█", (False, True): "▀", (True, False): "▄", (True, True): " "}
    return "\n".join("".join(blocks[top, bottom] for top, bottom in zip(upper, lower))
                     for upper, lower in zip(rows[0::2], rows[1::2]))


# A name with its content's digest, as tools/site.py writes it.
KEPT_FOR_GOOD = re.compile(r"\.[0-9a-f]{8}\.[a-z0-9]+$")


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".woff2": "font/woff2",
                      ".webmanifest": "application/manifest+json", ".js": "text/javascript"}

    def end_headers(self):
        path = self.path.split("?", 1)[0]
        forever = KEPT_FOR_GOOD.search(path)
        self.send_header("Cache-Control", "public, max-age=31536000, immutable" if forever else "no-cache")
        super().end_headers()

    def log_message(self, format, *args):
        pass  # a lesson's worth of requests is no news


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--site", required=True)
    parser.add_argument("--port", type=int, default=8080)
    parser.add_argument("--address", action="append", help="announce this address (again for more)")
    parser.add_argument("--local", action="store_true", help="serve to this computer only, at localhost")
    parser.add_argument("--service", help="the class service to serve the site and the classes with")
    parser.add_argument("--state", help="the class service's state folder")
    args = parser.parse_args()

    bind = "127.0.0.1" if args.local else "0.0.0.0"
    if args.service:
        service, port = start_service(args.service, args.site, bind, args.port, args.state)
        wait = functools.partial(wait_for, service)
    else:
        server = http.server.ThreadingHTTPServer(("" if bind == "0.0.0.0" else bind, args.port),
                                                 functools.partial(Handler, directory=args.site))
        port = server.server_address[1]
        wait = functools.partial(serve, server)
    if args.local:
        print(f"Serving it at http://localhost:{port}/ (Ctrl+C stops)", flush=True)
        if args.service:
            print(f"Klassen öffnen: http://localhost:{port}/lehrer.html", flush=True)
        wait()
        return
    announced = args.address or addresses()
    if not announced:
        sys.exit("lan.py: this computer has no network address that a tablet could reach")
    urls = [f"http://{address}:{port}/" for address in announced]
    print("Zifferix für die Klasse, auf jedem Tablet im selben Netz:")
    for url in urls:
        print(f"    {url}")
    teacher = f"{urls[0]}lehrer.html"
    if args.service:
        print(f"Eine Klasse öffnen und ihre Tafel sehen, auf der Seite für Lehrerinnen und Lehrer: {teacher}")
    code = terminal_code(teacher if args.service else urls[0])
    if sys.stdout.isatty():  # light on dark whatever the terminal's colours, as a code needs
        code = "\n".join(f"\033[97;40m{line}\033[0m" for line in code.splitlines())
    print(code)
    print(f"Links und QR-Codes für jedes Spiel zum Ausdrucken: {urls[0]}links.html")
    if args.service:
        print("Ohne HTTPS kann jeder im selben Netz mitlesen, was die Tablets senden, auch den Link der Tafel:")
        print("im Netz der Schule nur für den Unterricht, nicht im offenen WLAN.")
    print("Ohne HTTPS spielt die Seite nur mit Netz und lässt sich nicht installieren (Strg+C beendet).",
          flush=True)
    wait()


def serve(server):
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


# What the service prints once it takes requests.
LISTENING = re.compile(r"listening on http://[^/]*:(\d+)/")


def start_service(binary, site, host, port, state):
    """Starts the class service on the site; its port, once it listens."""
    if not shutil.which(binary):
        sys.exit(f"lan.py: the class service {binary} is not there")
    command = [binary, f"--site={site}", f"--listen={host}:{port}"] + ([f"--state={state}"] if state else [])
    service = subprocess.Popen(command, stdout=subprocess.PIPE, text=True)
    for line in service.stdout:
        found = LISTENING.search(line)
        if found:
            # The rest of what it prints goes on to the terminal, so that the pipe never fills.
            threading.Thread(target=shutil.copyfileobj, args=(service.stdout, sys.stdout), daemon=True).start()
            return service, int(found.group(1))
    sys.exit(f"lan.py: the class service ended before it listened ({service.wait()})")


def wait_for(service):
    try:
        sys.exit(service.wait())
    except KeyboardInterrupt:
        service.send_signal(signal.SIGTERM)
        service.wait()


if __name__ == "__main__":
    main()
