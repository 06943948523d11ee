#!/usr/bin/env python3
"""Assembles the browser edition's static site from the built program and the page.

    site.py --program DIR --page DIR --assets DIR --out DIR
    site.py --stamp DIR

writes into OUT: index.html (the page, with the pictures the screens show as templates), the
page's style and script, the program (zifferix.js, zifferix.wasm), the icon at the sizes
browsers ask for and the web app manifest, the fonts as web fonts cut down to the characters a
German text needs, with their licences beside them, and last the service worker, stamped with
the build's version (a digest of every other file) and each file's digest. With --link-names,
also the teacher's page of links (links.html, see links.py), which the game does not link to.
--stamp stamps an existing site anew. Every URL in the site is relative, so any static server
can serve it, also from a subfolder.
"""

import argparse
import hashlib
import html
import json
import logging
import pathlib
import re
import shutil
import subprocess
import sys

import links

# The fonts the page ships, from Debian's packages, and where their licences are.
FONTS = {
    "LiberationSans-Regular": "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
    "LiberationSans-Bold": "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf",
    "ComicNeue-Regular": "/usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf",
    "ComicNeue-Bold": "/usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf",
}
LICENCES = {
    "LICENSE-LiberationSans.txt": "/usr/share/doc/fonts-liberation2/copyright",
    "LICENSE-ComicNeue.txt": "/usr/share/doc/fonts-comic-neue/copyright",
}
# Latin-1 and the punctuation of German texts: quotes, dashes, the ellipsis, the euro.
UNICODES = "U+0020-007E,U+00A0-00FF,U+2013-2014,U+2018-201E,U+2022,U+2026,U+20AC,U+2212"

PICTURES_MARK = "<!-- the pictures the screens show -->"

# The icon as browsers and home screens ask for it: (file, size, background). A maskable icon
# and Apple's fill their square, so they get the start screen's colour behind the tile.
ICONS = [
    ("icon-192.png", 192, None),
    ("icon-512.png", 512, None),
    ("icon-maskable-512.png", 512, "#008080"),
    ("apple-touch-icon.png", 180, "#008080"),
]


def template_of(name, text):
    """A picture as the page holds it: an inert template named after the picture's file."""
    if name.endswith(".svg"):
        text = re.sub(r"<\?xml[^>]*\?>", "", text)
        text = re.sub(r"<!--.*?-->", "", text, flags=re.S).strip()
    else:
        body = re.search(r"<body([^>]*)>(.*)</body>", text, flags=re.S)
        if not body:
            sys.exit(f"site.py: {name} has no body")
        style = re.search(r'style="([^"]*)"', body.group(1))
        attributes = f' style="{style.group(1)}"' if style else ""
        text = f"<div{attributes}>{body.group(2).strip()}</div>"
    return f'<template id="asset:{html.escape(name)}">{text}</template>'


def pictures(assets):
    """Every picture a screen shows: the welcome text, the instructions and the drawings."""
    files = sorted(assets.glob("*.html")) + sorted(assets.glob("instructions/*.html"))
    files += [f for f in sorted(assets.glob("*.svg")) if f.name != "zifferix.svg"]
    return [template_of(f.relative_to(assets).as_posix(), f.read_text("utf-8")) for f in files]


def up_to_date(target, *sources):
    return target.exists() and all(target.stat().st_mtime >= s.stat().st_mtime for s in sources)


def fonts(out):
    from fontTools import subset

    logging.getLogger("fontTools.subset").setLevel(logging.ERROR)  # tables it only drops

    folder = out / "fonts"
    folder.mkdir(exist_ok=True)
    for name, source in FONTS.items():
        target = folder / f"{name}.woff2"
        if up_to_date(target, pathlib.Path(source)):
            continue
        options = subset.Options()
        options.flavor = "woff2"
        options.layout_features = ["kern", "liga"]
        options.name_IDs = ["*"]  # the names and the licence travel with the font
        font = subset.load_font(source, options)
        subsetter = subset.Subsetter(options)
        subsetter.populate(unicodes=subset.parse_unicodes(UNICODES))
        subsetter.subset(font)
        subset.save_font(font, str(target), options)
    for name, source in LICENCES.items():
        shutil.copyfile(source, folder / name)


def icons(svg, out):
    folder = out / "icons"
    folder.mkdir(exist_ok=True)
    for name, size, background in ICONS:
        target = folder / name
        if up_to_date(target, svg):
            continue
        command = ["rsvg-convert", "--width", str(size), "--height", str(size), "--output", str(target)]
        if background:
            command += ["--background-color", background]
        subprocess.run(command + [str(svg)], check=True)


def stamp(out, worker):
    """Writes the service worker with the build's version and every file's digest."""
    digests = {}
    for file in sorted(f for f in out.rglob("*") if f.is_file() and f.name != "sw.js"):
        digests[file.relative_to(out).as_posix()] = hashlib.sha256(file.read_bytes()).hexdigest()
    version = hashlib.sha256(json.dumps(digests, sort_keys=True).encode()).hexdigest()[:16]
    text = worker.replace("@VERSION@", version).replace("@FILES@", json.dumps(digests, indent=1))
    (out / "sw.js").write_text(text, "utf-8")
    return version


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", type=pathlib.Path)
    parser.add_argument("--page", type=pathlib.Path)
    parser.add_argument("--assets", type=pathlib.Path)
    parser.add_argument("--out", type=pathlib.Path)
    parser.add_argument("--stamp", type=pathlib.Path, help="stamp an existing site anew")
    parser.add_argument("--link-names", type=pathlib.Path, help="the program that prints the links' names")
    args = parser.parse_args()
    if args.stamp:
        worker = (pathlib.Path(__file__).parent.parent / "shell/web/page/sw.js").read_text("utf-8")
        print(stamp(args.stamp, worker))
        return
    if not (args.program and args.page and args.assets and args.out):
        parser.error("--program, --page, --assets and --out are needed to build a site")

    out = args.out
    out.mkdir(parents=True, exist_ok=True)
    page = (args.page / "index.html").read_text("utf-8")
    if PICTURES_MARK not in page:
        sys.exit("site.py: the page has no place for the pictures")
    page = page.replace(PICTURES_MARK, "\n".join(pictures(args.assets)))
    (out / "index.html").write_text(page, "utf-8")
    for name in ("zifferix.css", "manifest.webmanifest", "barrierefreiheit.html"):
        shutil.copyfile(args.page / name, out / name)
    shutil.copyfile(args.program / "zifferix.wasm", out / "zifferix.wasm")
    # One script, loaded as soon as it comes: the program's, and the page's start after it.
    script = (args.program / "zifferix.js").read_text("utf-8") + "\n" + (args.page / "boot.js").read_text("utf-8")
    (out / "zifferix.js").write_text(script, "utf-8")
    (out / "boot.js").unlink(missing_ok=True)
    shutil.copyfile(args.assets / "zifferix.svg", out / "zifferix.svg")
    icons(args.assets / "zifferix.svg", out)
    fonts(out)
    if args.link_names:
        links.write(out, args.link_names)
    stamp(out, (args.page / "sw.js").read_text("utf-8"))


if __name__ == "__main__":
    main()
